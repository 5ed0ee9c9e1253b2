#!/usr/bin/env bash
# Makes the Debian package from the built tree with CPack and checks it as Debian would: the control
# fields, the dependencies found from the programs plus the fonts, no maintainer scripts (the caches
# are left to the triggers of the packages that own them), exactly the expected files, lintian without
# errors (its warnings stay in the log), valid AppStream data, and programs that run from the unpacked
# package.
#
#   tests/tst_package.sh CPACK BUILD_DIRECTORY VERSION
# Exit status 77 (skipped) when a packaging tool is not installed.
set -euo pipefail
CPACK=$1
BUILD=$2
VERSION=$3

for tool in dpkg-deb dpkg-shlibdeps file lintian appstreamcli; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool fehlt (Pakete dpkg-dev, file, lintian, appstream)"
        exit 77
    fi
done

WORK=$(mktemp -d /tmp/wabrix-package-test.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
stop() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$BUILD" && "$CPACK" -G DEB -B "$WORK/out") >"$WORK/cpack.log" 2>&1 || {
    cat "$WORK/cpack.log"
    stop "cpack -G DEB"
}
ARCH=$(dpkg --print-architecture)
DEB="$WORK/out/wabrix_${VERSION}_${ARCH}.deb"
[ -f "$DEB" ] || stop "$(basename "$DEB") fehlt; cpack schrieb: $(ls "$WORK/out")"
echo "== $(basename "$DEB"), $(stat -c %s "$DEB") Bytes"

# Control fields.
field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = wabrix ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$VERSION" ] || fail "Version: $(field Version) statt $VERSION"
[ "$(field Architecture)" = "$ARCH" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Section)" ] || fail "Section fehlt"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer nicht \"Name <Adresse>\": $(field Maintainer)"
depends=$(field Depends)
echo "Depends: $depends"
for package in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 fonts-liberation fonts-wine; do
    [[ ", $depends," =~ ,\ $package[\ ,] ]] || fail "Depends ohne $package"
done
description=$(field Description)
grep -q "arrow-word puzzles" <<<"$description" || fail "Beschreibung ohne englischen Text"
grep -q "Wabrix erzeugt Schwedenrätsel" <<<"$description" || fail "Beschreibung ohne deutschen Text"

# Nothing but the control file and the checksums: no maintainer scripts.
control_files=$(dpkg-deb --ctrl-tarfile "$DEB" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
[ "$control_files" = "control md5sums " ] || fail "Steuerdateien: $control_files"

# Exactly these files; in particular no cache made while staging (mime.cache, icon-theme.cache...).
expected=(usr/bin/wabrix usr/bin/wabrix-cli
    usr/share/applications/wabrix.desktop usr/share/mime/packages/wabrix.xml
    usr/share/thumbnailers/wabrix.thumbnailer usr/share/metainfo/io.github.wabrix.Wabrix.metainfo.xml
    usr/share/man/man1/wabrix.1.gz usr/share/man/man1/wabrix-cli.1.gz
    usr/share/doc/wabrix/copyright usr/share/doc/wabrix/changelog.gz
    usr/share/icons/hicolor/scalable/apps/wabrix.svg
    usr/share/icons/hicolor/scalable/mimetypes/application-x-wabrix-puzzle.svg)
for size in 16 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/wabrix.png"
        "usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-wabrix-puzzle.png")
done
dpkg-deb --fsys-tarfile "$DEB" | tar -t | sed 's|^\./||' | grep -v '/$' | grep -v '^$' | sort >"$WORK/files"
printf '%s\n' "${expected[@]}" | sort >"$WORK/expected"
if ! diff -u "$WORK/expected" "$WORK/files" >"$WORK/files.diff"; then
    cat "$WORK/files.diff"
    fail "Dateien im Paket weichen ab (+ unerwartet, - fehlt); eine neue Datei hier eintragen"
fi

# lintian: errors fail, warnings and the rest go to the log.
lintian --fail-on error --display-info "$DEB" >"$WORK/lintian.log" 2>&1 || lintian_failed=1
cat "$WORK/lintian.log"
[ -z "${lintian_failed:-}" ] || fail "lintian meldet Fehler"

# The unpacked package: valid AppStream data, programs that run from it, a readable manual page.
ROOT="$WORK/root"
dpkg-deb -x "$DEB" "$ROOT"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/io.github.wabrix.Wabrix.metainfo.xml" ||
    fail "appstreamcli validate"
export QT_QPA_PLATFORM=offscreen
[ "$("$ROOT/usr/bin/wabrix-cli" --version)" = "wabrix-cli $VERSION" ] || fail "wabrix-cli --version"
[ "$("$ROOT/usr/bin/wabrix" --version)" = "wabrix $VERSION" ] || fail "wabrix --version"
"$ROOT/usr/bin/wabrix-cli" new -o "$WORK/leer.wbx" && "$ROOT/usr/bin/wabrix-cli" info "$WORK/leer.wbx" >/dev/null ||
    fail "wabrix-cli new/info aus dem Paket"
zcat "$ROOT/usr/share/man/man1/wabrix-cli.1.gz" | grep -q '^\.SS thumbnail' || fail "wabrix-cli.1.gz unlesbar"

if [ "$failures" -gt 0 ]; then
    echo "$failures Fehler" >&2
    exit 1
fi
echo "PASS: $(basename "$DEB"): ${#expected[@]} Dateien, lintian ohne Fehler, AppStream gültig"
