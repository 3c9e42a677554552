#!/usr/bin/env bash
# Builds the benchmarks in their own release configuration (optimised, no
# sanitizers, no debug checks), apart from the test builds:
#   build/bench/win     the Windows benchmarks and our DLLs, run under Wine
#   build/bench/native  the native benchmarks and the plain baseline programs
# Installs what is missing first, as the test script does.
# Usage: bench/build.sh [win|native ...]   (default: both)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench_root=${BENCH_ROOT:-$root/build/bench}

bash "$root/tools/install-packages.sh"

configure() {  # folder, cmake arguments...
  local dir="$bench_root/$1"; shift
  if [ ! -f "$dir/build.ninja" ]; then
    mkdir -p "$dir"
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.log" 2>&1 ||
      { tail -n 40 "$dir.log" >&2; exit 1; }
  fi
}

kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(win native)
for kind in "${kinds[@]}"; do
  case "$kind" in
    win)    configure win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" ;;
    native) configure native ;;
    *) echo "unknown build: $kind" >&2; exit 2 ;;
  esac
  log="$bench_root/$kind.log"
  if ! cmake --build "$bench_root/$kind" --target benchmarks -j "${SHEETDESK_BUILD_JOBS:-$(nproc)}" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    exit 1
  fi
done
