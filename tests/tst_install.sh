#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop sees of it: every file in place,
# "*.wbx" known as application/x-wabrix-puzzle and opened by wabrix.desktop, the desktop file valid,
# the installed programs running, and the thumbnailer's command making a PNG of the asked size from a
# generated document and nothing from a bad one.
#
#   tests/tst_install.sh CMAKE BUILD_DIRECTORY SOURCE_DIRECTORY
# Exit status 77 (skipped) when a desktop tool it needs is not installed.
set -euo pipefail
CMAKE=$1
BUILD=$2
SOURCE=$3
TYPE=application/x-wabrix-puzzle

for tool in xdg-mime mimetype update-mime-database update-desktop-database desktop-file-validate; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool fehlt (Pakete xdg-utils, libfile-mimeinfo-perl, shared-mime-info, desktop-file-utils)"
        exit 77
    fi
done

WORK=$(mktemp -d /tmp/wabrix-install-test.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
PREFIX="$WORK/prefix"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$CMAKE" --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || {
    cat "$WORK/install.log"
    fail "cmake --install"
}

SHARE="$PREFIX/share"
HICOLOR="$SHARE/icons/hicolor"
expected=(bin/wabrix bin/wabrix-cli share/applications/wabrix.desktop share/mime/packages/wabrix.xml
    share/thumbnailers/wabrix.thumbnailer share/icons/hicolor/scalable/apps/wabrix.svg
    share/icons/hicolor/scalable/mimetypes/application-x-wabrix-puzzle.svg)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/wabrix.png"
        "share/icons/hicolor/${size}x${size}/mimetypes/application-x-wabrix-puzzle.png")
done
for file in "${expected[@]}"; do
    [ -s "$PREFIX/$file" ] || fail "$file fehlt"
done
[ -x "$PREFIX/bin/wabrix" ] && [ -x "$PREFIX/bin/wabrix-cli" ] || fail "Programme nicht ausführbar"
# wabrix-cli loads its drawing part from a private folder of the prefix.
find "$PREFIX" -path '*/wabrix/wabrix-cli-drawing.so' | grep -q . || fail "wabrix-cli-drawing.so fehlt"

# Width and height of a PNG from its header, "W H"; nothing when the file is no PNG.
png_size() {
    [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || return 1
    local hex
    hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
    echo "$((16#${hex:0:8})) $((16#${hex:8:8}))"
}
for size in 16 24 32 48 64 128 256; do
    [ "$(png_size "$HICOLOR/${size}x${size}/apps/wabrix.png")" = "$size $size" ] || fail "Symbol ${size}x${size} hat eine andere Größe"
done

# The desktop finds the type by the file name alone and hands it to the program.
update-mime-database "$SHARE/mime" >/dev/null 2>&1 || fail "update-mime-database"
update-desktop-database -q "$SHARE/applications" || fail "update-desktop-database"
desktop-file-validate "$SHARE/applications/wabrix.desktop" || fail "wabrix.desktop ist ungültig"
mkdir -p "$WORK/home"
export XDG_DATA_HOME="$WORK/home" XDG_DATA_DIRS="$SHARE:/usr/share"
export XDG_CONFIG_HOME="$WORK/home" XDG_CONFIG_DIRS="$WORK/home"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID

DOCUMENT="$WORK/Rätsel für Lisa.wbx"
"$PREFIX/bin/wabrix-cli" generate "$SOURCE/examples/woerter-20.txt" --seed 7 --runs 5 -o "$DOCUMENT" ||
    fail "wabrix-cli generate"
type=$(xdg-mime query filetype "$DOCUMENT")
[ "$type" = "$TYPE" ] || fail "xdg-mime nennt $type statt $TYPE"
handler=$(xdg-mime query default "$TYPE")
[ "$handler" = "wabrix.desktop" ] || fail "xdg-mime öffnet $TYPE mit '$handler'"
grep -q '<icon name="application-x-wabrix-puzzle"/>' "$SHARE/mime/packages/wabrix.xml" ||
    fail "Symbol des Dateityps nicht angegeben"

"$PREFIX/bin/wabrix" --version | grep -q '^wabrix ' || fail "wabrix --version"
"$PREFIX/bin/wabrix-cli" --version | grep -q '^wabrix-cli ' || fail "wabrix-cli --version"

# The thumbnailer's own command line, with the file manager's %s, %i and %o put in.
exec_line=$(sed -n 's/^Exec=//p' "$SHARE/thumbnailers/wabrix.thumbnailer")
grep -qx "MimeType=$TYPE;" "$SHARE/thumbnailers/wabrix.thumbnailer" || fail "Thumbnailer ohne $TYPE"
thumbnail() { # input output size
    local -a command=()
    local word
    for word in $exec_line; do
        case $word in
        %i) command+=("$1") ;;
        %o) command+=("$2") ;;
        %s) command+=("$3") ;;
        *) command+=("$word") ;;
        esac
    done
    PATH="$PREFIX/bin:$PATH" "${command[@]}"
}
for size in 128 256; do
    out="$WORK/vorschau-$size"
    thumbnail "$DOCUMENT" "$out" "$size" || fail "Thumbnailer für $size Pixel"
    read -r width height < <(png_size "$out") || fail "Vorschau ist kein PNG"
    [ "$width" -le "$size" ] && [ "$height" -le "$size" ] &&
        { [ "$width" -eq "$size" ] || [ "$height" -eq "$size" ]; } || fail "Vorschau ${width}x${height} passt nicht zu $size"
done
printf 'kein Rätsel\n' >"$WORK/kaputt.wbx"
if thumbnail "$WORK/kaputt.wbx" "$WORK/kaputt.png" 128 2>/dev/null; then
    fail "Thumbnailer meldet Erfolg für eine kaputte Datei"
fi
[ ! -e "$WORK/kaputt.png" ] || fail "Thumbnailer hinterlässt ein Bild für eine kaputte Datei"
echo "PASS: installiert nach $PREFIX, $type, Vorschau ${width}x${height}"
