#!/usr/bin/env bash
# Configures and builds the three build folders (in $BUILD_ROOT, default build/):
#   build/win     the Windows programs and tests (mingw-w64), run under Wine
#   build/native  the portable code and its tests under ASan and UBSan (GCC)
#   build/fuzz    the libFuzzer targets (clang)
# "program" builds in build/win only what the program and its sample need
# (no tests, no benchmarks): what tools/run.sh starts.
# Usage: build.sh [win|native|fuzz|program ...]   (default: win, native, fuzz)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${BUILD_ROOT:-$root/build}
jobs=${SHEETDESK_BUILD_JOBS:-$(nproc)}

# Clones of the tree share one compiler cache: paths below the tree hash
# relative to it, so the same source compiles once for every clone.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

configure() {  # folder, cmake arguments...
  local dir="$build_root/$1"; shift
  local args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@")
  # A folder configured with other options (or by hand) starts afresh: a
  # changed toolchain or compiler cannot be applied to an existing cache.
  local stamp="$dir/.sheetdesk-configure"
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "${args[*]}" ]; then
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    cmake -S "$root" -B "$dir" "${args[@]}" >/dev/null
    printf '%s' "${args[*]}" >"$stamp"
  fi
}

build() {  # folder, targets...
  local dir=$1; shift
  cmake --build "$build_root/$dir" -j "$jobs" ${1:+--target "$@"}
}

# The folders of the program, its libraries, its data and the tools that
# make its runtime: each folder's "all" target.
program_targets=(foundation/all platform/all screen/all shell/all designer/all reading/all
                 entry/all tally/all program/all ocrlib/all data/all
                 tools/screen_db_load/all tools/sample_survey/all)

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(win native fuzz)
for t in "${targets[@]}"; do
  case "$t" in
    win|program) configure win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" ;;
    native) configure native -DSHEETDESK_SANITIZE=ON ;;
    fuzz)   configure fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
                           -DSHEETDESK_FUZZ=ON -DSHEETDESK_SANITIZE=ON -DSHEETDESK_WERROR=OFF ;;
    *) echo "unknown build: $t" >&2; exit 2 ;;
  esac
  echo "== building $t"
  if [ "$t" = program ]; then
    build win "${program_targets[@]}"
  else
    build "$t"
  fi
done
