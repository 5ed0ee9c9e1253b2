#!/usr/bin/env bash
# Draws the program icon (a tiny arrow-word grid) and the button pictures with ImageMagick.
# The PNGs are committed; run this only to change them. packaging/icons/wabrix.svg is the same drawing
# as grid_drawing, written by hand for the scalable icon: change both together.
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

for size in 32 48 64 128 256; do
    draw_grid "$size" "$ICONS/wabrix-$size.png"
done

# At 16 and 24 pixels the scaled grid would blur; the same picture is set pixel by pixel there, every
# line one pixel on a whole pixel. Rectangles are inclusive: "rectangle 0,0 4,4" covers 5 x 5 pixels.
# Arguments: size, the line positions, the black cells, the yellow inside, then the three arrows.
draw_pixels() {
    local size=$1 target=$2
    shift 2
    convert -size "${size}x${size}" xc:none +antialias -stroke none "$@" -depth 8 -strip "PNG32:$target"
}
LINE='#303030'
draw_pixels 16 "$ICONS/wabrix-16.png" \
    -fill white -draw "rectangle 0,0 15,15" -fill "$LINE" \
    -draw "rectangle 0,0 15,0" -draw "rectangle 0,5 15,5" -draw "rectangle 0,10 15,10" -draw "rectangle 0,15 15,15" \
    -draw "rectangle 0,0 0,15" -draw "rectangle 5,0 5,15" -draw "rectangle 10,0 10,15" -draw "rectangle 15,0 15,15" \
    -fill black -draw "rectangle 0,0 5,5" -draw "rectangle 5,10 10,15" -fill '#ffd84a' -draw "rectangle 11,1 14,4" \
    -fill black -draw "rectangle 6,1 6,4" -draw "rectangle 7,2 7,3" -draw "rectangle 1,6 4,6" -draw "rectangle 2,7 3,7" \
    -fill white -draw "rectangle 7,11 7,14" -draw "rectangle 8,12 8,13"
draw_pixels 24 "$ICONS/wabrix-24.png" \
    -fill white -draw "rectangle 1,1 22,22" -fill "$LINE" \
    -draw "rectangle 1,1 22,1" -draw "rectangle 1,8 22,8" -draw "rectangle 1,15 22,15" -draw "rectangle 1,22 22,22" \
    -draw "rectangle 1,1 1,22" -draw "rectangle 8,1 8,22" -draw "rectangle 15,1 15,22" -draw "rectangle 22,1 22,22" \
    -fill black -draw "rectangle 1,1 8,8" -draw "rectangle 8,15 15,22" -fill '#ffd84a' -draw "rectangle 16,2 21,7" \
    -fill black -draw "rectangle 9,3 9,6" -draw "rectangle 10,4 10,5" -draw "rectangle 3,9 6,9" -draw "rectangle 4,10 5,10" \
    -fill white -draw "rectangle 11,17 11,20" -draw "rectangle 12,18 12,19"

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
