#!/usr/bin/env bash
# Runs the database benchmark (bench/db_bench.cpp) under Wine: builds the
# Windows build when needed, starts the services unless SHEETDESK_PG names a
# running server already (a private display, port and printer of this build
# folder) and prints the figures. The services stay up.
# Usage: bench/db_bench.sh [rows]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_ROOT=${BUILD_ROOT:-$root/build}
export BUILD_WIN="$BUILD_ROOT/win"
bash "$root/tools/build.sh" win >/dev/null
cmake --build "$BUILD_WIN" --target db_bench >/dev/null
bash "$root/tools/prepare-runtime.sh"
if [ -z "${SHEETDESK_PG:-}" ]; then
  eval "$(bash "$root/tools/services.sh" start)"
fi
cd "$BUILD_WIN/bin"
exec bash "$root/tools/wine-exec.sh" ./db_bench.exe "$@"
