#!/usr/bin/env bash
# Sets up a fresh Debian machine (packages, build, Wine prefix and program
# folder) and starts sheetdesk on the user's display, its windows among the
# display's own (a Wine prefix of its own, without the tests' virtual
# desktop).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash tools/install-packages.sh
bash tools/build.sh win
export BUILD_ROOT=${BUILD_ROOT:-$root/build}
export BUILD_WIN="$BUILD_ROOT/win"
export SHEETDESK_WINEPREFIX="$BUILD_WIN/wineprefix-user" SHEETDESK_WINDOWS=own
bash tools/prepare-runtime.sh
. tools/wine-env.sh
cd "$BUILD_WIN/bin"
# The sample survey (tools/sample_survey): made beside the program the first
# time, kept afterwards. Its Wine server, without the display, goes before
# the program starts.
"$WINE" ./sample_survey.exe || echo "run.sh: the sample survey was not made; the program starts without it" >&2
"$WINESERVER" -w
exec "$WINE" ./sheetdesk.exe "$@"
