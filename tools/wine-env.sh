# Sourced: the environment every Wine program of this tree runs in.
# BUILD_WIN is the Windows build folder (default: build/win of the checkout).
: "${SHEETDESK_ROOT:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
: "${BUILD_WIN:=$SHEETDESK_ROOT/build/win}"
export WINEPREFIX="$BUILD_WIN/wineprefix"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
# The 64-bit loader itself: /usr/bin/wine nags about a missing wine32.
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
