#!/usr/bin/env bash
# Runs the digit-decision benchmark (bench/structure_digits.cpp) natively on
# the release build.
# Usage: bench/structure_digits.sh [per digit] [training seed] [held-out seed] [digit pack]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench_root=${BENCH_ROOT:-$root/build/bench}
bash "$root/bench/build.sh" native
"$bench_root/native/bin/structure_digits" "$@"
