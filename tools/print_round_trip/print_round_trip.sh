#!/usr/bin/env bash
# Runs the printing round trip (print_round_trip.cpp) under Wine with the
# build's own CUPS PDF printer: numbered sheets printed by the program,
# rendered, filled, scanned and read back.
# Usage: print_round_trip.sh [sheets]   (2)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_ROOT:-$root/build}
BUILD_WIN="$build/win" bash "$root/tools/prepare-runtime.sh" >/dev/null
trap 'bash "$root/tools/services.sh" stop' EXIT
eval "$(bash "$root/tools/services.sh" start)"
cd "$build/win/bin"
bash "$root/tools/wine-exec.sh" ./print_round_trip.exe "${1:-2}"
