#!/usr/bin/env bash
# Runs the list paging benchmark (bench/list_paging_bench.cpp) under Wine on the release
# build. Unless SHEETDESK_PG names a running server, it starts the services
# of the benchmark build folder (PostgreSQL on a free port, and what else
# tools/services.sh starts) and stops them again when it ends.
# Usage: bench/list_paging_bench.sh [rows]   (default 100000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_ROOT=${BENCH_ROOT:-$root/build/bench}
export BUILD_WIN="$BUILD_ROOT/win"
bash "$root/bench/build.sh" win
bash "$root/tools/prepare-runtime.sh" >/dev/null
if [ -z "${SHEETDESK_PG:-}" ]; then
  trap 'bash "$root/tools/services.sh" stop' EXIT
  eval "$(bash "$root/tools/services.sh" start)"
fi
cd "$BUILD_WIN/bin"
bash "$root/tools/wine-exec.sh" ./list_paging_bench.exe "$@"
