# Sourced: the environment every Wine program of this tree runs in.
# BUILD_ROOT holds the build folders (default: build/ of the checkout), BUILD_WIN
# the Windows one (default: $BUILD_ROOT/win).
: "${SHEETDESK_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
: "${BUILD_ROOT:=$SHEETDESK_ROOT/build}"
: "${BUILD_WIN:=$BUILD_ROOT/win}"
# SHEETDESK_WINEPREFIX picks another prefix of the build (tools/run.sh has
# one of its own, without the tests' virtual desktop).
export WINEPREFIX="${SHEETDESK_WINEPREFIX:-$BUILD_WIN/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
# The 64-bit loader itself: /usr/bin/wine nags about a missing wine32.
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
