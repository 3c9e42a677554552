#!/usr/bin/env bash
# Sets up a fresh Debian machine (packages, build, Wine prefix and program
# folder) and starts sheetdesk on the user's display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-packages.sh
bash tools/build.sh win
export BUILD_ROOT=${BUILD_ROOT:-$root/build}
export BUILD_WIN="$BUILD_ROOT/win"
bash tools/prepare-runtime.sh
. tools/wine-env.sh
cd "$BUILD_WIN/bin"
exec "$WINE" ./sheetdesk.exe "$@"
