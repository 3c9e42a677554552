#!/usr/bin/env bash
# Runs a printing program of the Windows build and saves the first page of
# the PDF its job left with the run's PDF printer as a PNG, for a person to
# look at. The program takes the job's document name as its first argument
# (by which its PDF is found), then the arguments given here.
# Usage: print-to-png.sh program out.png [arguments...]
#   Needs the Windows build (tools/build.sh win), its runtime
#   (tools/prepare-runtime.sh) and the services (tools/services.sh start).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
: "${BUILD_ROOT:=$root/build}"
# The folder of the run's PDF printer, as tools/services.sh start exported it.
pdfdir=${SHEETDESK_PDF_DIR:?start the services first (eval "$(tools/services.sh start)")}
program=$1 out=$(realpath -m "$2")
shift 2
name="$program-$$-$(date +%s)"

"$root/tools/wine-exec.sh" "$BUILD_ROOT/win/bin/$program.exe" "$name" "$@"

. "$root/tools/pdf_wait.sh"
pdf=$(wait_for_pdf "$pdfdir" "$name")
pdftoppm -png -r "${PNG_DPI:-100}" -f 1 -l 1 -singlefile "$pdf" "${out%.png}"
rm -f "$pdf"
echo "$out"
