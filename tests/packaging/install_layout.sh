#!/bin/bash
# Installs a built tree into a temporary prefix and checks what a desktop and
# a software centre look for there: the program, its desktop entry, its icon
# in every size, its AppStream metadata, help book, copyright, changelog and
# man page and nothing else, each accepted by the validators Debian's tools use.
# Given the install prefix and data folder, it checks the Debian package cpack
# builds instead: the same layout under the prefix, the package's fields and
# dependencies, that the binary looks for its data where the package puts
# it, and that lintian --pedantic finds no error or warning.
# Usage: install_layout.sh <build dir> <app id> <version> <source dir> [<install prefix> <data dir>]
set -uo pipefail
build=$1 id=$2 version=$3 src=$4 prefix=${5:-} datadir=${6:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# run NAME COMMAND...: stops the test, with the command's output, if it fails.
run() {
    "${@:2}" >"$tmp/$1.log" 2>&1 && return
    cat "$tmp/$1.log"; tail -n 30 "$tmp"/_CPack_Packages/*/DEB/*Output.log 2>/dev/null
    echo "FAIL: $1"; exit 1
}

if [ -z "$prefix" ]; then
    run install cmake --install "$build" --prefix "$tmp/root"
else
    # cpack first brings the tree up to date (its preinstall step), which is
    # quick once the tree is built, as it is when the tests run.
    run cpack cpack -G DEB -B "$tmp" --config "$build/CPackConfig.cmake"
    arch=$(dpkg --print-architecture)
    deb=$tmp/morvane_${version}_$arch.deb
    [ -f "$deb" ] || { ls "$tmp"; echo "FAIL: no ${deb##*/}"; exit 1; }
    dpkg-deb -c "$deb" && dpkg-deb -x "$deb" "$tmp/root"
    control=$(dpkg-deb -f "$deb") && echo "$control"
    # shlibdeps has to have seen the binary's libraries; the platform plugins
    # are loaded at run time, so they are named by hand.
    for field in "Package: morvane" "Version: ${version//./\\.}" "Architecture: $arch" "Section: utils" \
        "Maintainer: [^<]+ <[^@ ]+@[^> ]+>" "Homepage: .+" libqt6widgets6 libqt6gui6 libqt6core6 libsystemd0 \
        libx11-6 libxext6 qt6-qpa-plugins; do
        # A bare name is a package Depends must name.
        [[ $field == *:* ]] || field="Depends: (.*, )?$field([ ,].*)?"
        grep -Eqx "$field" <<<"$control" || fail "the control fields do not match $field"
    done
    # The binary looks for its help book in the data folder it was built
    # with. Qt keeps string literals as UTF-16, hence both encodings (strings
    # comes with binutils, which dpkg-dev needs).
    binary=$tmp/root$prefix/bin/morvane
    { strings -a "$binary"; strings -a -el "$binary"; } | grep -qxF "$datadir/morvane" \
        || fail "the packaged binary does not look in $datadir/morvane"
    [ -f "$tmp/root$datadir/morvane/MacHelp.help/index.html" ] || fail "the package has no help book in $datadir/morvane"
    # lintian judges the package as make package lays it out, under /usr; a
    # tree built for another prefix (/usr/local) is packed under /usr for it.
    lint=$deb
    [ "$prefix" = /usr ] || { run cpack-usr cpack -G DEB -B "$tmp/usr" --config "$build/CPackConfig.cmake" \
        -D CPACK_PACKAGING_INSTALL_PREFIX=/usr && lint=$tmp/usr/${deb##*/}; }
    lintian --pedantic --fail-on error,warning "$lint" || fail "lintian reports errors or warnings"
fi

# Only the program and its data under the prefix: no static libraries,
# headers or test files.
allowed='bin/morvane|share/(applications|metainfo|icons/hicolor|morvane)/.*'
allowed+='|share/doc/morvane/(copyright|changelog\.gz)|share/man/man1/morvane\.1\.gz'
unexpected=$(cd "$tmp/root" && find . -type f -printf '/%P\n' | grep -Evx "$prefix/($allowed)")
[ -z "$unexpected" ] || fail "unexpected files installed: $unexpected"
cd "$tmp/root$prefix" || { echo "FAIL: nothing is installed in $prefix"; exit 1; }
desktop=share/applications/$id.desktop metainfo=share/metainfo/$id.metainfo.xml
help=share/morvane/MacHelp.help/index.html
for f in bin/morvane "$desktop" "$metainfo" "share/icons/hicolor/scalable/apps/$id.svg" "$help" \
    share/doc/morvane/copyright share/doc/morvane/changelog.gz share/man/man1/morvane.1.gz; do
    [ -f "$f" ] || fail "$f is not installed"
done
[[ $(zcat share/doc/morvane/changelog.gz) == "morvane ($version) "* ]] || fail "the changelog's last entry is not $version"
[ -x bin/morvane ] || fail "bin/morvane is not executable"
# A PNG in the NxN folder that is not NxN makes desktops scale it twice.
for size in 16 22 24 32 48 64 128 256 512; do
    png=share/icons/hicolor/${size}x$size/apps/$id.png
    file -b "$png" | grep -q "PNG image data, $size x $size," || fail "$png is $(file -b "$png")"
done
# The help book opens at the anchor "acess" of its front page.
grep -Eq '(id|name)="acess"' "$help" || fail "the help book's front page has no anchor acess"

# desktop-file-validate's errors, warnings and hints (such as two main
# categories, which show the entry twice in menus) all fail it.
if ! out=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$out" ]; then
    echo "$out"; fail "desktop-file-validate rejects $desktop"
fi
keys=$(grep -E '^(Exec|Icon)=' "$desktop" | sort)
[ "$keys" = "Exec=morvane"$'\n'"Icon=$id" ] || fail "the desktop entry has ${keys//$'\n'/ }, not Exec=morvane Icon=$id"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || { echo "$out"; fail "appstreamcli rejects $metainfo"; }
# The metainfo must name the installed desktop entry and this release.
for line in "<id>$id</id>" "<launchable type=\"desktop-id\">$id.desktop</launchable>" "<release version=\"$version\""; do
    grep -qF "$line" "$metainfo" || fail "the metainfo has no $line"
done
# Its screenshot is the one the README shows, committed under docs/, and as
# large as it says.
shot=$src/$(sed -n 's|.*<image[^>]*>https://github.com/morvane/morvane/raw/main/\([^<]*\)</image>.*|\1|p' "$metainfo")
dims=$(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)".*|\1 x \2|p' "$metainfo")
file -b "$shot" | grep -q "PNG image data, $dims," || fail "the metainfo's screenshot $shot, '$dims', is $(file -b "$shot")"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "the ${prefix:+packaged }layout, desktop entry and AppStream metadata are valid"
