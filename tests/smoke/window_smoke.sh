#!/usr/bin/env bash
# Drives the real window of a sanitizer build on a virtual display as a user would, then checks what
# it left behind:
#   1. types eight word rows into the word table with real key presses (umlauts and ß included);
#   2. presses "Erzeuge Rätsel" and waits until the puzzle shows;
#   3. saves the document with "Datei" > "Speichern unter...";
#   4. empties the table with "Neu" and saves that too, then opens the first document again with
#      "Öffnen..." and saves it once more under a new name;
#   5. exports the picture with "Exportieren als Bild..." as BMP and as PNG;
#   6. ends the program with "Beenden".
# The run passes when the program ended with status 0 and without any AddressSanitizer, LeakSanitizer
# or UndefinedBehaviorSanitizer report, the saved table holds exactly the typed rows, the puzzle has
# placed answers, "Neu" emptied the table and kept the puzzle, the reopened document saves to the same
# bytes, and the exported pictures equal what wabrix-cli renders from the saved document.
#
#   window_smoke.sh WABRIX WABRIX_CLI LSAN_SUPPRESSIONS OUTPUT_DIRECTORY
#
# A screenshot of each step lands in OUTPUT_DIRECTORY, which keeps everything of the last run. When
# LeakSanitizer itself crashes at the program's exit (a rare fault of the sanitizer runtime that says
# nothing about the program), the whole run is made once more and the first one kept in
# OUTPUT_DIRECTORY.1. Exits 77 (skipped) when the X tools are missing, unless WABRIX_SMOKE_REQUIRED=1,
# as test.sh sets it. The WABRIX_SMOKE_*_SECONDS variables below change the time limits.
set -uo pipefail

if [ $# -ne 4 ]; then
    echo "Aufruf: $0 WABRIX WABRIX_CLI LSAN_SUPPRESSIONS AUSGABEORDNER" >&2
    exit 2
fi
WABRIX=$(realpath "$1")
CLI=$(realpath "$2")
SUPPRESSIONS=$(realpath "$3")
OUT=$(realpath -m "$4")

# Every wait is bounded; a slow sanitizer build on a loaded machine needs generous limits.
START_SECONDS=${WABRIX_SMOKE_START_SECONDS:-120}
GENERATE_SECONDS=${WABRIX_SMOKE_GENERATE_SECONDS:-180}
DIALOG_SECONDS=${WABRIX_SMOKE_DIALOG_SECONDS:-60}
EXIT_SECONDS=${WABRIX_SMOKE_EXIT_SECONDS:-120}

if [ -z "${WABRIX_SMOKE_ON_DISPLAY:-}" ]; then
    missing=()
    for tool in xvfb-run Xvfb xauth xdotool setxkbmap import iconv cmp; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "window_smoke: es fehlen ${missing[*]} (Pakete xvfb xauth xdotool imagemagick)" >&2
        [ "${WABRIX_SMOKE_REQUIRED:-0}" = 1 ] && exit 1
        exit 77
    fi
    rm -rf "$OUT" "$OUT.1" && mkdir -p "$OUT" || exit 1
    export WABRIX_SMOKE_ON_DISPLAY=1
    for attempt in 1 2; do
        # -noreset: the server keeps the German keyboard map between the short-lived xdotool
        # connections (it would return to its default map whenever the last client disconnects).
        xvfb-run -a -e "$OUT/xvfb.log" -s "-screen 0 1024x768x24 -dpi 96 -noreset" "$0" "$@"
        status=$?
        # Status 3: the user's road went through, but LeakSanitizer itself crashed while it stopped
        # the threads for its check at the exit, so no leak check was made; the whole run is made
        # once more.
        [ $status -eq 3 ] && [ $attempt -eq 1 ] || break
        echo "window_smoke: zweiter Versuch; der erste liegt in $OUT.1" >&2
        mv "$OUT" "$OUT.1" && mkdir -p "$OUT" || exit 1
    done
    [ $status -ne 0 ] && echo "window_smoke: Bildschirmfotos und Protokolle in $OUT" >&2
    [ $status -eq 3 ] && status=1
    exit $status
fi

OUT=$(cd "$OUT" && pwd)
WORK=$OUT/work           # the program's working folder, where its file dialogs start
SANITIZER_LOGS=$OUT/sanitizer
mkdir -p "$WORK" "$SANITIZER_LOGS" "$OUT/home" "$OUT/runtime" || exit 1
chmod 700 "$OUT/runtime"

# A private, predictable desktop: own home and runtime folder, the X11 platform, no desktop theme, no
# desktop message bus (without an address libdbus would start a bus of its own through dbus-launch),
# no session manager, no printer of the machine (the export's page-end marking then uses the same
# default page as wabrix-cli).
export HOME=$OUT/home XDG_RUNTIME_DIR=$OUT/runtime XDG_CONFIG_HOME=$OUT/home/.config
export XDG_CACHE_HOME=$OUT/home/.cache XDG_DATA_HOME=$OUT/home/.local/share
export QT_QPA_PLATFORM=xcb
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/wabrix-smoke-bus
export CUPS_SERVER=/nonexistent/cups.sock
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS XDG_CURRENT_DESKTOP
unset SESSION_MANAGER LC_ALL LC_NUMERIC LANGUAGE
# German number format where the machine has the locale, else at least UTF-8 file names.
if locale -a 2>/dev/null | grep -qiE '^de_DE\.utf-?8$'; then
    export LANG=de_DE.UTF-8
else
    export LANG=C.UTF-8
fi
# The first finding stops the program; leaks count. Reports go to files in SANITIZER_LOGS.
ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1"
export ASAN_OPTIONS="$ASAN_OPTIONS:check_initialization_order=1:strict_init_order=1:log_path=$SANITIZER_LOGS/asan"
export LSAN_OPTIONS="suppressions=$SUPPRESSIONS:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$SANITIZER_LOGS/ubsan"


PROGRAM=
PROGRAM_ENDED=0
WINDOW=
STEP="Vorbereitung"
STEP_NAME=setup
SHOT=0

log() {
    printf '[%5.1f s] %s\n' "$(($(date +%s%N) / 1000000 - STARTED_MS))e-3" "$*"
}
STARTED_MS=$(($(date +%s%N) / 1000000))

shot() {
    SHOT=$((SHOT + 1))
    import -window root "$(printf '%s/%02d-%s.png' "$OUT" "$SHOT" "$1")" 2>/dev/null || true
}

# The program's visible windows, one "id name" a line.
visible_windows() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$PROGRAM" --name "" 2>/dev/null); do
        echo "$id $(xdotool getwindowname "$id" 2>/dev/null)"
    done
}

stop_program() {
    [ -n "$PROGRAM" ] || return 0
    if kill -0 "$PROGRAM" 2>/dev/null; then
        kill -TERM "$PROGRAM" 2>/dev/null
        for _ in $(seq 50); do
            kill -0 "$PROGRAM" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$PROGRAM" 2>/dev/null
    fi
    wait "$PROGRAM" 2>/dev/null
    PROGRAM=
}
trap stop_program EXIT

# True when the sanitizers' only output is LeakSanitizer's own crash while it stopped the threads for
# its check (a rare fault of the sanitizer runtime when a thread of Qt is just ending at the exit; it
# reports nothing about the program).
leak_checker_crashed() {
    local logs=("$SANITIZER_LOGS"/* "$OUT/wabrix.stderr")
    grep -qs 'Tracer caught signal' "${logs[@]}" &&
        ! grep -qsE 'ERROR: (AddressSanitizer|LeakSanitizer: detected)|runtime error:' "${logs[@]}"
}

fail() {
    echo "window_smoke: FEHLER im Schritt „$STEP“: $*" >&2
    if [ "$PROGRAM_ENDED" = 1 ] && leak_checker_crashed; then
        echo "  LeakSanitizer ist bei seiner Prüfung selbst abgestürzt („Tracer caught signal“);" \
            "das ist kein Befund im Programm" >&2
        report_sanitizer_logs >&2
        exit 3
    fi
    if [ -n "$PROGRAM" ] && ! kill -0 "$PROGRAM" 2>/dev/null; then
        wait "$PROGRAM"
        echo "  das Programm ist schon beendet, Status $?" >&2
        PROGRAM=
    fi
    if [ -n "$PROGRAM" ]; then
        echo "  sichtbare Fenster des Programms:" >&2
        visible_windows | sed 's/^/    /' >&2
        import -window root "$OUT/failure.png" 2>/dev/null && echo "  Bildschirm: $OUT/failure.png" >&2
    fi
    stop_program
    if [ -s "$OUT/wabrix.stderr" ]; then
        echo "  Ende der Ausgabe des Programms ($OUT/wabrix.stderr):" >&2
        tail -n 20 "$OUT/wabrix.stderr" | sed 's/^/    /' >&2
    fi
    report_sanitizer_logs >&2
    exit 1
}

# Starts a step: a short name for its screenshots, and what it does.
step() {
    STEP_NAME=$1
    STEP=$2
    log "$STEP"
}

# Runs the command every 0.2 seconds until it succeeds or the given seconds have passed.
poll() {
    local seconds=$1 deadline
    shift
    deadline=$((SECONDS + seconds))
    while ! "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        kill -0 "$PROGRAM" 2>/dev/null || return 1
        sleep 0.2
    done
}

only_main_window() {
    [ "$(xdotool search --all --onlyvisible --pid "$PROGRAM" --name "" 2>/dev/null)" = "$WINDOW" ]
}

another_window() {
    xdotool search --all --onlyvisible --pid "$PROGRAM" --name "" 2>/dev/null | grep -qvx "$WINDOW"
}

# Waits for a visible window of the program whose title matches the expression; sets DIALOG.
find_dialog() {
    DIALOG=$(xdotool search --all --onlyvisible --pid "$PROGRAM" --name "$1" 2>/dev/null | head -n 1)
    [ -n "$DIALOG" ]
}

dialog_gone() {
    ! xdotool search --all --onlyvisible --pid "$PROGRAM" --name "$1" >/dev/null 2>&1
}

# A fingerprint of what the screen shows in the given rectangle of the main window.
area_print() {
    local x y
    eval "$(xdotool getwindowgeometry --shell "$WINDOW" 2>/dev/null | grep -E '^[XY]=')"
    x=$((X + $1))
    y=$((Y + $2))
    import -window root -crop "$3x$4+$x+$y" rgb:- 2>/dev/null | cksum
}

# Waits until the screen has stopped changing: two fingerprints of the whole screen 0.3 s apart agree.
settle() {
    local before now
    before=$(import -window root rgb:- 2>/dev/null | cksum)
    for _ in $(seq 30); do
        sleep 0.3
        now=$(import -window root rgb:- 2>/dev/null | cksum)
        [ "$now" = "$before" ] && return 0
        before=$now
    done
    return 0
}

click() {
    xdotool mousemove --window "$WINDOW" "$1" "$2" click 1
}

# Opens "Datei" and chooses a command: the n-th one (Down n times), the n-th from the end ("up n",
# Up n times from no selection), or "last" (the same as "up 1"). Counting from the end does not depend
# on "Zuletzt geöffnet", which is skipped while it is empty.
menu_command() {
    poll "$DIALOG_SECONDS" only_main_window || fail "ein anderes Fenster ist noch offen"
    click 20 10
    poll "$DIALOG_SECONDS" another_window || fail "das Menü „Datei“ öffnet sich nicht"
    if [ "$1" = last ]; then
        xdotool key Up
    elif [ "$1" = up ]; then
        for _ in $(seq "$2"); do
            xdotool key Up
        done
    else
        for _ in $(seq "$1"); do
            xdotool key Down
        done
    fi
    xdotool key Return
}

# Waits for the file dialog with the given title, types a file name into it and confirms.
choose_file() {
    local title=$1 name=$2
    poll "$DIALOG_SECONDS" find_dialog "^$title\$" || fail "der Dateidialog „$title“ erscheint nicht"
    timeout 20 xdotool windowfocus --sync "$DIALOG" || fail "der Dateidialog bekommt den Fokus nicht"
    shot "$STEP_NAME-dialog"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 25 "$name"
    xdotool key Return
    poll "$DIALOG_SECONDS" dialog_gone "^$title\$" || fail "der Dateidialog „$title“ schließt sich nicht"
}

file_written() {
    [ -s "$1" ]
}

# Saves the document with "Speichern unter..." to WORK/name.wbx, typing the name without extension.
save_as() {
    # From the end: Beenden, Rätsel und Lösung drucken, Druckvorschau, Drucken, Druckereinrichten,
    # Exportieren als Bild, Wortliste exportieren, Wortliste importieren, Speichern unter.
    menu_command up 9
    choose_file "Speichern unter" "$1"
    poll "$DIALOG_SECONDS" file_written "$WORK/$1.wbx" || fail "$WORK/$1.wbx wurde nicht geschrieben"
}

export_picture() {
    menu_command up 6
    choose_file "Speichern unter" "$1"
    poll "$DIALOG_SECONDS" file_written "$WORK/$1" || fail "$WORK/$1 wurde nicht geschrieben"
}

sanitizer_logs_exist() {
    [ -n "$(ls -A "$SANITIZER_LOGS")" ]
}

report_sanitizer_logs() {
    local found=1 file
    for file in "$SANITIZER_LOGS"/*; do
        [ -e "$file" ] || continue
        echo "  Bericht eines Sanitizers: $file"
        head -n 40 "$file" | sed 's/^/    /'
        found=0
    done
    return $found
}

# Number of UTF-16 code units of a text, as a document stores it.
utf16_units() {
    printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | wc -c | awk '{ print $1 / 2 }'
}

json_number() {
    grep -o "\"$2\":[0-9]*" <<<"$1" | head -n 1 | cut -d: -f2
}

cli() {
    "$CLI" "$@" 2>>"$OUT/cli.stderr"
}

# The rows typed into the table: clue, answer. Shared letters let the answers cross.
ROWS=(
    "Gegenteil von klein" "groß"
    "Fluss durch Köln" "Rhein"
    "Hauptstadt Österreichs" "Wien"
    "Weg für Autos" "Straße"
    "Nicht alt" "neu"
    "Edelmetall" "Gold"
    "Farbe des Grases" "grün"
    "Baum mit Nadeln" "Tanne"
)
ROW_COUNT=$((${#ROWS[@]} / 2))

# Window-relative positions at 96 dots per inch: the menu bar (20 pixels) is followed by the toolbar
# (41), the tab bar (24) and the table's header row (24); the puzzle view fills the right part.
MENU=20
FIRST_CELL_Y=$((MENU + 41 + 24 + 24 + 12))
VIEW=(340 $((MENU + 70)) 370 420)

cd "$WORK" || exit 1

step keyboard "Deutsche Tastatur einstellen"
# The user's German keyboard: umlauts and ß are keys of their own, so xdotool presses real keys
# instead of remapping a spare key for each character (which a busy program may read back too late).
setxkbmap -layout de && setxkbmap -query | grep -qE '^layout: +de$' ||
    fail "die deutsche Tastaturbelegung lässt sich nicht einstellen"

step start "Programm starten"
"$WABRIX" >"$OUT/wabrix.stdout" 2>"$OUT/wabrix.stderr" &
PROGRAM=$!
poll "$START_SECONDS" find_dialog "ORBELIK Wabrix" || fail "das Hauptfenster erscheint nicht"
WINDOW=$DIALOG
timeout 20 xdotool windowfocus --sync "$WINDOW" || fail "das Hauptfenster bekommt den Fokus nicht"
settle
shot start

step type "Wortzeilen eintippen"
click 75 "$FIRST_CELL_Y"
for ((i = 0; i < ${#ROWS[@]}; i += 2)); do
    xdotool type --delay 25 "${ROWS[i]}"
    xdotool key Tab
    xdotool type --delay 25 "${ROWS[i + 1]}"
    xdotool key Tab
done
settle
shot typed

step generate "Rätsel erzeugen"
EMPTY_VIEW=$(area_print "${VIEW[@]}")
click 70 $((MENU + 22))
# The pointer leaves the button, so that no tooltip can count as another window.
xdotool mousemove 1020 760
# Done when no other window (a progress dialog) is open and the view shows something new that stays.
puzzle_shown() {
    local now
    only_main_window || return 1
    now=$(area_print "${VIEW[@]}")
    [ "$now" != "$EMPTY_VIEW" ] || return 1
    sleep 0.5
    only_main_window && [ "$(area_print "${VIEW[@]}")" = "$now" ]
}
poll "$GENERATE_SECONDS" puzzle_shown || fail "das Rätsel erscheint nicht"
shot generated

step save "Speichern unter raetsel.wbx"
save_as raetsel
settle
shot saved

step new "Neu und Speichern unter leer.wbx"
menu_command 1
save_as leer
settle
shot new

step open "Öffnen von raetsel.wbx"
menu_command 2
choose_file "Öffnen" "raetsel.wbx"
settle
shot opened

step save-again "Speichern unter wieder.wbx"
save_as wieder

step export-bmp "Exportieren als bild.bmp"
export_picture bild.bmp
step export-png "Exportieren als bild.png"
export_picture bild.png
settle
shot exported

step quit "Beenden"
menu_command last
exited() {
    ! kill -0 "$PROGRAM" 2>/dev/null
}
deadline=$((SECONDS + EXIT_SECONDS))
while kill -0 "$PROGRAM" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
    sleep 0.2
done
exited || fail "das Programm endet nicht"
wait "$PROGRAM"
STATUS=$?
PROGRAM=
PROGRAM_ENDED=1
[ $STATUS -eq 0 ] || fail "das Programm endete mit Status $STATUS"

step check-sanitizers "Sanitizer-Berichte prüfen"
if grep -qE 'ERROR: AddressSanitizer|runtime error:|LeakSanitizer|ERROR: [A-Za-z]+Sanitizer' \
    "$OUT/wabrix.stderr"; then
    fail "die Ausgabe des Programms enthält einen Sanitizer-Bericht"
fi
sanitizer_logs_exist && fail "ein Sanitizer hat berichtet"

step check-saved "Gespeichertes Rätsel prüfen"
INFO=$(cli info "$WORK/raetsel.wbx" --json) || fail "wabrix-cli info raetsel.wbx scheitert"
ROWS_FOUND=$(json_number "$INFO" nonEmptyRows)
PLACED=$(json_number "$INFO" placedEntries)
[ "$ROWS_FOUND" = "$ROW_COUNT" ] || fail "raetsel.wbx hat $ROWS_FOUND gefüllte Zeilen statt $ROW_COUNT"
[ "${PLACED:-0}" -ge 2 ] || fail "raetsel.wbx hat nur ${PLACED:-0} platzierte Wörter"
log "raetsel.wbx: $ROWS_FOUND Zeilen, $PLACED Wörter platziert"

# The table, title and settings open the document: a document made by wabrix-cli from the same rows
# starts with the same bytes, up to the grid, if every key press reached its cell.
WORDS=$OUT/woerter.txt
: >"$WORDS"
TABLE_BYTES=4
for ((i = 0; i < ${#ROWS[@]}; i += 2)); do
    printf '%s\t%s\n' "${ROWS[i]}" "${ROWS[i + 1]}" >>"$WORDS"
    TABLE_BYTES=$((TABLE_BYTES + 8 + 2 * ($(utf16_units "${ROWS[i]}") + $(utf16_units "${ROWS[i + 1]}"))))
done
TABLE_BYTES=$((TABLE_BYTES + 8 * (999 - ROW_COUNT)))
TITLE="Wabrixrätsel"
SETTINGS_END=$((TABLE_BYTES + 4 + 2 * $(utf16_units "$TITLE") + 51))
cli generate "$WORDS" -o "$OUT/expected.wbx" --runs 1 --seed 1 >/dev/null ||
    fail "wabrix-cli generate scheitert"
cmp -n "$SETTINGS_END" "$OUT/expected.wbx" "$WORK/raetsel.wbx" >&2 ||
    fail "Tabelle oder Einstellungen in raetsel.wbx weichen von den getippten Zeilen ab"

step check-new "„Neu“ prüfen"
NEW_INFO=$(cli info "$WORK/leer.wbx" --json) || fail "wabrix-cli info leer.wbx scheitert"
[ "$(json_number "$NEW_INFO" nonEmptyRows)" = 0 ] || fail "„Neu“ hat die Tabelle nicht geleert"
[ "$(json_number "$NEW_INFO" rows)" = 999 ] || fail "„Neu“ hat die Zeilenzahl geändert"
[ "$(json_number "$NEW_INFO" placedEntries)" = "$PLACED" ] || fail "„Neu“ hat das Rätsel verändert"

step check-opened "Geöffnetes Rätsel prüfen"
# Opening takes every field over and saving writes every field, so nothing may differ.
cmp "$WORK/raetsel.wbx" "$WORK/wieder.wbx" >&2 ||
    fail "nach dem Öffnen gespeichert weicht wieder.wbx von raetsel.wbx ab"

step check-pictures "Exportierte Bilder prüfen"
[ "$(head -c 2 "$WORK/bild.bmp")" = BM ] || fail "bild.bmp ist keine BMP-Datei"
DEPTH=$(od -An -tu2 -j28 -N2 "$WORK/bild.bmp" | tr -d ' ')
[ "$DEPTH" = 24 ] || fail "bild.bmp hat $DEPTH Bit je Pixel statt 24"
for picture in bild.bmp bild.png; do
    cli render "$WORK/raetsel.wbx" -o "$OUT/expected-$picture" || fail "wabrix-cli render scheitert"
    if ! cmp -s "$OUT/expected-$picture" "$WORK/$picture"; then
        echo "  exportiert:      $(identify "$WORK/$picture" 2>&1)" >&2
        echo "  wabrix-cli gibt: $(identify "$OUT/expected-$picture" 2>&1)" >&2
        fail "$picture weicht vom Bild ab, das wabrix-cli aus raetsel.wbx zeichnet"
    fi
done

sanitizer_logs_exist && fail "ein Sanitizer hat in wabrix-cli berichtet"
log "Rauchtest bestanden"
