# Sourced by the printing tools: waits for the PDF printer's file of a job.
# wait_for_pdf <folder> <job name>: prints the path of the job's PDF once
# the printer has written it whole (it renames the file into place and its
# size holds still), or fails after a minute.
wait_for_pdf() {
  local folder=$1 name=$2 pdf="" last=-1 size
  for _ in $(seq 600); do
    pdf=$(ls "$folder"/*"$name"*.pdf 2>/dev/null | head -n 1 || true)
    if [ -n "$pdf" ]; then
      size=$(stat -c %s "$pdf")
      if [ "$size" -gt 0 ] && [ "$size" = "$last" ]; then
        echo "$pdf"
        return 0
      fi
      last=$size
    fi
    sleep 0.1
  done
  echo "no PDF of the job $name in $folder" >&2
  return 1
}
