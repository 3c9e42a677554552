#!/usr/bin/env bash
# Runs one Windows program of the build under Wine (CTest's emulator).
# The prefix must have been prepared by tools/prepare-runtime.sh.
here=$(cd "$(dirname "$0")" && pwd)
# The build folder is the one that holds the program, one level above bin/
# (the tests start the programs by a link to bin/ elsewhere).
if [ -z "${BUILD_WIN:-}" ]; then
  BUILD_WIN=$(cd -P "$(dirname "$1")/.." && pwd)
fi
export BUILD_WIN
. "$here/wine-env.sh"
exec "$WINE" "$@"
