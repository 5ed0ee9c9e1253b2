#!/usr/bin/env bash
# Installs the build into a prefix and uses it as a desktop would, on a virtual display with a window
# manager (IceWM, which shows window icons in the title bar and the task bar):
#   1. opens a generated puzzle through its document type: xdg-open finds wabrix.desktop for "*.wbx",
#      which starts the installed program with the file; then zooms out to show all of it;
#   2. starts the program with a file that is no puzzle: its message box, then the usual window.
# Saves a screenshot of each and lists the icon sizes the window offers to the desktop.
#
#   scripts/install-screenshots.sh [OUTPUT_DIRECTORY]     (default: out/install-screenshots)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/lib/window-driving.sh"
restart_on_virtual_display "${TEST_PACKAGES[@]}" "${INSTALL_SCREENSHOT_PACKAGES[@]}" -- "$@"

OUT=$(mkdir -p "${1:-$ROOT/out/install-screenshots}" && cd "${1:-$ROOT/out/install-screenshots}" && pwd)
PREFIX="$OUT/prefix"
rm -rf "$PREFIX"
cmake --install "$ROOT/build" --prefix "$PREFIX" >/dev/null
private_runtime_dir
# The desktop as a fresh user sees it: the prefix's data first, no personal associations.
HOME_DIR=$(mktemp -d)
export XDG_DATA_HOME="$HOME_DIR" XDG_CONFIG_HOME="$HOME_DIR" XDG_DATA_DIRS="$PREFIX/share:/usr/share"
# German numbers in the window; the desktop tools (Perl) need a character set this machine has.
export PATH="$PREFIX/bin:$PATH" LANG=C.UTF-8 LC_NUMERIC=de_DE.UTF-8 PERL_BADLANG=0

env -u LC_NUMERIC icewm >/dev/null 2>&1 &
MANAGER=$!
PROGRAM=
trap 'kill $PROGRAM $MANAGER 2>/dev/null || true; rm -rf "$HOME_DIR"' EXIT
sleep 2

window_of() {
    xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

DOCUMENT="$OUT/Rätsel für Lisa.wbx"
wabrix-cli generate "$ROOT/examples/woerter.txt" --seed 11 -o "$DOCUMENT"
echo "Dateityp: $(xdg-mime query filetype "$DOCUMENT"), geöffnet mit: $(xdg-mime query default application/x-wabrix-puzzle)"

xdg-open "$DOCUMENT" &
WINDOW=$(window_of "ORBELIK Wabrix")
PROGRAM=$(xdotool getwindowpid "$WINDOW")
sleep 2
shot 1-opened-from-file-type
# The whole puzzle at half size: the zoom field in the toolbar, below the menu bar.
xdotool mousemove --window "$WINDOW" 250 44 click 1
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 100 "50"
xdotool key Tab
sleep 1
shot 1-opened-zoom50
echo "Symbole des Fensters: $(xprop -id "$WINDOW" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')"
echo "Fensterklasse: $(xprop -id "$WINDOW" WM_CLASS)"
kill "$PROGRAM"
wait "$PROGRAM" 2>/dev/null || true

printf 'Frage\tAntwort\n' >"$OUT/kein-raetsel.wbx"
wabrix "$OUT/kein-raetsel.wbx" &
PROGRAM=$!
window_of "^wabrix$" >/dev/null
sleep 1
shot 2-bad-file-message
xdotool key Return
sleep 1
shot 3-after-the-message
echo "Screenshots in $OUT"
