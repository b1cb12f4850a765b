#!/usr/bin/env bash
# Draws the menu icons (hicolor theme, PNG) from the window's own 16x16 picture.
# Each size is the picture enlarged without smoothing, so its pixels stay sharp.
# Run after the picture changes and commit the results. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/.."
picture=src/ui/resources/chmbook.xpm
for size in 16 32 48 64 128; do
  mkdir -p "packaging/icons/${size}x${size}"
  convert "$picture" -filter point -resize "${size}x${size}" -strip \
    "PNG32:packaging/icons/${size}x${size}/chmbook.png"
done
