#!/usr/bin/env bash
# Checks that the manual pages keep up with the programs: every option that `wabrix --help`,
# `wabrix-cli --help` or `wabrix-cli BEFEHL --help` lists is mentioned in its manual page, a
# subcommand's options in that subcommand's own section, and every subcommand has a section.
#
#   tests/tst_manpages.sh WABRIX WABRIX_CLI MANPAGE_DIRECTORY
# MANPAGE_DIRECTORY holds the built roff pages wabrix.1 and wabrix-cli.1.
set -euo pipefail
WABRIX=$1
CLI=$2
MAN=$3
export QT_QPA_PLATFORM=offscreen

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The page as plain text lines: roff's escapes for fonts, hyphens and zero-width breaks taken out.
plain_page() {
    sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' -e 's/\\&//g' -e 's/\\(aq/'"'"'/g' "$1"
}

# The lines of one ".SS NAME" section, up to the next section of either level.
page_section() { # page name
    plain_page "$1" | awk -v name="$2" '
        /^\.S[HS] / { inside = ($1 == ".SS" && ($2 == name || $2 == "\"" name "\"")) ; next }
        inside'
}

# The options a help text lists: on Qt's option lines ("  -o <OUT.wbx>  ...", "  -h, --help  ...")
# the names before the description; elsewhere, long options named in the text ("'... --help'"; a
# lone hyphen in German text is no option: "Standardeinstellungen und -schriften").
help_options() {
    awk '
        /^  -/ {
            names = $0
            sub(/^  /, "", names)
            sub(/  .*/, "", names)
            n = split(names, words, /[ ,]+/)
            for (i = 1; i <= n; i++)
                if (words[i] ~ /^--?[A-Za-z0-9]/) print words[i]
            next
        }
        {
            line = $0
            while (match(line, /(^|[ '\''"(])--[A-Za-z][-A-Za-z0-9]*/)) {
                option = substr(line, RSTART, RLENGTH)
                sub(/^[^-]+/, "", option)
                print option
                line = substr(line, RSTART + RLENGTH)
            }
        }' | sort -u
}

# True when the text on standard input mentions the option as a word of its own.
mentions() { # option
    grep -E -- "(^|[^-A-Za-z0-9])$1([^-A-Za-z0-9]|\$)" >/dev/null
}

check_options() { # what text options
    local what=$1 text=$2 options=$3 option
    [ -n "$options" ] || fail "$what: keine Optionen in der Hilfe gefunden"
    for option in $options; do
        mentions "$option" <<<"$text" || fail "$what: $option steht in --help, aber nicht in der Handbuchseite"
    done
}

for page in wabrix.1 wabrix-cli.1; do
    [ -s "$MAN/$page" ] || {
        echo "FAIL: $MAN/$page fehlt" >&2
        exit 1
    }
    # Debian's whatis convention: a NAME section with "program - description".
    whatis=$(plain_page "$MAN/$page" | awk '/^\.SH / { name = ($2 == "NAME"); next } name && /^[^.]/ && !seen++')
    [[ $whatis == "${page%.1} - "?* ]] || fail "$page: NAME-Abschnitt nicht in der Form \"${page%.1} - Beschreibung\""
done

window_help=$("$WABRIX" --help)
check_options "wabrix" "$(plain_page "$MAN/wabrix.1")" "$(help_options <<<"$window_help")"

overview=$("$CLI" --help)
check_options "wabrix-cli" "$(plain_page "$MAN/wabrix-cli.1")" "$(help_options <<<"$overview")"
commands=$(awk '/^Befehle:/ { listing = 1; next } listing && /^  [a-z]/ { print $1 } listing && /^$/ { exit }' <<<"$overview")
[ -n "$commands" ] || fail "wabrix-cli --help nennt keine Befehle"
checked=0
for command in $commands; do
    section=$(page_section "$MAN/wabrix-cli.1" "$command")
    if [ -z "$section" ]; then
        fail "wabrix-cli.1: kein Abschnitt für den Befehl $command"
        continue
    fi
    help=$("$CLI" "$command" --help) || fail "wabrix-cli $command --help endet mit Fehler"
    options=$(help_options <<<"$help")
    check_options "wabrix-cli $command" "$section" "$options"
    checked=$((checked + $(wc -w <<<"$options")))
done

if [ "$failures" -gt 0 ]; then
    echo "$failures Fehler" >&2
    exit 1
fi
echo "PASS: $(wc -w <<<"$commands") Befehle, $checked Optionen in den Handbuchseiten"
