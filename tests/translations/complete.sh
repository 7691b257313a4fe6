#!/bin/bash
# Every text of Morvane's sources has a finished translation in each
# catalogue: lupdate brings a copy of each catalogue up to date with the
# sources, and a text it had to add, or one left unfinished, fails the check.
# The English catalogue holds the plural texts only.
# Usage: complete.sh <lupdate> <list of the sources, one a line> <catalogue>...
lupdate=$1 sources=$2 tmp=$(mktemp -d) failures=0
trap 'rm -rf "$tmp"' EXIT
for ts in "${@:3}"; do
    copy=$tmp/${ts##*/} && cp "$ts" "$copy"
    [[ $ts == *_en.ts ]] && plural=-pluralonly || plural=
    "$lupdate" $plural -no-obsolete -locations none "@$sources" -ts "$copy" >"$tmp/log" 2>&1 || { cat "$tmp/log"; exit 1; }
    grep -B4 'type="unfinished"' "$copy" && echo "FAIL: ${ts##*/} has no translation for the texts above" && failures=1
done
exit $failures
