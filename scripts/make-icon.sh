#!/usr/bin/env bash
# Draws the program's icon (res/app.ico) with ImageMagick: a blue tile with a serif
# "Aa", the glyph sample every font viewer shows. Run by hand when the icon changes.
set -euo pipefail
cd "$(dirname "$0")/../res"
tmp=$(mktemp -d)
for s in 16 32 48; do
    r=$((s / 6)); p=$((s * 11 / 20))
    convert -size ${s}x${s} xc:none -fill '#1f4e8c' -draw "roundrectangle 0,0,$((s - 1)),$((s - 1)),$r,$r" \
        -fill white -font DejaVu-Serif-Bold -pointsize $p -gravity center -annotate +0+0 'Aa' \
        "$tmp/icon$s.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" app.ico
rm -rf "$tmp"
