# Driving the real program's window on a virtual display with xdotool, for the screenshot scripts.
# Sourced after scripts/setup.sh, not run. The caller sets OUT (where screenshots go) before shot.

# Unless the calling script already runs on the virtual display: installs the packages for building
# and for screenshots plus the extra ones given, builds build/, and runs the calling script again with
# its arguments on a virtual display of 1024x768 pixels at 96 dots per inch, ending with its status.
#   restart_on_virtual_display [EXTRA_PACKAGE...] -- SCRIPT_ARGUMENT...
restart_on_virtual_display() {
    local extra=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        extra+=("$1")
        shift
    done
    shift
    [ -n "${WABRIX_ON_VIRTUAL_DISPLAY:-}" ] && return 0
    ensure_packages "${BUILD_PACKAGES[@]}" "${SCREENSHOT_PACKAGES[@]}" "${extra[@]}"
    build_tree "$ROOT/build"
    export WABRIX_ON_VIRTUAL_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$0" "$@"
}

# Window-relative positions at 96 dots per inch: the menu bar (20 pixels) is followed by the toolbar
# (41), the tab bar (24) and the table's header row (24).
MENU=20
FIRST_CELL_Y=$((MENU + 41 + 24 + 24 + 12))

PROGRAM=
WINDOW=
trap '[ -n "$PROGRAM" ] && kill "$PROGRAM" 2>/dev/null || true' EXIT

# Starts the program of build/ with German number format (Qt reads the locale from the environment)
# and waits until its window shows; sets PROGRAM and WINDOW.
start_program() {
    LANG=de_DE.UTF-8 "$ROOT/build/app/wabrix" &
    PROGRAM=$!
    WINDOW=$(xdotool search --sync --onlyvisible --name "ORBELIK Wabrix")
    sleep 1
    xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
}

# Ends the program started by start_program.
stop_program() {
    kill "$PROGRAM"
    wait "$PROGRAM" 2>/dev/null || true
    PROGRAM=
}

# Clicks at a point given relative to the window's top-left corner.
click() {
    xdotool mousemove --window "$WINDOW" "$1" "$2" click 1
    sleep 0.3
}

# Saves a screenshot of the whole screen as OUT/name.png and prints its path.
shot() {
    import -window root "$OUT/$1.png"
    echo "$OUT/$1.png"
}

# Pastes a word list file into the word table through the clipboard, from the first word row on.
paste_word_list() {
    xclip -selection clipboard -i "$1"
    click 75 "$FIRST_CELL_Y"
    xdotool key --clearmodifiers ctrl+v
    sleep 0.5
}

# Presses "Erzeuge Rätsel" and waits for the 1001 layouts.
generate_puzzle() {
    click 70 $((MENU + 22))
    sleep 8
}

# Clicks "Lösung einblenden" (right of "An Seite anpassen").
toggle_solution() {
    click 395 $((MENU + 8))
}

# Types a new zoom percentage into the zoom field.
set_zoom() {
    click 250 $((MENU + 24))
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 100 "$1"
    xdotool key Tab
    sleep 0.5
}

# Types a solution word into the field "Lösungswort:" beside the title.
set_solution_word() {
    click 880 $((MENU + 24))
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 100 "$1"
    sleep 0.5
}
