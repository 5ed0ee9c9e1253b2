#!/usr/bin/env bash
# Runs the real program on a virtual display and drives it as a user would: pastes the sample word list
# into the word table through the clipboard, presses "Erzeuge Rätsel", drags the puzzle, shows the
# solution, zooms to 50 %, opens the settings page and the font window. Saves a screenshot after each
# step.
#
#   scripts/screenshots.sh [OUTPUT_DIRECTORY]     (default: out/screenshots)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/setup.sh"

if [ -z "${WABRIX_ON_VIRTUAL_DISPLAY:-}" ]; then
    ensure_packages "${BUILD_PACKAGES[@]}" "${SCREENSHOT_PACKAGES[@]}"
    build_tree "$ROOT/build"
    export WABRIX_ON_VIRTUAL_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
fi

OUT=$(mkdir -p "${1:-$ROOT/out/screenshots}" && cd "${1:-$ROOT/out/screenshots}" && pwd)
WORDS="$ROOT/examples/woerter.txt"
private_runtime_dir

# German number format in the numeric fields (Qt reads the locale from the environment).
LANG=de_DE.UTF-8 "$ROOT/build/app/wabrix" &
PROGRAM=$!
trap 'kill "$PROGRAM" 2>/dev/null || true' EXIT

WINDOW=$(xdotool search --sync --onlyvisible --name "^ORBELIK ")
sleep 1
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true

# Clicks at a point given relative to the window's top-left corner.
click() {
    xdotool mousemove --window "$WINDOW" "$1" "$2" click 1
    sleep 0.3
}

shot() {
    import -window root "$OUT/$1.png"
    echo "$OUT/$1.png"
}

# Window-relative positions at 96 dots per inch: the menu bar is followed by the toolbar (41 pixels),
# the tab bar and the table's header row.
MENU=20
FIRST_CELL_Y=$((MENU + 41 + 24 + 24 + 12))

shot 1-start

xclip -selection clipboard -i "$WORDS"
click 75 "$FIRST_CELL_Y"
xdotool key --clearmodifiers ctrl+v
sleep 0.5
shot 2-pasted

click 70 $((MENU + 22))        # Erzeuge Rätsel
sleep 8                        # 1001 layouts
shot 3-generated

# Drag the picture up and to the left: the view scrolls right and down.
xdotool mousemove --window "$WINDOW" 600 400 mousedown 1
for step in 1 2 3 4 5; do
    xdotool mousemove --window "$WINDOW" $((600 - step * 40)) $((400 - step * 30))
    sleep 0.1
done
xdotool mouseup 1
sleep 0.3
shot 4-dragged

click 295 $((MENU + 8))        # Lösung einblenden
shot 5-solution

# The whole puzzle at half size.
click 250 $((MENU + 24))       # the zoom field
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 100 "50"
xdotool key Tab
sleep 0.5
shot 6-zoom50

click 128 $((MENU + 52))       # the page "Einstellungen"
shot 7-settings

click 270 $((MENU + 41 + 24 + 20))   # Schriftart...
sleep 1
shot 8-font-dialog
xdotool key Escape
sleep 0.3

echo "Screenshots in $OUT"
