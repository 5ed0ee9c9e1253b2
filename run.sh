#!/usr/bin/env bash
# Installs what is missing, builds the Release build and starts the program.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
source "$ROOT/scripts/setup.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
build_tree "$ROOT/build"
exec "$ROOT/build/app/wabrix" "$@"
