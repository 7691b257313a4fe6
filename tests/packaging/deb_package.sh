#!/bin/bash
# Builds the Debian package of a built tree into a temporary folder, lists its
# contents and dependencies, and checks that it carries everything Morvane
# needs where the binary will look for it.
# Usage: deb_package.sh <build dir> <app id> <version> <install prefix> <data dir>
set -uo pipefail
build=$1 id=$2 version=$3 prefix=$4 datadir=$5

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# cpack first brings the tree up to date (its preinstall step), which is quick
# once the tree is built, as it is when the tests run.
if ! cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    tail -n 30 "$out"/_CPack_Packages/*/DEB/*Output.log 2>/dev/null
    echo "FAIL: cpack"; exit 1
fi
arch=$(dpkg --print-architecture)
deb=$out/morvane_${version}_$arch.deb
if [ ! -f "$deb" ]; then
    ls "$out"; echo "FAIL: no $(basename "$deb")"; exit 1
fi

echo "== $(basename "$deb"): contents"
dpkg-deb -c "$deb" | tee "$out/contents"
echo "== control"
dpkg-deb -f "$deb" | tee "$out/control"

for f in "$prefix/bin/morvane" "$datadir/applications/$id.desktop" \
         "$datadir/icons/hicolor/scalable/apps/$id.svg" \
         "$datadir/icons/hicolor/48x48/apps/$id.png" \
         "$datadir/metainfo/$id.metainfo.xml" \
         "$datadir/morvane/MacHelp.help/index.html" "$datadir/doc/morvane/copyright"; do
    grep -q " \.$f\$" "$out/contents" || fail "$f is not in the package"
done

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = morvane ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
field Maintainer | grep -Eq '^[^<]+ <[^@ ]+@[^> ]+>$' || fail "Maintainer '$(field Maintainer)' has no address"
[ -n "$(field Homepage)" ] || fail "no Homepage"
# shlibdeps has to have seen the binary's libraries; the platform plugins are
# loaded at run time, so they are named by hand.
depends=$(field Depends)
for pkg in libqt6widgets6 libqt6gui6 libqt6core6 libsystemd0 libx11-6 libxext6 qt6-qpa-plugins; do
    grep -Eq "(^|, )$pkg( |,|$)" <<<"$depends" || fail "Depends lacks $pkg"
done

# The binary looks for its help book in the data folder it was built with;
# the package has to put the book exactly there.
# Qt keeps string literals as UTF-16, hence both encodings (strings comes with
# binutils, which dpkg-dev needs).
dpkg-deb -x "$deb" "$out/root"
binary=$out/root$prefix/bin/morvane
{ strings -a "$binary"; strings -a -el "$binary"; } | grep -qxF "$datadir/morvane" \
    || fail "the packaged binary does not look in $datadir/morvane"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "the package holds Morvane, its desktop files and help book, and its dependencies"
