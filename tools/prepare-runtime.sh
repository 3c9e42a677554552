#!/usr/bin/env bash
# Prepares the runtime of the Windows build in BUILD_WIN: the Wine prefix with
# the system's Japanese face names mapped to the IPA fonts (the handwriting
# face to Klee One), and the program folder (bin/) with the shipped data and
# settings. Safe to run again.
# SHEETDESK_WINDOWS=own leaves the prefix without the virtual desktop, so
# that the program's windows are windows of the user's display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

# What runs here runs without the display: Wine's set-up shows its progress
# windows on one (and the Mono and Gecko installers without the overrides of
# tools/wine-env.sh).
wine_aside() { env -u DISPLAY "$WINE" "$@"; }

# Waits for the Wine server of the prefix to finish its work. A server that
# is already gone is not a failure of the set-up.
settle() { "$WINESERVER" -w || true; }

# A set-up step through Wine: tried once more after the Wine server has
# settled, and when it fails again the set-up stops, naming the step and
# showing what Wine said.
wine_step() {
  local said
  said=$(wine_aside "$@" 2>&1) && return
  settle
  said=$(wine_aside "$@" 2>&1) && return
  printf 'prepare-runtime: "wine %s" failed in %s:\n%s\n' "$*" "$WINEPREFIX" "$said" >&2
  exit 1
}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "creating the Wine prefix in $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  said=$(wine_aside wineboot -i 2>&1) || true
  settle
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    printf 'prepare-runtime: Wine made no prefix in %s:\n%s\n' "$WINEPREFIX" "$said" >&2
    exit 1
  fi
fi

# Named anew whenever the settings below change, so older prefixes get them.
stamp="$WINEPREFIX/.sheetdesk-settings-3"
if [ ! -f "$stamp" ]; then
  # One virtual desktop holds every window: with no window manager on the
  # display, Wine would otherwise wait for each top-level window to map and
  # unmap (seconds per window in a test run).
  if [ "${SHEETDESK_WINDOWS:-desktop}" != own ]; then
    wine_step reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    wine_step reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f
  fi
  # The sheets' handwriting face "KQMUPA" is played by the free Klee One.
  # Message boxes and dialogs write in "MS Shell Dlg", which Japanese
  # Windows takes as "MS UI Gothic": left to the fallback, Wine picks the
  # fixed-pitch IPAGothic, whose low underscore falls below the line a box
  # gives its text ("KAITO_集計用" showed "KAITO 集計用").
  for pair in "ＭＳ 明朝=IPAMincho" "ＭＳ ゴシック=IPAGothic" \
              "ＭＳ Ｐ明朝=IPAPMincho" "ＭＳ Ｐゴシック=IPAPGothic" "KQMUPA=Klee One" \
              "MS UI Gothic=IPAPGothic"; do
    wine_step reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v "${pair%%=*}" /d "${pair#*=}" /f
  done
  settle
  touch "$stamp"
fi

# A machine without a sound card: Wine's sound driver stays unloaded (an
# empty driver list), or ALSA writes its complaints to the terminal each
# time a program plays a sound. Decided again when the machine changes.
sound=card
grep -q '^ *[0-9]' /proc/asound/cards 2>/dev/null || sound=none
if [ ! -f "$WINEPREFIX/.sheetdesk-sound-$sound" ]; then
  if [ "$sound" = none ]; then
    wine_step reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f
  else
    wine_aside reg delete 'HKCU\Software\Wine\Drivers' /v Audio /f >/dev/null 2>&1 || true
  fi
  settle
  rm -f "$WINEPREFIX"/.sheetdesk-sound-*
  touch "$WINEPREFIX/.sheetdesk-sound-$sound"
fi

# Wine draws the caption buttons, scroll arrows and check marks of every
# window with the symbols of its Marlett font. This Wine looks for its own
# fonts at "<data dir>\\../fonts", a path its file layer refuses, so the
# font of fonts-wine is never found and the symbols' letters ("0 1 r")
# show instead: the prefix's font folder, which Wine reads, gets a copy.
marlett=/usr/share/wine/fonts/marlett.ttf
fonts_dir="$WINEPREFIX/drive_c/windows/Fonts"
if [ -f "$marlett" ] && ! cmp -s "$marlett" "$fonts_dir/marlett.ttf"; then
  mkdir -p "$fonts_dir"
  cp "$marlett" "$fonts_dir/marlett.ttf"
fi

# The program folder: what the program ships, beside the executables. The
# UTF-8 sources in data/text/ and data/manuals/ stay behind: the build
# writes their Shift-JIS and PDF files there.
mkdir -p "$BUILD_WIN/bin"
tar -C "$SHEETDESK_ROOT/data" --exclude=./text --exclude=./manuals --exclude=./CMakeLists.txt --exclude=./pictures -cf - . | tar -C "$BUILD_WIN/bin" -xf -

# The screen database: the screen texts of data/screens/ loaded through the
# program's own database layer into the database OCR.INI names. The
# benchmarks' build has no loader and opens no screen.
if [ -f "$BUILD_WIN/bin/screen_db_load.exe" ] && compgen -G "$BUILD_WIN/bin/screens/*.txt" >/dev/null; then
  (cd "$BUILD_WIN/bin" && wine_aside ./screen_db_load.exe screens) || {
    echo "prepare-runtime: the screens of $BUILD_WIN/bin/screens were not loaded into the screen database" >&2
    exit 1
  }
fi

# The loader above ran without the tests' display: its Wine server must be
# gone before a program of the display starts, or that program would join
# it and find no display to make its windows on.
settle
