#!/usr/bin/env bash
# Runs the real program on a virtual display and drives it as a user would: pastes the sample word list
# into the word table through the clipboard, presses "Erzeuge Rätsel", drags the puzzle, shows the
# solution, zooms to 50 %, hides the solution and types a solution word with a letter the puzzle lacks,
# opens the settings page and the font window. Saves a screenshot after each step.
#
#   scripts/screenshots.sh [OUTPUT_DIRECTORY]     (default: out/screenshots)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/lib/window-driving.sh"
restart_on_virtual_display -- "$@"

OUT=$(mkdir -p "${1:-$ROOT/out/screenshots}" && cd "${1:-$ROOT/out/screenshots}" && pwd)
WORDS="$ROOT/examples/woerter.txt"
private_runtime_dir

start_program
shot 1-start

paste_word_list "$WORDS"
shot 2-pasted

generate_puzzle
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

toggle_solution
shot 5-solution

set_zoom 50                    # the whole puzzle at half size
shot 6-zoom50

toggle_solution                # the letters hidden again
set_solution_word "Sommerq"    # numbered cells, the boxes below, and "Im Rätsel fehlt: Q"
shot 7-solution-word

click 128 $((MENU + 52))       # the page "Einstellungen"
shot 8-settings

click 270 $((MENU + 41 + 24 + 20))   # Schriftart...
sleep 1
shot 9-font-dialog
xdotool key Escape
sleep 0.3

echo "Screenshots in $OUT"
