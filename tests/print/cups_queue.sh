#!/usr/bin/env bash
# A private CUPS daemon with a cups-pdf queue, for one command run against
# it: starts cupsd on its own configuration folder and a free port on
# 127.0.0.1, adds the queue, runs COMMAND with CUPS_SERVER pointing at it,
# waits for every job, and stops the daemon (and removes everything) on exit.
#   cups_queue.sh WORKDIR QUEUE COMMAND...
# The queue's PDFs land in WORKDIR/out, the jobs' control files (their
# attributes) stay in WORKDIR/spool. Any failure to start is an error.
set -euo pipefail

work=$1; queue=$2; shift 2
fail() { echo "cups_queue: $*" >&2; exit 1; }

command -v cupsd >/dev/null || command -v /usr/sbin/cupsd >/dev/null ||
  fail "cupsd is not installed (scripts/bootstrap installs cups)"
cupsd_bin=$(command -v cupsd || echo /usr/sbin/cupsd)
[ -x /usr/lib/cups/backend/cups-pdf ] || fail "the cups-pdf backend is missing (printer-driver-cups-pdf)"
# CUPS_QUEUE_PPD gives the queue another driver description (on the same backend).
ppd=${CUPS_QUEUE_PPD:-/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd}
[ -r "$ppd" ] || fail "$ppd is missing"
# cups-pdf runs as root and reads its settings only from /etc/cups, one file
# per device name: ours names a device of its own and is removed afterwards.
[ "$(id -u)" -eq 0 ] || fail "the cups-pdf backend needs the daemon to run as root"
[ -w /etc/cups ] || fail "/etc/cups is not writable for the cups-pdf settings"

rm -rf "$work"
mkdir -p "$work"/{etc/ppd,spool/tmp,cache,state,log,out,anon,pdfspool}
chmod 755 "$work" "$work"/{etc,spool,cache,state,log}
chmod 1777 "$work"/spool/tmp "$work"/out "$work"/anon "$work"/pdfspool
device="cirquel-$$"
pdfconf="/etc/cups/cups-pdf-$device.conf"
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$pdfconf"
}
trap cleanup EXIT

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cat > "$work/etc/cups-files.conf" <<CONF
ServerRoot $work/etc
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
User lp
Group lp
SystemGroup root
FileDevice Yes
Printcap $work/state/printcap
CONF
cat > "$work/etc/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel info
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat > "$pdfconf" <<CONF
Out $work/out
AnonDirName $work/anon
Spool $work/pdfspool
Log $work/log
Grp root
UserUMask 0022
CONF

"$cupsd_bin" -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" &
pid=$!
export CUPS_SERVER="127.0.0.1:$port"
for _ in $(seq 100); do
  lpstat -r 2>/dev/null | grep -q "is running" && break
  kill -0 "$pid" 2>/dev/null || fail "cupsd ended at start: $(tail -5 "$work/log/error_log" 2>/dev/null)"
  sleep 0.1
done
lpstat -r 2>/dev/null | grep -q "is running" || fail "cupsd did not answer on 127.0.0.1:$port"
lpadmin -p "$queue" -E -v "cups-pdf:/$device" -P "$ppd" ||
  fail "lpadmin could not add the queue: $(tail -5 "$work/log/error_log")"
cupsenable "$queue"
cupsaccept "$queue"

"$@"

for _ in $(seq 600); do
  [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && break
  sleep 0.1
done
[ -z "$(lpstat -o "$queue" 2>/dev/null)" ] || fail "the job did not finish: $(tail -5 "$work/log/error_log")"
# cups-pdf writes the file as the job ends; give it a moment to be complete.
for _ in $(seq 100); do
  ls "$work"/out/*.pdf >/dev/null 2>&1 && break
  ls "$work"/out/*/*.pdf >/dev/null 2>&1 && break
  sleep 0.1
done
