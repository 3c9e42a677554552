#!/bin/sh
# CUPS backend of the test printer: writes each job as a PDF into the folder
# its device URI names ("sheetdesk-pdf:/path"), as "<title>-job_<id>.pdf".
# The file appears whole (written under a temporary name, then renamed).
# Arguments as CUPS passes them: job-id user title copies options [file].
if [ $# -eq 0 ]; then
  echo 'file sheetdesk-pdf "Unknown" "PDF files of the test runs"'
  exit 0
fi
job=$1
title=$(printf '%s' "$3" | tr '/\\' '__')
[ -n "$title" ] || title=untitled
folder=${DEVICE_URI#sheetdesk-pdf:}
input=${6:--}
out="$folder/$title-job_$job.pdf"
part="$folder/.$job.part"
if ! gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=pdfwrite -sOutputFile="$part" "$input" >/dev/null 2>&1; then
  rm -f "$part"
  echo "ERROR: ghostscript could not write $out" >&2
  exit 1   # CUPS_BACKEND_FAILED
fi
chmod 0644 "$part"
mv -f "$part" "$out"
exit 0
