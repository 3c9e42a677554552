#!/usr/bin/env bash
# Starts or stops what the tests need, all private to the build folder:
#   Xvfb (a display for the windows), one wineserver kept alive for the whole
#   run, a PostgreSQL server on a loopback port, and cupsd with the PDF printer.
# Usage: services.sh start|stop   (prints the environment to export on start)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
state="$BUILD_ROOT/services"
mkdir -p "$state"

: "${SHEETDESK_DISPLAY:=:91}"
: "${SHEETDESK_PG_PORT:=55432}"
pgdata="$state/pgdata"
pgsock="$state/pgsock"
pdfdir="$state/pdf"

start_xvfb() {
  if ! xdpyinfo -display "$SHEETDESK_DISPLAY" >/dev/null 2>&1; then
    Xvfb "$SHEETDESK_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 50); do
      xdpyinfo -display "$SHEETDESK_DISPLAY" >/dev/null 2>&1 && break
      sleep 0.1
    done
  fi
}

start_postgres() {
  local bin=/usr/lib/postgresql/15/bin
  mkdir -p "$pgsock"
  chown postgres:postgres "$state" "$pgsock" 2>/dev/null || true
  if [ ! -f "$pgdata/PG_VERSION" ]; then
    install -d -o postgres -g postgres "$pgdata"
    runuser -u postgres -- "$bin/initdb" -D "$pgdata" -E UTF8 --locale=C -A trust >/dev/null
  fi
  if ! runuser -u postgres -- "$bin/pg_ctl" -D "$pgdata" status >/dev/null 2>&1; then
    runuser -u postgres -- "$bin/pg_ctl" -D "$pgdata" -l "$state/postgres.log" -w \
      -o "-p $SHEETDESK_PG_PORT -k $pgsock -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null
  fi
  local psql=(runuser -u postgres -- psql -h "$pgsock" -p "$SHEETDESK_PG_PORT" -d postgres -qtA)
  if [ -z "$("${psql[@]}" -c "select 1 from pg_roles where rolname='sheetdesk'")" ]; then
    "${psql[@]}" -c "create role sheetdesk login superuser password 'sheetdesk'"
  fi
  if [ -z "$("${psql[@]}" -c "select 1 from pg_database where datname='sheetdesk'")" ]; then
    "${psql[@]}" -c "create database sheetdesk owner sheetdesk encoding 'UTF8'"
  fi
}

start_cups() {
  # One cupsd with one PDF printer serves every build folder of the machine.
  # The first start chooses the output folder; later starts, from other build
  # folders too, keep it while it exists, so runs that print at the same time
  # all know where their files land.
  local conf=/etc/cups/cups-pdf.conf current
  current=$(sed -n 's/^Out //p' "$conf")
  if LC_ALL=C lpstat -r 2>/dev/null | grep -q "is running" && [ -n "$current" ] && [ -d "$current" ]; then
    pdfdir=$current
  fi
  mkdir -p "$pdfdir"
  chmod 1777 "$pdfdir"
  # Every job writes into that folder, whoever sent it, and every file name
  # carries the job number ("Document_0-job_N.pdf"), so jobs of one title
  # never overwrite one another.
  sed -i -e "s|^#\{0,1\}Out .*|Out $pdfdir|" -e "s|^#\{0,1\}AnonDirName .*|AnonDirName $pdfdir|" \
    -e "s|^#\{0,1\}Label .*|Label 1|" "$conf"
  if ! LC_ALL=C lpstat -r 2>/dev/null | grep -q "is running"; then
    mkdir -p /run/cups
    cupsd </dev/null >/dev/null 2>&1
    for _ in $(seq 50); do
      LC_ALL=C lpstat -r 2>/dev/null | grep -q "is running" && break
      sleep 0.1
    done
  fi
  if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  fi
  lpadmin -d PDF
}

start_wineserver() {
  # Fails when the server already runs, which is as good.
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
  export DISPLAY="$SHEETDESK_DISPLAY"
  # Start Wine's own long-lived processes (services, device manager, desktop)
  # now, detached from any output: started by the first test they would hold
  # CTest's output pipe open until the end of the run.
  setsid "$WINE" wineboot -u </dev/null >/dev/null 2>&1 || true
}

case "${1:-}" in
  start)
    start_xvfb
    start_postgres
    start_cups
    start_wineserver
    cat <<ENV
export DISPLAY=$SHEETDESK_DISPLAY
export SHEETDESK_PG="DRIVER={PostgreSQL ANSI};Server=127.0.0.1;Port=$SHEETDESK_PG_PORT;Database=sheetdesk;Uid=sheetdesk;Pwd=sheetdesk"
export SHEETDESK_PG_PORT=$SHEETDESK_PG_PORT
export SHEETDESK_PDF_DIR=$pdfdir
ENV
    ;;
  stop)
    "$WINESERVER" -k 2>/dev/null || true
    if [ -f "$pgdata/PG_VERSION" ]; then
      runuser -u postgres -- /usr/lib/postgresql/15/bin/pg_ctl -D "$pgdata" -m fast stop >/dev/null 2>&1 || true
    fi
    if [ -f /run/cups/cupsd.pid ]; then kill "$(cat /run/cups/cupsd.pid)" 2>/dev/null || true; fi
    pkill -x cupsd 2>/dev/null || true
    if [ -f "$state/xvfb.pid" ]; then kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true; rm -f "$state/xvfb.pid"; fi
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
