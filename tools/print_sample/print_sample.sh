#!/usr/bin/env bash
# Prints the sample report through Wine, CUPS and the PDF printer and saves
# its first page as a PNG for a person to look at.
# Usage: print_sample.sh [out.png]
#   Needs the Windows build (tools/build.sh win), its runtime
#   (tools/prepare-runtime.sh) and the services (tools/services.sh start).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
: "${BUILD_ROOT:=$root/build}"
# The folder of the run's PDF printer, as tools/services.sh start exported it.
pdfdir=${SHEETDESK_PDF_DIR:?start the services first (eval "$(tools/services.sh start)")}
out=$(realpath -m "${1:-$BUILD_ROOT/print_sample.png}")
name="sample-$$-$(date +%s)"

"$root/tools/wine-exec.sh" "$BUILD_ROOT/win/bin/print_sample.exe" "$name"

. "$root/tools/pdf_wait.sh"
pdf=$(wait_for_pdf "$pdfdir" "$name")
pdftoppm -png -r 100 -f 1 -l 1 -singlefile "$pdf" "${out%.png}"
rm -f "$pdf"
echo "$out"
