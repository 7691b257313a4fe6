#!/bin/sh
# Renders the PNG sizes of Morvane's icon from the SVG. The PNGs are committed,
# so building needs no SVG renderer; run this again after changing the SVG.
# Needs rsvg-convert (Debian: librsvg2-bin).
set -eu
cd "$(dirname "$0")"
id=io.github.morvane.Morvane
for size in 16 22 24 32 48 64 128 256 512; do
    mkdir -p "${size}x${size}"
    rsvg-convert -w "$size" -h "$size" "$id.svg" -o "${size}x${size}/$id.png"
done
