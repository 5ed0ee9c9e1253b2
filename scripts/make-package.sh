#!/usr/bin/env bash
# Builds the Release tree in build/ and makes the Debian package wabrix_VERSION_ARCH.deb from it with
# CPack (packaging/debian.cmake); installs the missing build and packaging tools first (as root or with
# sudo). Install the package with: sudo apt install ./out/package/wabrix_*.deb
#
#   scripts/make-package.sh [OUTPUT_DIRECTORY]          (default: out/package)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/setup.sh"
OUT=$(realpath -m "${1:-$ROOT/out/package}")

ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
build_tree "$ROOT/build"
if grep -q '^WABRIX_SANITIZE:BOOL=ON' "$ROOT/build/CMakeCache.txt"; then
    echo "build/ ist mit WABRIX_SANITIZE=ON eingerichtet; für das Paket bitte ohne" >&2
    exit 1
fi
mkdir -p "$OUT"
(cd "$ROOT/build" && cpack -G DEB -B "$OUT")
rm -rf "$OUT/_CPack_Packages"
deb=$(ls -t "$OUT"/wabrix_*.deb | head -n 1)
echo
echo "Paket: $deb"
echo "Installieren: sudo apt install $(realpath --relative-to=. "$deb" | sed 's|^[^./]|./&|')"
