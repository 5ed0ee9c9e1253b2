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

if [ -z "${WABRIX_ON_VIRTUAL_DISPLAY:-}" ]; then
    ensure_packages "${BUILD_PACKAGES[@]}" "${SCREENSHOT_PACKAGES[@]}"
    build_tree "$ROOT/build"
    export WABRIX_ON_VIRTUAL_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
fi

OUT=$(mkdir -p "${1:-$ROOT/out/document-screenshots}" && cd "${1:-$ROOT/out/document-screenshots}" && pwd)
WORDS="$ROOT/examples/woerter.txt"
DOCUMENT="$OUT/raetsel"   # typed without extension: the dialog adds ".wbx"
rm -f "$DOCUMENT.wbx"
private_runtime_dir

PROGRAM=
WINDOW=
trap '[ -n "$PROGRAM" ] && kill "$PROGRAM" 2>/dev/null || true' EXIT

start_program() {
    LANG=de_DE.UTF-8 "$ROOT/build/app/wabrix" &
    PROGRAM=$!
    WINDOW=$(xdotool search --sync --onlyvisible --name "^ORBELIK ")
    sleep 1
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
}

# Clicks at a point given relative to the window's top-left corner.
click() {
    xdotool mousemove --window "$WINDOW" "$1" "$2" click 1
    sleep 0.3
}

shot() {
    import -window root "$OUT/$1.png"
    echo "$OUT/$1.png"
}

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

MENU=20
FIRST_CELL_Y=$((MENU + 41 + 24 + 24 + 12))

start_program
xclip -selection clipboard -i "$WORDS"
click 75 "$FIRST_CELL_Y"
xdotool key --clearmodifiers ctrl+v
sleep 0.5
click 70 $((MENU + 22))        # Erzeuge Rätsel
sleep 8
click 295 $((MENU + 8))        # Lösung einblenden
click 250 $((MENU + 24))       # the zoom field: 40 % shows the whole puzzle
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 100 "40"
xdotool key Tab
sleep 0.5
click 550 $((MENU + 24))       # the title field
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 50 "Gespeichertes Rätsel"
click 75 "$FIRST_CELL_Y"       # back to the table, so that both pictures show the same focus
sleep 0.5
shot 1-before-saving

menu_command 3                 # Speichern unter...
shot 2-save-dialog
choose_file "$DOCUMENT"
test -s "$DOCUMENT.wbx" && echo "saved $(stat -c %s "$DOCUMENT.wbx") bytes to $DOCUMENT.wbx"

kill "$PROGRAM"
wait "$PROGRAM" 2>/dev/null || true
PROGRAM=

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
