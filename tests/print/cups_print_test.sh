#!/usr/bin/env bash
# Prints a generated puzzle on a real CUPS printer, the way "Drucken..." prints after its dialog, and
# checks what arrives: a private cupsd with a cups-pdf queue as the default printer, "wabrix-cli print"
# as the printing path, then the finished job's title (IPP Get-Jobs), the PDF's pages and paper, its
# text, and where the grid's first vertical line lies on the paper. Also checks that a picture from
# "wabrix-cli render" marks the end of that printer's printable area. Then the cases where nothing may
# be printed and the command must say so: a queue that rejects jobs and a full temporary folder (exit
# 1, no job); and a stopped queue, which keeps the job and says so (exit 0).
#
#   cups_print_test.sh WABRIX_CLI PRINTPROBE SOURCE_DIR
#
# Needs root (the cups-pdf backend and its per-queue configuration in /etc/cups). Exits 77 (skipped)
# only when cupsd cannot be started at all; stops the cupsd it started and removes what it made.
set -uo pipefail

CLI=$1
PROBE=$2
SOURCE=$3
SKIP=77
# cupsd and lpadmin live in the administrator's directories.
export PATH=$PATH:/usr/sbin:/sbin

fail() {
    echo "FEHLER: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || { echo "ÜBERSPRUNGEN: cupsd mit dem cups-pdf-Drucker braucht root" >&2; exit $SKIP; }
for tool in cupsd lpadmin lpstat ipptool pdfinfo pdftotext pdftoppm pdftocairo; do
    command -v "$tool" >/dev/null || fail "$tool fehlt (Pakete: cups cups-client cups-ipp-utils poppler-utils)"
done
[ -x /usr/lib/cups/backend/cups-pdf ] || fail "cups-pdf fehlt (Paket printer-driver-cups-pdf)"
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$PPD" ] || fail "$PPD fehlt (Paket printer-driver-cups-pdf)"

WORK=$(mktemp -d /tmp/wabrix-cups.XXXXXX)
chmod 755 "$WORK" # the filters run as the lp user
QUEUE=wabrix$$
# cups-pdf reads the configuration of queue QUEUE (device cups-pdf:/QUEUE) from this fixed place.
QUEUE_CONF=/etc/cups/cups-pdf-$QUEUE.conf
CUPSD_PID=
FULL_TMP=$WORK/tmp-voll

cleanup() {
    mountpoint -q "$FULL_TMP" 2>/dev/null && umount "$FULL_TMP"
    if [ -n "$CUPSD_PID" ]; then
        kill "$CUPSD_PID" 2>/dev/null
        wait "$CUPSD_PID" 2>/dev/null
    fi
    rm -f "$QUEUE_CONF"
    [ -n "${KEEP_WORK:-}" ] || rm -rf "$WORK"
}
trap cleanup EXIT

mkdir -p "$WORK"/{etc/ppd,spool/tmp,cache,state,log,out,xdg}
chmod 700 "$WORK/xdg"
export XDG_RUNTIME_DIR=$WORK/xdg QT_QPA_PLATFORM=offscreen

cat >"$WORK/etc/cups-files.conf" <<EOF
ServerRoot $WORK/etc
RequestRoot $WORK/spool
TempDir $WORK/spool/tmp
CacheDir $WORK/cache
StateDir $WORK/state
ErrorLog $WORK/log/error_log
AccessLog $WORK/log/access_log
PageLog $WORK/log/page_log
Printcap $WORK/printcap
SystemGroup root
EOF

# Starts cupsd on a loopback port. Job names stay visible to every client, so that Get-Jobs shows
# them, and a job's attributes are written at once: a finished job that cupsd unloads before they are
# written comes back without its name.
start_cupsd() {
    local port=$1
    cat >"$WORK/etc/cupsd.conf" <<EOF
LogLevel info
DirtyCleanInterval 0
Listen 127.0.0.1:$port
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    cupsd -f -c "$WORK/etc/cupsd.conf" -s "$WORK/etc/cups-files.conf" >"$WORK/log/cupsd.out" 2>&1 &
    CUPSD_PID=$!
    export CUPS_SERVER=127.0.0.1:$port
    for _ in $(seq 1 50); do
        lpstat -r 2>/dev/null | grep -q "is running" && return 0
        kill -0 "$CUPSD_PID" 2>/dev/null || break
        sleep 0.2
    done
    kill "$CUPSD_PID" 2>/dev/null
    wait "$CUPSD_PID" 2>/dev/null
    CUPSD_PID=
    return 1
}

started=
for attempt in 1 2 3 4 5; do
    if start_cupsd $((20000 + ($$ * 7 + attempt * 131) % 20000)); then
        started=1
        break
    fi
done
if [ -z "$started" ]; then
    echo "ÜBERSPRUNGEN: cupsd startet nicht:" >&2
    cat "$WORK/log/cupsd.out" "$WORK/log/error_log" 2>/dev/null | tail -5 >&2
    exit $SKIP
fi

cat >"$QUEUE_CONF" <<EOF
Out $WORK/out
Log $WORK/log
EOF
# The pdftocairo renderer keeps text as text on its way through PostScript; the default one turns
# the fonts into shapes that pdftotext cannot read.
lpadmin -p "$QUEUE" -E -v "cups-pdf:/$QUEUE" -P "$PPD" -o pdftops-renderer-default=pdftocairo 2>/dev/null ||
    fail "lpadmin kann die Warteschlange $QUEUE nicht anlegen"
lpadmin -d "$QUEUE" || fail "lpadmin kann $QUEUE nicht zum Standarddrucker machen"

"$CLI" generate "$SOURCE/examples/woerter-20.txt" --seed 3 --runs 20 -o "$WORK/raetsel.wbx" >/dev/null ||
    fail "wabrix-cli generate"

# Errors: a printer that does not exist, a document that cannot be read.
out=$("$CLI" print "$WORK/raetsel.wbx" --printer gibtsnicht 2>&1)
[ $? -eq 1 ] || fail "print --printer gibtsnicht: Rückgabewert 1 erwartet"
[ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || fail "print --printer gibtsnicht: eine Zeile erwartet: $out"
out=$("$CLI" print "$WORK/fehlt.wbx" 2>&1)
[ $? -eq 1 ] || fail "print fehlt.wbx: Rückgabewert 1 erwartet"

# The printing path of "Drucken...", on the default printer.
"$CLI" print "$WORK/raetsel.wbx" || fail "wabrix-cli print"

# The finished job: Get-Jobs lists the completed jobs. cupsd may unload a job right after it has
# finished and then answers Get-Jobs from its job cache, which holds no names; Get-Job-Attributes
# loads the job and gives its name.
cat >"$WORK/jobs.test" <<'EOF'
{
    NAME "Abgeschlossene Aufträge"
    OPERATION Get-Jobs
    GROUP operation-attributes-tag
    ATTR charset attributes-charset utf-8
    ATTR naturalLanguage attributes-natural-language de
    ATTR uri printer-uri $uri
    ATTR keyword which-jobs completed
    ATTR keyword requested-attributes job-id,job-name
    STATUS successful-ok
    DISPLAY job-id
}
EOF
cat >"$WORK/job.test" <<'EOF'
{
    NAME "Name des Auftrags"
    OPERATION Get-Job-Attributes
    GROUP operation-attributes-tag
    ATTR charset attributes-charset utf-8
    ATTR naturalLanguage attributes-natural-language de
    ATTR uri printer-uri $uri
    ATTR integer job-id $jobid
    ATTR keyword requested-attributes job-name,job-state
    STATUS successful-ok
    DISPLAY job-name
}
EOF
jobs=
for _ in $(seq 1 150); do
    jobs=$(ipptool -c "ipp://${CUPS_SERVER}/printers/$QUEUE" "$WORK/jobs.test" 2>/dev/null | tail -n +2)
    [ -n "$jobs" ] && break
    sleep 0.2
done
if [ -z "$jobs" ]; then
    tail -20 "$WORK/log/error_log" >&2
    fail "der Druckauftrag wurde nicht abgeschlossen"
fi
[ "$(wc -l <<<"$jobs")" -eq 1 ] || fail "ein abgeschlossener Auftrag erwartet: $jobs"
name=$(ipptool -c -d "jobid=$jobs" "ipp://${CUPS_SERVER}/printers/$QUEUE" "$WORK/job.test" | tail -n +2)
[ "$name" = "Wabrixrätsel" ] || fail "Auftragsname: 'Wabrixrätsel' erwartet, gefunden: '$name'"
echo "Auftrag $jobs abgeschlossen: $name"

pdf=
for _ in $(seq 1 50); do
    pdf=$(find "$WORK/out" -name '*.pdf' | head -1)
    [ -n "$pdf" ] && break
    sleep 0.2
done
[ -n "$pdf" ] || fail "cups-pdf hat keine PDF-Datei geschrieben"

info=$(pdfinfo "$pdf")
grep -q '^Pages: *1$' <<<"$info" || fail "eine Seite erwartet: $(grep Pages <<<"$info")"
grep -q '^Page size: *595\(\.[0-9]*\)\? x 842\(\.[0-9]*\)\? pts (A4)' <<<"$info" ||
    fail "A4 erwartet: $(grep 'Page size' <<<"$info")"
text=$(pdftotext "$pdf" -)
grep -q "Wabrixrätsel" <<<"$text" || fail "der Titel ist nicht als Text im PDF: $(head -3 <<<"$text")"

# The grid starts at the page margin (15 mm) from the left edge of the printable area; its line,
# 0.3 mm wide, is centred on that edge.
read -r left _ < <("$PROBE" margins) || fail "printprobe margins"
pdftoppm -r 300 -gray -png -singlefile "$pdf" "$WORK/seite" || fail "pdftoppm"
# A vertical run of 100 pixels at 300 dpi (8.5 mm) is a grid line, not a letter of the title.
line=$("$PROBE" firstline "$WORK/seite.png" 300 100) || fail "printprobe firstline"
awk -v line="$line" -v left="$left" 'BEGIN {
    expected = left + 15 - 0.15
    diff = line - expected; if (diff < 0) diff = -diff
    printf "erste senkrechte Linie bei %.2f mm, druckbarer Bereich ab %.2f mm, erwartet %.2f mm\n", line, left, expected
    exit diff <= 0.25 ? 0 : 1
}' || fail "die erste senkrechte Linie liegt nicht 15 mm rechts vom Rand des druckbaren Bereichs"

# No silent cut: the 20 words at 100 % are wider than the page, so printing them warns, and --fit-page
# prints them whole without a word; a compact puzzle made for the page's frame fits as it is.
warning=$("$CLI" print "$WORK/raetsel.wbx" 2>&1 >/dev/null) || fail "wabrix-cli print (abgeschnitten)"
grep -q -- "--fit-page" <<<"$warning" || fail "keine Warnung beim Druck eines abgeschnittenen Rätsels: $warning"
warning=$("$CLI" print "$WORK/raetsel.wbx" --fit-page 2>&1 >/dev/null) || fail "wabrix-cli print --fit-page"
[ -z "$warning" ] || fail "print --fit-page warnt: $warning"
"$CLI" generate "$SOURCE/examples/woerter-30.txt" --seed 3 --layout compact --frame page --effort 20000 \
    -o "$WORK/kompakt.wbx" >/dev/null || fail "wabrix-cli generate --layout compact --frame page"
warning=$("$CLI" print "$WORK/kompakt.wbx" 2>&1 >/dev/null) || fail "wabrix-cli print (kompakt)"
[ -z "$warning" ] || fail "das kompakte Rätsel im Rahmen der Seite passt nicht auf die Seite: $warning"
for _ in $(seq 1 150); do
    [ "$(find "$WORK/out" -name '*.pdf' | wc -l)" -ge 4 ] && break
    sleep 0.2
done
[ "$(find "$WORK/out" -name '*.pdf' | wc -l)" -eq 4 ] || fail "vier gedruckte Seiten erwartet"
# cups-pdf may still be writing the last file when it appears.
for printed in "$WORK"/out/*.pdf; do
    for _ in $(seq 1 50); do
        pdfinfo "$printed" 2>/dev/null | grep -q '^Pages: *1$' && break
        sleep 0.2
    done
    pdfinfo "$printed" | grep -q '^Pages: *1$' || fail "$printed: eine Seite erwartet"
done
echo "Warnung beim Abschneiden, ganze Seiten mit --fit-page und im Rahmen der Seite"

# A picture marks where the printable area of the default printer's page ends, the page that the
# pdf of "render" and "print" get. The zoom makes the picture reach past it.
"$CLI" render "$WORK/raetsel.wbx" -o "$WORK/bild.png" --zoom 400 || fail "wabrix-cli render"
read -r width height < <("$PROBE" area) || fail "printprobe area"
read -r column row < <("$PROBE" redlines "$WORK/bild.png") || fail "printprobe redlines"
awk -v width="$width" -v height="$height" -v column="$column" -v row="$row" 'BEGIN {
    x = width / 25.4 * 96; y = height / 25.4 * 96
    printf "Blattende im Bild bei %d, %d; druckbarer Bereich %.1f x %.1f mm, erwartet %.1f, %.1f\n", column, row, width, height, x, y
    dx = column - x; if (dx < 0) dx = -dx
    dy = row - y; if (dy < 0) dy = -dy
    exit dx <= 1 && dy <= 1 ? 0 : 1
}' || fail "das Bild markiert nicht das Ende des druckbaren Bereichs des Standarddruckers"

# Every job the queue has seen, finished or not.
cat >"$WORK/alljobs.test" <<'EOF'
{
    NAME "Alle Aufträge"
    OPERATION Get-Jobs
    GROUP operation-attributes-tag
    ATTR charset attributes-charset utf-8
    ATTR naturalLanguage attributes-natural-language de
    ATTR uri printer-uri $uri
    ATTR keyword which-jobs all
    ATTR keyword requested-attributes job-id,job-state
    STATUS successful-ok
    DISPLAY job-id
}
EOF
job_count() {
    ipptool -c "ipp://${CUPS_SERVER}/printers/$QUEUE" "$WORK/alljobs.test" 2>/dev/null | tail -n +2 | grep -c .
}

# Runs "wabrix-cli print" with the given environment words before it; expects the exit status and a
# message containing the text on standard error.
expect_print() {
    local status=$1 text=$2
    shift 2
    local out got
    out=$(env "$@" "$CLI" print "$WORK/raetsel.wbx" 2>&1)
    got=$?
    [ "$got" -eq "$status" ] || fail "print ($*): Rückgabewert $status erwartet, $got erhalten: $out"
    grep -q "$text" <<<"$out" || fail "print ($*): „$text“ erwartet, gefunden: $out"
    echo "print ($*): $got, $out"
}

# A queue that rejects jobs: nothing is sent, and the command says so.
before=$(job_count)
cupsreject "$QUEUE" || fail "cupsreject"
expect_print 1 "nimmt keine Aufträge an" LANG=C.UTF-8
cupsaccept "$QUEUE" || fail "cupsaccept"
[ "$(job_count)" -eq "$before" ] || fail "die abweisende Warteschlange hat einen Auftrag bekommen"

# A full temporary folder, into which the print system writes the job before sending it: nothing is
# sent (no empty job that CUPS would cancel), and the command says so.
mkdir -p "$FULL_TMP"
mount -t tmpfs -o size=64k tmpfs "$FULL_TMP" || fail "tmpfs für den vollen temporären Ordner"
head -c 1M /dev/zero >"$FULL_TMP/fuellung" 2>/dev/null
expect_print 1 "kein Platz für den Druckauftrag" TMPDIR="$FULL_TMP"
umount "$FULL_TMP"
[ "$(job_count)" -eq "$before" ] || fail "bei vollem temporärem Ordner wurde ein Auftrag gesendet"

# A stopped queue keeps the job until it is started again: that is no failure, but the user hears it.
cupsdisable "$QUEUE" || fail "cupsdisable"
expect_print 0 "angehalten" LANG=C.UTF-8
[ "$(job_count)" -eq $((before + 1)) ] || fail "die angehaltene Warteschlange hält keinen neuen Auftrag"
cancel -a "$QUEUE" 2>/dev/null
cupsenable "$QUEUE" || fail "cupsenable"
echo "Abweisende und angehaltene Warteschlange, voller temporärer Ordner: wie erwartet"

# "Rätsel und Lösung drucken...": one job of two pages, the puzzle without letters, then the solution
# page, whose title ends in " – Lösung" and which alone shows the letters (each on a line of its own in
# the text, grid and boxes alike). Fitted to the page, so that the row of boxes below the grid is on it
# whatever size the generated puzzle has.
rm -f "$WORK"/out/*.pdf
"$CLI" generate "$SOURCE/examples/woerter-20.txt" --seed 3 --runs 20 --solution-word Sommer \
    -o "$WORK/loesungswort.wbx" >/dev/null || fail "wabrix-cli generate --solution-word"
"$CLI" print "$WORK/loesungswort.wbx" --pages both --fit-page || fail "wabrix-cli print --pages both"
pdf=
for _ in $(seq 1 150); do
    pdf=$(find "$WORK/out" -name '*.pdf' | head -1)
    [ -n "$pdf" ] && break
    sleep 0.2
done
[ -n "$pdf" ] || fail "cups-pdf hat für Rätsel und Lösung keine PDF-Datei geschrieben"
sleep 0.5 # cups-pdf may still be writing
grep -q '^Pages: *2$' <<<"$(pdfinfo "$pdf")" || fail "zwei Seiten erwartet: $(pdfinfo "$pdf" | grep Pages)"
puzzle=$(pdftotext -f 1 -l 1 "$pdf" -)
solution=$(pdftotext -f 2 -l 2 "$pdf" -)
[ "$(head -1 <<<"$puzzle")" = "Wabrixrätsel" ] || fail "Seite 1: Titel $(head -1 <<<"$puzzle")"
[ "$(head -1 <<<"$solution")" = "Wabrixrätsel – Lösung" ] || fail "Seite 2: Titel $(head -1 <<<"$solution")"
grep -qx "Lösungswort:" <<<"$puzzle" || fail "Seite 1 hat kein Lösungswort"
grep -qx "Lösungswort:" <<<"$solution" || fail "Seite 2 hat kein Lösungswort"
letters=$(grep -cx '[A-ZÄÖÜß]' <<<"$solution")
[ "$letters" -gt 50 ] || fail "Seite 2: die Buchstaben fehlen ($letters gefunden)"
for letter in S O M E R; do
    grep -qx "$letter" <<<"$solution" || fail "Seite 2: der Buchstabe $letter des Lösungsworts fehlt"
done
found=$(grep -x '[A-ZÄÖÜß]' <<<"$puzzle" | head -5 | tr '\n' ' ')
[ -z "$found" ] || fail "Seite 1 zeigt Buchstaben der Lösung: $found"
if [ -n "${PAGES_OUT:-}" ]; then
    pdftoppm -r 60 -png "$pdf" "$PAGES_OUT" || fail "pdftoppm"
fi
echo "Rätsel und Lösung: 2 Seiten, $letters Buchstaben nur auf der Lösungsseite"
