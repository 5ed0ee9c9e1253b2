#!/usr/bin/env bash
# Makes the maker's picture of the About box, app/pictures/wabrix-macher.jpg: a puzzle that Wabrix
# itself generates and draws, with the solution shown, cut to 306 x 322 pixels, its white paper tinted
# warm, saved as a progressive JPEG. Needs a built wabrix-cli (build/) and ImageMagick.
#
#   scripts/make-about-picture.sh [BUILD_DIRECTORY]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CLI=${1:-$ROOT/build}/cli/wabrix-cli
OUT=$ROOT/app/pictures/wabrix-macher.jpg
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

"$CLI" generate "$ROOT/examples/woerter-20.txt" --seed 7 --runs 200 -o "$WORK/raetsel.wbx"
"$CLI" render "$WORK/raetsel.wbx" -o "$WORK/raetsel.png" --dpi 44 --solution
# The top-left corner of the puzzle with its title; white becomes the colour of old paper.
convert "$WORK/raetsel.png" -crop 306x322+14+14 +repage \
    -fill 'rgb(252,236,212)' -opaque white \
    -interlace Plane -quality 90 -sampling-factor 1x1 "$OUT"
identify -format '%f: %wx%h %[interlace] %[colorspace]\n' "$OUT"
