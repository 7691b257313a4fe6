#!/bin/sh
# Renders the PNG sizes of Morvane's icons from their SVGs. The PNGs are committed,
# so building needs no SVG renderer; run this again after changing an SVG.
# Needs rsvg-convert (Debian: librsvg2-bin).
set -eu
cd "$(dirname "$0")"
id=io.github.morvane.Morvane
for size in 16 22 24 32 48 64 128 256 512; do
    mkdir -p "${size}x${size}"
    rsvg-convert -w "$size" -h "$size" "$id.svg" -o "${size}x${size}/$id.png"
done
# The tray's icon while a task runs: only the sizes panels use.
for size in 16 22 24 32 48 64; do
    rsvg-convert -w "$size" -h "$size" "$id-running.svg" -o "${size}x${size}/$id-running.png"
done
