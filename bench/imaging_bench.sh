#!/usr/bin/env bash
# Runs the imaging benchmark (bench/imaging_bench.cpp under Wine, against
# bench/imaging_native.c natively) on the release build: writes the pages,
# runs the plain native program over them, then the imaging libraries, and
# prints both figures, the ratio and the target.
# Usage: bench/imaging_bench.sh [pages]   (default 200)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pages=${1:-200}
bench_root=${BENCH_ROOT:-$root/build/bench}
bash "$root/bench/build.sh" win native
export BUILD_WIN="$bench_root/win"
bash "$root/tools/prepare-runtime.sh" >/dev/null

bin="$BUILD_WIN/bin"
cd "$bin"
bash "$root/tools/wine-exec.sh" ./imaging_bench.exe make "$pages"
# Each side starts with the pages in the cache and nothing left to write
# back from before it.
sync
native=$("$bench_root/native/bin/imaging_native" \
           imaging_bench_work/pages imaging_bench_work/native "$pages")
rate=$(sed -E 's/^plain native program: ([0-9.]+) pages.*/\1/' <<<"$native")
sync
bash "$root/tools/wine-exec.sh" ./imaging_bench.exe run "$pages" "$rate"
echo "  ($native)"
rm -rf imaging_bench_work
