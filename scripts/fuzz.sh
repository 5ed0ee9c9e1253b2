#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for a bounded time: the document
# reader (WABRIX_FUZZ_SECONDS, default 120), the word-list parser (WABRIX_FUZZ_WORDLIST_SECONDS,
# default 30) and the renderer (WABRIX_FUZZ_RENDER_SECONDS, default 60). Fails on any crash, leak,
# failed check, input slower than 10 s, single allocation above 256 MB, or process memory above 512 MB
# for the readers (the document fuzzer starts at about 120 MB with its corpus and ASan's caches and was
# seen at 271 MB after 66,000 inputs; the input it stopped at takes 40 MB run alone), 1 GB for
# the renderer (Qt maps the fallback fonts and caches a font engine and glyphs for every size drawn,
# about 500 MB after five minutes). Findings are kept in build-fuzz/findings/; those fixed go into
# fuzz/findings/, which every run reads again; the corpora in build-fuzz/corpus/ grow from run to run on
# the same machine.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${WABRIX_FUZZ_BUILD:-$ROOT/build-fuzz}
DOCUMENT_SECONDS=${WABRIX_FUZZ_SECONDS:-120}
WORDLIST_SECONDS=${WABRIX_FUZZ_WORDLIST_SECONDS:-30}
RENDER_SECONDS=${WABRIX_FUZZ_RENDER_SECONDS:-60}

if [ ! -f "$BUILD/build.ninja" ]; then
    CC=clang-14 CXX=clang++-14 cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DWABRIX_FUZZ=ON
fi
cmake --build "$BUILD" --target fuzz_document fuzz_wordlist fuzz_render fuzz_seeds

# Seeds: documents made by our own writer and generator, and the example word lists (the first byte
# chooses the format: even tab-separated, odd CSV).
rm -rf "$BUILD/seeds"
mkdir -p "$BUILD/seeds/wordlist" "$BUILD/corpus/document" "$BUILD/corpus/wordlist" "$BUILD/corpus/render" \
    "$BUILD/findings"
"$BUILD/fuzz/fuzz_seeds" "$BUILD/seeds" "$ROOT/examples"
for list in "$ROOT"/examples/*.txt; do
    name=$(basename "$list" .txt)
    { printf '\0'; cat "$list"; } >"$BUILD/seeds/wordlist/$name.tsv"
    { printf '\1'; tr '\t' ';' <"$list"; } >"$BUILD/seeds/wordlist/$name.csv"
done

# ASan keeps freed memory in quarantine (256 MB by default); a smaller one lets the memory limit below
# measure what the target itself holds.
export ASAN_OPTIONS="quarantine_size_mb=32:detect_leaks=1:halt_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/sanitizers/lsan.supp:${LSAN_OPTIONS:-}"

run_fuzzer() {
    local target=$1 seconds=$2 rss=$3
    shift 3
    echo "== $target: $seconds s"
    local inputs=("$BUILD/corpus/${target#fuzz_}" "$BUILD/seeds/${target#fuzz_}")
    [ -d "$ROOT/fuzz/findings/${target#fuzz_}" ] && inputs+=("$ROOT/fuzz/findings/${target#fuzz_}")
    if ! "$BUILD/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb="$rss" -malloc_limit_mb=256 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$BUILD/findings/$target-" "$@" "${inputs[@]}" \
        2>"$BUILD/$target.log"; then
        tail -n 60 "$BUILD/$target.log"
        echo "== $target hat einen Fehler gefunden; Eingabe in $BUILD/findings/ (als Testzeile in tests/ aufnehmen)"
        return 1
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$BUILD/$target.log" || true
}

status=0
run_fuzzer fuzz_document "$DOCUMENT_SECONDS" 512 -dict="$ROOT/fuzz/document.dict" || status=1
run_fuzzer fuzz_wordlist "$WORDLIST_SECONDS" 512 -dict="$ROOT/fuzz/wordlist.dict" || status=1
run_fuzzer fuzz_render "$RENDER_SECONDS" 1024 || status=1
exit $status
