#!/usr/bin/env bash
# Runs the sheet printing benchmark (bench/sheet_print_bench.cpp) on the
# release build under Wine with the build's own CUPS PDF printer: numbered
# sheets a second into a PDF, and the reading speed on printed pages next to
# generated ones.
# Usage: bench/sheet_print_bench.sh [sheets] [pages read]   (1000, 200)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench_root=${BENCH_ROOT:-$root/build/bench}
bash "$root/bench/build.sh" win
export BUILD_WIN="$bench_root/win"
bash "$root/tools/prepare-runtime.sh" >/dev/null
trap 'bash "$root/tools/services.sh" stop' EXIT
eval "$(bash "$root/tools/services.sh" start)"
cd "$BUILD_WIN/bin"
bash "$root/tools/wine-exec.sh" ./sheet_print_bench.exe "${1:-1000}" "${2:-200}"
rm -rf sheet_print_bench_work
