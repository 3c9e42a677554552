#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  cmake ninja-build ccache g++ clang libclang-rt-14-dev googletest
  mingw-w64 g++-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xauth x11-utils locales
  fonts-ipafont imagemagick
  fonts-klee fonts-yusei-magic libfreetype-dev
  unixodbc unixodbc-dev libsqliteodbc sqlite3 postgresql odbc-postgresql
  cups cups-bsd printer-driver-cups-pdf poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine's ANSI code page follows the locale: ja_JP.UTF-8 gives 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
