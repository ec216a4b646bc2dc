#!/usr/bin/env bash
# Renders the PNG sizes of the program icons from their SVG drawings into packaging/icons/.
# The PNGs are committed, so a build needs no SVG renderer; run this after changing a drawing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" librsvg2-bin
for program in gridwise datumer; do
    for size in 16 24 32 48 64 128 256; do
        rsvg-convert -w "$size" -h "$size" "$root/packaging/icons/$program.svg" \
            -o "$root/packaging/icons/$program-$size.png"
    done
done
