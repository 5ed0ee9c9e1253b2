#!/usr/bin/env bash
# Runs the real program on a virtual display as a teacher with a vocabulary list would: starts it with
# the list (which is no puzzle document, so the window offers to import it), imports it, generates, points
# at a word the puzzle left out, then quits with the work unsaved. Saves a screenshot after each step:
# the offer, the line under the puzzle with the marked rows, a row's tooltip, the settings page with
# "Umlaute:", the question about the unsaved changes. The question is answered with Abbrechen, so the window stays.
#
#   scripts/word-report-screenshots.sh [OUTPUT_DIRECTORY]     (default: out/word-report-screenshots)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/lib/window-driving.sh"
restart_on_virtual_display -- "$@"

OUT=$(mkdir -p "${1:-$ROOT/out/word-report-screenshots}" && cd "${1:-$ROOT/out/word-report-screenshots}" && pwd)
WORDS="$ROOT/examples/vokabeln.tsv"
private_runtime_dir
# A home of its own: the window's remembered size and recent documents start empty.
export HOME="$OUT/home" XDG_CONFIG_HOME="$OUT/home/.config"
mkdir -p "$HOME"

LANG=de_DE.UTF-8 "$ROOT/build/app/wabrix" "$WORDS" &
PROGRAM=$!
WINDOW=$(xdotool search --sync --onlyvisible --name "ORBELIK Wabrix")
sleep 2
shot 1-import-offered
xdotool key Return              # Importieren
sleep 1
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true

generate_puzzle
xdotool mousemove 1020 760      # the pointer away from the button, so that no tooltip covers the view
sleep 0.5
shot 2-words-report

# The fourth row, "Wetter" without an answer: its tooltip gives the reason. Rows start below the
# header, 24 pixels each.
xdotool mousemove --window "$WINDOW" 120 $((FIRST_CELL_Y + 24 * 3))
sleep 0.2
xdotool mousemove --window "$WINDOW" 122 $((FIRST_CELL_Y + 24 * 3 + 1))
sleep 1.5
shot 3-row-tooltip

click 128 $((MENU + 52))       # the page "Einstellungen", with "Umlaute:"
shot 4-settings
click 40 $((MENU + 52))        # back to the puzzle

xdotool key --clearmodifiers ctrl+q
sleep 1
shot 5-save-question
xdotool key Escape              # Abbrechen: the window stays with its work
sleep 0.5
shot 6-after-cancel

stop_program
echo "Screenshots in $OUT"
