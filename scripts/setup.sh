# Shared by run.sh and test.sh: installs the Debian packages that are missing and configures and builds
# the Release tree in build/. Sourced, not run.

# Packages needed to build and run the program (scdoc turns the manual pages into roff; libcups2-dev
# lets the program ask a printer's queue whether it took a job; hyphen-de holds the German hyphenation
# patterns that fitted clues are broken with, read at run time).
BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev libgl-dev qt6-svg-dev fonts-liberation fonts-wine libbenchmark-dev
    qt6-translations-l10n scdoc libcups2-dev libhyphen-dev hyphen-de)
# Packages only the tests need (test.sh): a CUPS server with a PDF printer that the printing test starts
# for itself, IPP queries and the PDF tools that look at what was printed; xmllint for the SVG pictures;
# clang with libFuzzer for the fuzzers, llvm for the sanitizers' symbolizer (readable stack traces); the
# desktop's MIME database and its tools for the installation test; a virtual display, its keyboard maps,
# xdotool and screenshots for the smoke run of the real window (tests/smoke/window_smoke.sh); the
# packaging tools, lintian and appstreamcli for the package test (tests/tst_package.sh).
TEST_PACKAGES=(cups cups-client cups-ipp-utils printer-driver-cups-pdf ghostscript poppler-utils libxml2-utils
    clang-14 libclang-rt-14-dev llvm-14 xdg-utils libfile-mimeinfo-perl shared-mime-info desktop-file-utils
    xvfb xauth x11-xkb-utils xdotool imagemagick dpkg-dev file lintian appstream)
# Packages for scripts/make-package.sh: dpkg-shlibdeps (dpkg-dev) and file find the programs'
# dependencies for CPack.
PACKAGE_PACKAGES=(dpkg-dev file)
# Packages for scripts/screenshots.sh: a virtual display, driving the window, the clipboard, screenshots.
SCREENSHOT_PACKAGES=(xvfb xauth xdotool xclip imagemagick)
# scripts/install-screenshots.sh also needs a window manager that shows window icons.
INSTALL_SCREENSHOT_PACKAGES=(icewm)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "Bitte als root ausführen oder sudo installieren: $*" >&2
        return 1
    fi
}

# Installs those of the given packages that are not installed yet; quick when all are there.
ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== Installiere: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Builds the given build directory with extra CMake arguments (a later -DCMAKE_BUILD_TYPE overrides
# Release). It is configured when it has no build files yet or was configured with other arguments;
# then from a fresh cache, so that an option left out goes back to its default.
build_tree() {
    local dir=$1
    shift
    local arguments="-G Ninja -DCMAKE_BUILD_TYPE=Release $*"
    local stamp="$dir/wabrix-configured-with"
    if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$arguments" ]; then
        rm -f "$dir/CMakeCache.txt" "$stamp"
        cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" || return 1
        printf '%s\n' "$arguments" >"$stamp"
    fi
    cmake --build "$dir" --parallel "$(nproc)"
}

# Qt wants a private runtime directory for headless runs.
private_runtime_dir() {
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
        export XDG_RUNTIME_DIR
        XDG_RUNTIME_DIR=$(mktemp -d /tmp/wabrix-runtime.XXXXXX)
        chmod 700 "$XDG_RUNTIME_DIR"
    fi
}
