#!/usr/bin/env bash
# Checks that scripts/setup.sh's build_tree configures a build directory only when it must: the first
# time, and again (from a fresh cache) whenever the CMake arguments differ from the last ones. A
# stand-in for cmake records every call, so nothing is built.
#
#   tests/tst_setup.sh SOURCE_DIRECTORY
set -uo pipefail
SOURCE=$1
WORK=$(mktemp -d /tmp/wabrix-setup-test.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

mkdir -p "$WORK/bin"
cat >"$WORK/bin/cmake" <<'STANDIN'
#!/usr/bin/env bash
echo "$*" >>"$CALLS"
if [ "$1" = "-S" ]; then
    [ -f "$4/CMakeCache.txt" ] && echo "cache kept" >>"$CALLS"
    mkdir -p "$4" && touch "$4/build.ninja" "$4/CMakeCache.txt"
fi
exit 0
STANDIN
chmod +x "$WORK/bin/cmake"
export PATH="$WORK/bin:$PATH" CALLS="$WORK/calls"
ROOT=$SOURCE
source "$SOURCE/scripts/setup.sh"
BUILD="$WORK/build"

# Runs build_tree with the arguments given; prints "configured" or "built only".
run() {
    : >"$CALLS"
    build_tree "$BUILD" "$@" || fail "build_tree $*"
    grep -q "cache kept" "$CALLS" && fail "build_tree $*: configured over the old cache"
    if grep -q "^-S " "$CALLS"; then echo configured; else echo "built only"; fi
}

check() {
    local expected=$1
    shift
    local got
    got=$(run "$@") || exit 1
    [ "$got" = "$expected" ] || fail "build_tree $*: '$expected' expected, got '$got'"
}

check configured
check "built only"
check configured -DWABRIX_SANITIZE=ON
check "built only" -DWABRIX_SANITIZE=ON
check configured
rm "$BUILD/build.ninja"
check configured
echo "ok"
