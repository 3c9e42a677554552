#!/usr/bin/env bash
# Saves a PNG of each screen of the shell (the menu, the database choice,
# the login windows, data clearing) into a folder.
# Usage: shell_pictures.sh [folder]   (default: build/shell_pictures)
#   Needs the Windows build (tools/build.sh win), its runtime
#   (tools/prepare-runtime.sh) and a display: the services' one
#   (eval "$(tools/services.sh start)") or the user's.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
: "${BUILD_ROOT:=$root/build}"
: "${DISPLAY:?start the services first (eval "$(tools/services.sh start)") or set DISPLAY}"
out=$(realpath -m "${1:-$BUILD_ROOT/shell_pictures}")
mkdir -p "$out"
. "$root/tools/wine-env.sh"
windows_out="Z:$(printf '%s' "$out" | tr '/' '\\')"
cd "$BUILD_ROOT/win/bin"
"$WINE" ./shell_pictures.exe "$windows_out"
