#!/usr/bin/env bash
# Prints the tally of a sample survey through Wine, CUPS and the PDF printer
# in every kind of output (a simple tally, a cross tabulation, bar, choice,
# pie and radar graphs, a radar chart) and saves the first page of each as
# <folder>/<kind>.png for a person to look at; the print-settings screens of
# the tally table and of pie graphs with their previews as
# <folder>/settings-tally.png and settings-pie.png, and the graph-colour
# window as <folder>/graph-colours.png, and the tally's menu screens as
# <folder>/screen-<code>.png.
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

"$root/tools/wine-exec.sh" "$BUILD_ROOT/win/bin/tally_pictures.exe" "Z:${work//\//\\}" "$prefix" \
  "Z:${out//\//\\}"
echo "$out/settings-tally.png"
echo "$out/settings-pie.png"
echo "$out/graph-colours.png"
for code in SPRN-MENU GCOL-SET GCOL-SET2; do echo "$out/screen-$code.png"; done

. "$root/tools/pdf_wait.sh"
for kind in tally cross bar choice pie radar radarchart; do
  pdf=$(wait_for_pdf "$pdfdir" "$prefix-$kind-")
  pdftoppm -png -r 100 -f 1 -l 1 -singlefile "$pdf" "$out/$kind"
  rm -f "$pdf"
  echo "$out/$kind.png"
done
