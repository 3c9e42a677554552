#!/usr/bin/env bash
# Runs the stroke analysis benchmark (bench/stroke_bench.cpp) natively on the
# release build.
# Usage: bench/stroke_bench.sh [characters]   (default 10000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench_root=${BENCH_ROOT:-$root/build/bench}
bash "$root/bench/build.sh" native
"$bench_root/native/bin/stroke_bench" "$@"
