#!/usr/bin/env bash
# A CUPS scheduler of the tests' own, with a PDF queue, so that the print tests neither depend on
# nor change the machine's print system (another scheduler may already listen on the usual port).
#   scripts/cups-test-queue.sh start DIR QUEUE OUTPUT.pdf
#   scripts/cups-test-queue.sh stop DIR
# Everything lives in DIR: configuration, spool, logs, the socket DIR/cups.sock that clients reach
# with CUPS_SERVER=DIR/cups.sock, and DIR/port, the loopback port it also listens on (for ipptool).
set -euo pipefail
action=$1
dir=$(realpath -m "$2")

stop() {
  local pid
  pid=$(cat "$dir/state/cupsd.pid" 2>/dev/null || true)
  if [ -n "$pid" ] && kill "$pid" 2>/dev/null; then
    # Gone before a next start binds the same socket.
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$dir/state/cupsd.pid" "$dir/cups.sock"
}

case "$action" in
  start)
    queue=$3
    out=$(realpath -m "$4")
    stop
    mkdir -p "$dir"/{conf/ppd,spool/tmp,tmp,cache,state,log} "$(dirname "$out")"
    # The filters run as lp: they must reach the spool and the temporary folder.
    chmod 0755 "$dir" "$dir"/{conf,spool,cache,state,log}
    chmod 1777 "$dir/tmp" "$dir/spool/tmp"
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    echo "$port" >"$dir/port"
    cat >"$dir/cups-files.conf" <<EOF
ServerRoot $dir/conf
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
FileDevice Yes
EOF
    cat >"$dir/cupsd.conf" <<EOF
LogLevel warn
Listen $dir/cups.sock
Listen 127.0.0.1:$port
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
</Policy>
EOF
    /usr/sbin/cupsd -c "$dir/cupsd.conf" -s "$dir/cups-files.conf"
    export CUPS_SERVER="$dir/cups.sock"
    running() { lpstat -r 2>/dev/null | grep -q 'is running'; }
    for _ in $(seq 100); do running && break; sleep 0.2; done
    running || { echo "the tests' CUPS scheduler did not start; its log:" >&2; cat "$dir/log/error_log" >&2 2>/dev/null; exit 1; }
    lpadmin -p "$queue" -v "file://$out" -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E
    lpadmin -d "$queue"
    ;;
  stop)
    stop
    ;;
  *)
    echo "usage: $0 start DIR QUEUE OUTPUT.pdf | stop DIR" >&2
    exit 2
    ;;
esac
