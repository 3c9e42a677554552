#!/usr/bin/env bash
# Runs the reading run benchmark (bench/reading_run_bench.cpp) on the release
# build under Wine: generated A4 sheets at 300 dpi fed to operation runs into
# an SQLite output table on one core; prints sheets a second, the stages of
# the per-sheet step and the ratio to a plain program's run of the same file
# work on the same pages (plus their unpack), per run and as minimum, median
# and maximum, with the targets.
# Usage: bench/reading_run_bench.sh [sheets] [runs]   (default 1000, 3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sheets=${1:-1000}
runs=${2:-3}
bench_root=${BENCH_ROOT:-$root/build/bench}
bash "$root/bench/build.sh" win
export BUILD_WIN="$bench_root/win"
bash "$root/tools/prepare-runtime.sh" >/dev/null
cd "$BUILD_WIN/bin"
bash "$root/tools/wine-exec.sh" ./reading_run_bench.exe "$sheets" "$runs"
rm -rf reading_bench_work
