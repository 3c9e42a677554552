#!/usr/bin/env bash
# Prints the sample OCR sheet (tests/tally/sample_sheet.cpp) as a blank
# sheet through Wine, CUPS and the PDF printer and saves the page as a PNG
# for a person to look at; PNG_DPI sets its resolution (100).
# Usage: print_sheet.sh [out.png]   (see tools/print-to-png.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_ROOT:-$root/build}
work="$build/print_sheet_work"
mkdir -p "$work"
exec bash "$root/tools/print-to-png.sh" print_sheet "${1:-$build/print_sheet.png}" "Z:${work//\//\\}"
