#!/bin/bash
# Every text of Morvane's sources has a finished translation in each
# catalogue: lupdate brings a copy of each catalogue up to date with the
# sources, and a text it had to add, or one left unfinished, fails the check.
# The English catalogue holds the plural texts only.
# Usage: complete.sh <lupdate> <source dir> <catalogue>...
set -u
lupdate=$1 src=$2
shift 2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
for ts; do
    copy=$tmp/${ts##*/}
    cp "$ts" "$copy"
    options=(-no-obsolete -locations none)
    [[ $ts == *_en.ts ]] && options+=(-pluralonly)
    (cd "$src" && "$lupdate" "${options[@]}" app controls editor schedule settings actions resources/*.ui -ts "$copy") \
        >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
    if grep -B4 'type="unfinished"' "$copy"; then
        echo "FAIL: ${ts##*/} has no translation for the texts above"
        failures=1
    fi
done
exit $failures
