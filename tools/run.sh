#!/usr/bin/env bash
# Sets up a fresh Debian machine (packages, build, Wine prefix and program
# folder) and starts sheetdesk on the user's display, its windows among the
# display's own (a Wine prefix of its own, without the tests' virtual
# desktop). Builds only the program and what its sample needs: the tests
# and benchmarks are tools/test.sh's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-packages.sh
export BUILD_ROOT=${BUILD_ROOT:-$root/build}
export BUILD_WIN="$BUILD_ROOT/win"
# What the build downloads, fetched before it starts (a failure says what to
# set rather than ending a long build).
bash tools/fetch-mnist.sh "$BUILD_ROOT/host-tools/mnist"
bash tools/build.sh program
export SHEETDESK_WINEPREFIX="$BUILD_WIN/wineprefix-user" SHEETDESK_WINDOWS=own
bash tools/prepare-runtime.sh
. tools/wine-env.sh
cd "$BUILD_WIN/bin"
# The sample survey (tools/sample_survey): made beside the program the first
# time, kept afterwards. It and its Wine server run without the display,
# and the server goes before the program starts.
DISPLAY= "$WINE" ./sample_survey.exe || echo "run.sh: the sample survey was not made; the program starts without it" >&2
"$WINESERVER" -w
sheets=$(find sample/feed -maxdepth 1 -iname '*.bmp' 2>/dev/null | wc -l)
[ "$sheets" -eq 0 ] ||
  echo "run.sh: $sheets sheets of the sample wait in the feeder: read them from the workbench (シート読取, then 読取)"
exec "$WINE" ./sheetdesk.exe "$@"
