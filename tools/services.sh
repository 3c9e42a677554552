#!/usr/bin/env bash
# Starts or stops what the tests need, all private to the build folder, so that
# two checkouts can run their tests side by side and nothing the machine
# already runs is touched:
#   - Xvfb on a display it picks itself (-displayfd);
#   - one wineserver kept alive for the whole run (per Wine prefix);
#   - a PostgreSQL cluster on the first free loopback port from 55432;
#   - a cupsd of our own (own configuration, spool and socket) with one PDF
#     printer whose backend writes each job as a PDF into our folder, and a
#     printer "REFUSING" that takes no job (for the tests of refused jobs).
# Every process started is remembered by its pid and stopped by it.
# Usage: services.sh start|stop   (start prints the environment to export)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
# The servers' own users (postgres, and lp for CUPS's filters) must reach
# their folders. A build folder they cannot enter (a clone in root's home),
# or one so deep that the servers' sockets in it would pass the 107 bytes of
# a socket's path, gets its services' folder under /var/tmp, linked from the
# build folder.
mkdir -p "$BUILD_ROOT"
if [ ! -e "$BUILD_ROOT/services" ] && { [ "$(printf %s "$BUILD_ROOT" | wc -c)" -gt 60 ] ||
     ! runuser -u nobody -- test -x "$BUILD_ROOT" 2>/dev/null; }; then
  reachable=$(mktemp -d /var/tmp/sheetdesk-services.XXXXXX)
  chmod 755 "$reachable"
  ln -s "$reachable" "$BUILD_ROOT/services"
fi
state=$(readlink -f "$BUILD_ROOT/services")
mkdir -p "$state"
# The servers' commands run as their users start in a folder they can enter.
cd "$state"

pgbin=/usr/lib/postgresql/15/bin
pgdata="$state/pgdata"
pgsock="$state/pgsock"
cups="$state/cups"
pdfdir="$state/pdf"

alive() {  # pid file
  [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null
}

start_xvfb() {
  if alive "$state/xvfb.pid" && [ -s "$state/display" ] &&
     xdpyinfo -display ":$(cat "$state/display")" >/dev/null 2>&1; then
    return
  fi
  rm -f "$state/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
    3>"$state/display" >"$state/xvfb.log" 2>&1 </dev/null &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$state/display" ] && break
    sleep 0.1
  done
  [ -s "$state/display" ] || { echo "Xvfb did not start (see $state/xvfb.log)" >&2; exit 1; }
}

postgres_running() {
  runuser -u postgres -- "$pgbin/pg_ctl" -D "$pgdata" status >/dev/null 2>&1
}

start_postgres() {
  mkdir -p "$pgsock"
  chown postgres:postgres "$state" "$pgsock" 2>/dev/null || true
  if [ ! -f "$pgdata/PG_VERSION" ]; then
    install -d -o postgres -g postgres "$pgdata"
    runuser -u postgres -- "$pgbin/initdb" -D "$pgdata" -E UTF8 --locale=C -A trust >/dev/null
  fi
  if ! postgres_running || [ ! -s "$state/pg.port" ]; then
    # The first port from 55432 that no one listens on; a server that fails
    # to bind (another run took the port meanwhile) moves on to the next.
    local port started=""
    for port in $(seq 55432 55531); do
      ss -Hltn "sport = :$port" 2>/dev/null | grep -q . && continue
      if runuser -u postgres -- "$pgbin/pg_ctl" -D "$pgdata" -l "$state/postgres.log" -w \
           -o "-p $port -k $pgsock -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null 2>&1; then
        echo "$port" >"$state/pg.port"
        started=1
        break
      fi
    done
    [ -n "$started" ] || { echo "PostgreSQL did not start (see $state/postgres.log)" >&2; exit 1; }
  fi
  local port; port=$(cat "$state/pg.port")
  local psql=(runuser -u postgres -- psql -h "$pgsock" -p "$port" -d postgres -qtA)
  if [ -z "$("${psql[@]}" -c "select 1 from pg_roles where rolname='sheetdesk'")" ]; then
    "${psql[@]}" -c "create role sheetdesk login superuser password 'sheetdesk'"
  fi
  if [ -z "$("${psql[@]}" -c "select 1 from pg_database where datname='sheetdesk'")" ]; then
    "${psql[@]}" -c "create database sheetdesk owner sheetdesk encoding 'UTF8'"
  fi
}

write_cups_files() {
  mkdir -p "$cups/etc/ppd" "$cups/spool/tmp" "$cups/cache" "$cups/run" "$cups/log" "$cups/bin/backend" "$pdfdir"
  chmod 1777 "$pdfdir"
  # The machine's filters and helpers, our own backend.
  local d
  for d in filter daemon cgi-bin notifier driver monitor; do
    [ -e "/usr/lib/cups/$d" ] && ln -sfn "/usr/lib/cups/$d" "$cups/bin/$d"
  done
  install -m 0700 "$here/cups-pdf-backend.sh" "$cups/bin/backend/sheetdesk-pdf"
  cat >"$cups/etc/cupsd.conf" <<CONF
Listen $cups/cups.sock
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$cups/etc/cups-files.conf" <<CONF
ServerRoot $cups/etc
ServerBin $cups/bin
RequestRoot $cups/spool
TempDir $cups/spool/tmp
CacheDir $cups/cache
StateDir $cups/run
ErrorLog $cups/log/error_log
AccessLog $cups/log/access_log
PageLog $cups/log/page_log
Printcap $cups/run/printcap
FileDevice Yes
SystemGroup root
CONF
}

cups_lp() {  # a CUPS client command against our server
  CUPS_SERVER="$cups/cups.sock" "$@"
}

start_cups() {
  if ! alive "$state/cupsd.pid"; then
    write_cups_files
    rm -f "$cups/cups.sock"
    cupsd -f -c "$cups/etc/cupsd.conf" -s "$cups/etc/cups-files.conf" \
      </dev/null >"$cups/log/cupsd.out" 2>&1 &
    echo $! >"$state/cupsd.pid"
    for _ in $(seq 100); do
      [ -S "$cups/cups.sock" ] && LC_ALL=C cups_lp lpstat -r 2>/dev/null | grep -q "is running" && break
      sleep 0.1
    done
    LC_ALL=C cups_lp lpstat -r 2>/dev/null | grep -q "is running" ||
      { echo "cupsd did not start (see $cups/log)" >&2; exit 1; }
  fi
  local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  add_pdf_printer PDF "$ppd"
  cups_lp lpadmin -d PDF
  add_pdf_printer REFUSING "$ppd"
  cups_lp cupsreject REFUSING
  # A PDF printer with the unprintable margins of an ordinary printer: 5 mm
  # (14.17 points) on every side of every paper.
  margin_ppd "$ppd" >"$cups/margins.ppd"
  add_pdf_printer MARGINS "$cups/margins.ppd"
}

# A PDF printer of ours, unless it is there already. What lpadmin says is
# shown only when it fails (it always warns that PPD files are deprecated).
add_pdf_printer() {  # name, PPD file
  cups_lp lpstat -p "$1" >/dev/null 2>&1 && return
  local said
  said=$(cups_lp lpadmin -p "$1" -v "sheetdesk-pdf:$pdfdir" -E -P "$2" 2>&1) || {
    printf 'services: the printer %s could not be added:\n%s\n' "$1" "$said" >&2
    exit 1
  }
}

# The PDF printer's PPD with margins of 5 mm: each imageable area shrunk by
# them, and the hardware margins said.
margin_ppd() {  # the PDF printer's PPD
  awk -v m=14.17 '
    /^\*HWMargins:/ { print "*HWMargins: " m " " m " " m " " m; next }
    /^\*ImageableArea / && match($0, /"[^"]*"/) {
      split(substr($0, RSTART + 1, RLENGTH - 2), a, " ")
      printf "%s\"%.2f %.2f %.2f %.2f\"\n", substr($0, 1, RSTART - 1), a[1] + m, a[2] + m, a[3] - m, a[4] - m
      next
    }
    { print }' "$1"
}

start_wineserver() {
  # Fails when the server already runs, which is as good.
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
  export DISPLAY=":$(cat "$state/display")"
  export CUPS_SERVER="$cups/cups.sock"
  # Start Wine's own long-lived processes (services, device manager, desktop)
  # now, detached from any output: started by the first test they would hold
  # CTest's output pipe open until the end of the run.
  setsid "$WINE" wineboot -u </dev/null >/dev/null 2>&1 || true
}

stop_pid() {  # pid file
  if alive "$1"; then
    local pid; pid=$(cat "$1")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$1"
}

case "${1:-}" in
  start)
    start_xvfb
    start_postgres
    start_cups
    start_wineserver
    port=$(cat "$state/pg.port")
    cat <<ENV
export DISPLAY=:$(cat "$state/display")
export CUPS_SERVER=$cups/cups.sock
export SHEETDESK_PG="DRIVER={PostgreSQL ANSI};Server=127.0.0.1;Port=$port;Database=sheetdesk;Uid=sheetdesk;Pwd=sheetdesk"
export SHEETDESK_PG_PORT=$port
export SHEETDESK_PDF_DIR=$pdfdir
ENV
    ;;
  stop)
    "$WINESERVER" -k 2>/dev/null || true
    if [ -f "$pgdata/PG_VERSION" ] && postgres_running; then
      runuser -u postgres -- "$pgbin/pg_ctl" -D "$pgdata" -m fast stop >/dev/null 2>&1 || true
    fi
    stop_pid "$state/cupsd.pid"
    stop_pid "$state/xvfb.pid"
    rm -f "$state/display"
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
