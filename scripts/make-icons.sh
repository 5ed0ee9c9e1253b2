#!/usr/bin/env bash
# Draws the program icon (a tiny arrow-word grid) and the button pictures with ImageMagick.
# The PNGs are committed; run this only to change them.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ICONS="$ROOT/packaging/icons"
PICTURES="$ROOT/app/pictures"
FONT=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
mkdir -p "$ICONS" "$PICTURES"

# The grid on a 240 x 240 canvas: 3 x 3 cells of 72 pixels from (12, 12). Clue cells are black with
# a white arrow leading into their answer; one letter cell carries a solved letter.
grid_drawing() {
    cat <<'MVG'
fill white stroke '#303030' stroke-width 6
rectangle 12,12 228,228
stroke '#303030' stroke-width 4
line 84,12 84,228
line 156,12 156,228
line 12,84 228,84
line 12,156 228,156
fill black stroke black
rectangle 12,12 84,84
rectangle 84,156 156,228
fill '#ffd84a' stroke '#303030' stroke-width 4
rectangle 156,12 228,84
fill black stroke none
polygon 86,34 86,62 106,48
polygon 34,86 62,86 48,106
fill white stroke none
polygon 100,178 100,206 120,192
MVG
}

draw_grid() {
    local size=$1 target=$2
    convert -size 240x240 xc:none -draw "$(grid_drawing)" -filter Lanczos -resize "${size}x${size}" \
        -strip "$target"
}

for size in 16 24 32 48 64 128 256; do
    draw_grid "$size" "$ICONS/wabrix-$size.png"
done

# "Erzeuge Rätsel": the grid with a green arrow, 18 x 18.
convert -size 240x240 xc:none -draw "$(grid_drawing)" \
    -fill '#1e9e3a' -stroke white -strokewidth 10 -draw "polygon 110,120 110,230 235,175" \
    -filter Lanczos -resize 18x18 -strip "$PICTURES/erzeuge.png"

# Font buttons, 16 x 16: a letter A; for the title font the A stands under a heading bar.
convert -size 160x160 xc:none -font "$FONT" -pointsize 170 -fill '#1f3f8f' -gravity center \
    -annotate +0+10 'A' -filter Lanczos -resize 16x16 -strip "$PICTURES/schriftart.png"
convert -size 160x160 xc:none -fill '#c02020' -draw "rectangle 10,6 150,34" \
    -font "$FONT" -pointsize 140 -fill '#1f3f8f' -gravity center -annotate +0+24 'A' \
    -filter Lanczos -resize 16x16 -strip "$PICTURES/schriftart-ueberschrift.png"
