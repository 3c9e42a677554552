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

# The printer writes the file a moment after the job ends, renamed into place
# when whole; wait until it is there and its size holds still.
pdf="" last=-1
for _ in $(seq 600); do
  pdf=$(ls "$pdfdir"/*"$name"*.pdf 2>/dev/null | head -n 1 || true)
  if [ -n "$pdf" ]; then
    size=$(stat -c %s "$pdf")
    [ "$size" -gt 0 ] && [ "$size" = "$last" ] && break
    last=$size
  fi
  sleep 0.1
done
[ -n "$pdf" ] || { echo "no PDF of the job $name in $pdfdir" >&2; exit 1; }
pdftoppm -png -r 100 -f 1 -l 1 -singlefile "$pdf" "${out%.png}"
rm -f "$pdf"
echo "$out"
