#!/usr/bin/env bash
# Runs the real program on a virtual display and goes the road of a puzzle document as a user would:
# pastes the sample word list, generates, shows the solution, zooms out and changes the title, saves with
# "Speichern unter...", ends the program, starts it again and opens the document with "Öffnen...".
# Saves a screenshot before saving and after opening; the two must show the same puzzle and table.
# Last, opens a file that does not exist: the window shows why and stays as it was.
#
#   scripts/document-screenshots.sh [OUTPUT_DIRECTORY]     (default: out/document-screenshots)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/lib/window-driving.sh"
restart_on_virtual_display -- "$@"

OUT=$(mkdir -p "${1:-$ROOT/out/document-screenshots}" && cd "${1:-$ROOT/out/document-screenshots}" && pwd)
WORDS="$ROOT/examples/woerter.txt"
DOCUMENT="$OUT/raetsel"   # typed without extension: the dialog adds ".wbx"
rm -f "$DOCUMENT.wbx"
private_runtime_dir

# Opens "Datei" and walks down to its n-th command (separators are skipped), then chooses it.
menu_command() {
    click 20 10
    for _ in $(seq "$1"); do
        xdotool key Down
    done
    xdotool key Return
    sleep 1
}

# Types a file name into the file dialog that has just opened and confirms it.
choose_file() {
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key Return
    sleep 1
}

start_program
paste_word_list "$WORDS"
generate_puzzle
toggle_solution
set_zoom 40                    # 40 % shows the whole puzzle
click 550 $((MENU + 24))       # the title field
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 50 "Gespeichertes Rätsel"
click 75 "$FIRST_CELL_Y"       # back to the table, so that both pictures show the same focus
sleep 0.5
shot 1-before-saving

xdotool key --clearmodifiers ctrl+shift+s   # Speichern unter...
sleep 1
shot 2-save-dialog
choose_file "$DOCUMENT"
test -s "$DOCUMENT.wbx" && echo "saved $(stat -c %s "$DOCUMENT.wbx") bytes to $DOCUMENT.wbx"

stop_program

start_program
shot 3-fresh-start
menu_command 2                 # Öffnen...
choose_file "$DOCUMENT.wbx"
click 75 "$FIRST_CELL_Y"
sleep 0.5
shot 4-opened

menu_command 2                 # Öffnen... a file that does not exist
choose_file "$OUT/fehlt.wbx"
shot 5-missing-file-message
xdotool key Return
sleep 0.5
shot 6-after-the-message

echo "Screenshots in $OUT"
