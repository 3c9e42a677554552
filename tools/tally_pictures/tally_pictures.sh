#!/usr/bin/env bash
# Prints the tally of a sample survey through Wine, CUPS and the PDF printer
# in every kind of output (a simple tally, a cross tabulation, bar, choice,
# pie and radar graphs, a radar chart) and saves the first page of each as
# <folder>/<kind>.png for a person to look at.
# Usage: tally_pictures.sh [folder]
#   Needs the Windows build (tools/build.sh win), its runtime
#   (tools/prepare-runtime.sh) and the services (tools/services.sh start).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
: "${BUILD_ROOT:=$root/build}"
pdfdir=${SHEETDESK_PDF_DIR:?start the services first (eval "$(tools/services.sh start)")}
out=$(realpath -m "${1:-$BUILD_ROOT/tally_pictures}")
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="tally-$$-$(date +%s)"

"$root/tools/wine-exec.sh" "$BUILD_ROOT/win/bin/tally_pictures.exe" "Z:${work//\//\\}" "$prefix"

for kind in tally cross bar choice pie radar radarchart; do
  # The printer writes each file a moment after its job ends, renamed into
  # place when whole.
  pdf="" last=-1
  for _ in $(seq 600); do
    pdf=$(ls "$pdfdir"/*"$prefix-$kind"[-_.]*.pdf "$pdfdir"/*"$prefix-$kind".pdf 2>/dev/null | head -n 1 || true)
    if [ -n "$pdf" ]; then
      size=$(stat -c %s "$pdf")
      [ "$size" -gt 0 ] && [ "$size" = "$last" ] && break
      last=$size
    fi
    sleep 0.1
  done
  [ -n "$pdf" ] || { echo "no PDF of $kind in $pdfdir" >&2; exit 1; }
  pdftoppm -png -r 100 -f 1 -l 1 -singlefile "$pdf" "$out/$kind"
  rm -f "$pdf"
  echo "$out/$kind.png"
done
