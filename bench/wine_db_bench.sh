#!/usr/bin/env bash
# Runs a database benchmark program of the release build under Wine. Unless
# SHEETDESK_PG names a running server, it starts the services of the
# benchmark build folder (PostgreSQL on a free port, and what else
# tools/services.sh starts) and stops them again when it ends.
# Usage: bench/wine_db_bench.sh <program.exe> [arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$1
shift
export BUILD_ROOT=${BENCH_ROOT:-$root/build/bench}
export BUILD_WIN="$BUILD_ROOT/win"
bash "$root/bench/build.sh" win
bash "$root/tools/prepare-runtime.sh" >/dev/null
if [ -z "${SHEETDESK_PG:-}" ]; then
  trap 'bash "$root/tools/services.sh" stop' EXIT
  eval "$(bash "$root/tools/services.sh" start)"
fi
cd "$BUILD_WIN/bin"
bash "$root/tools/wine-exec.sh" "./$program" "$@"
