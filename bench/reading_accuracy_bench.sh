#!/usr/bin/env bash
# Runs the reading accuracy benchmark (bench/reading_accuracy_bench.cpp) on
# the native release build: generated sheets with every degradation, read as
# the run reads pages; prints the share of boxes read wrongly, the sheets
# refused for missing marks and their targets.
# Usage: bench/reading_accuracy_bench.sh [sheets] [jobs]   (default 10000, 2)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sheets=${1:-10000}
jobs=${2:-2}
bench_root=${BENCH_ROOT:-$root/build/bench}
bash "$root/bench/build.sh" native
"$bench_root/native/bin/reading_accuracy_bench" "$sheets" "$jobs"
