#!/usr/bin/env bash
# Prints the sample report through Wine, CUPS and the PDF printer and saves
# its first page as a PNG for a person to look at.
# Usage: print_sample.sh [out.png]   (see tools/print-to-png.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exec bash "$root/tools/print-to-png.sh" print_sample "${1:-${BUILD_ROOT:-$root/build}/print_sample.png}"
