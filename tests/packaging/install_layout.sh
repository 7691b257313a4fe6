#!/bin/bash
# Installs a built tree into a temporary prefix and checks what a desktop and
# a software centre look for there: the program, its desktop entry, its icon
# in every size, its AppStream metadata and its help book, each accepted by
# the validators Debian's tools use.
# Usage: install_layout.sh <build dir> <app id> <version> <source dir>
set -uo pipefail
build=$1 id=$2 version=$3 src=$4

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log"; rm -f "$prefix.log"
    echo "FAIL: cmake --install"; exit 1
fi
rm -f "$prefix.log"

desktop=share/applications/$id.desktop
metainfo=share/metainfo/$id.metainfo.xml
for f in bin/morvane "$desktop" "$metainfo" share/icons/hicolor/scalable/apps/$id.svg \
         share/morvane/MacHelp.help/index.html share/doc/morvane/copyright share/man/man1/morvane.1.gz; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/morvane" ] || fail "bin/morvane is not executable"

# A PNG in the NxN folder that is not NxN makes desktops scale it twice.
for size in 16 22 24 32 48 64 128 256 512; do
    png=share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -f "$prefix/$png" ]; then
        fail "$png is not installed"
    elif ! file -b "$prefix/$png" | grep -q "PNG image data, $size x $size,"; then
        fail "$png is $(file -b "$prefix/$png")"
    fi
done

# Only the program and its data: no static libraries, headers or test files.
while IFS= read -r f; do
    case $f in
        bin/morvane|share/applications/*|share/metainfo/*|share/icons/hicolor/*) ;;
        share/morvane/*|share/doc/morvane/copyright|share/man/man1/morvane.1.gz) ;;
        *) fail "unexpected file installed: $f" ;;
    esac
done < <(cd "$prefix" && find . -type f -printf '%P\n')

# The help book opens at the anchor "acess" of its front page.
grep -Eq "(id|name)=\"acess\"" "$prefix/share/morvane/MacHelp.help/index.html" \
    || fail "the help book's front page has no anchor acess"

# desktop-file-validate prints hints (such as two main categories) that are
# advice; errors and warnings fail it.
if ! out=$(desktop-file-validate "$prefix/$desktop" 2>&1) || grep -Eq ': (error|warning):' <<<"$out"; then
    echo "$out"; fail "desktop-file-validate rejects $desktop"
fi
key() { sed -n "s/^$1=//p" "$prefix/$desktop"; }
[ "$(key Exec)" = morvane ] || fail "Exec is '$(key Exec)', not the installed morvane"
[ "$(key Icon)" = "$id" ] || fail "Icon is '$(key Icon)', not $id"

if ! out=$(appstreamcli validate --no-net "$prefix/$metainfo" 2>&1); then
    echo "$out"; fail "appstreamcli rejects $metainfo"
fi
# The metainfo must name the installed desktop entry and this release.
grep -q "<id>$id</id>" "$prefix/$metainfo" || fail "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/$metainfo" \
    || fail "metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$prefix/$metainfo" \
    || fail "metainfo has no release $version"

# Its screenshot is the one the README shows, committed under docs/.
shot=$(sed -n 's|.*<image[^>]*>https://github.com/morvane/morvane/raw/main/\([^<]*\)</image>.*|\1|p' "$prefix/$metainfo")
if [ -z "$shot" ]; then
    fail "metainfo has no screenshot in the repository"
elif [ ! -f "$src/$shot" ]; then
    fail "metainfo screenshot $shot is not in the repository"
else
    dims=$(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)".*|\1 x \2|p' "$prefix/$metainfo")
    file -b "$src/$shot" | grep -q "PNG image data, $dims," \
        || fail "metainfo says the screenshot is '$dims', the file is $(file -b "$src/$shot")"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "installed layout, desktop entry and AppStream metadata are valid"
