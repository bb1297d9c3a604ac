#!/usr/bin/env bash
# Renders the programs' SVG icons to the PNG sizes of the hicolor theme.
# The PNGs are committed, so building needs no SVG renderer; run this after
# changing an icon (needs rsvg-convert from librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
for program in vervia telvora; do
  for size in 16 32 48 64 128 256; do
    mkdir -p "$program/desktop/icons/${size}"
    rsvg-convert -w "$size" -h "$size" "$program/desktop/$program.svg" \
      -o "$program/desktop/icons/${size}/$program.png"
  done
done
