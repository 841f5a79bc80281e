#!/usr/bin/env bash
# Starts the CUPS scheduler with a PDF queue for the print tests, or stops it again.
#   scripts/cups-test-queue.sh start QUEUE OUTPUT.pdf
#   scripts/cups-test-queue.sh stop QUEUE
set -euo pipefail
action=$1
queue=$2
# Set when this script started the scheduler, so that stopping leaves a running one alone.
marker=/run/velunorh-test-cupsd

case "$action" in
  start)
    out=$(realpath -m "$3")
    mkdir -p "$(dirname "$out")"
    conf=/etc/cups/cups-files.conf
    grep -q '^FileDevice Yes' "$conf" 2>/dev/null || echo 'FileDevice Yes' >>"$conf"
    running() { lpstat -r 2>/dev/null | grep -q 'is running'; }
    if ! running; then
      /usr/sbin/cupsd
      touch "$marker"
      for _ in $(seq 100); do running && break; sleep 0.2; done
    fi
    running || { echo "the CUPS scheduler did not start" >&2; exit 1; }
    lpadmin -p "$queue" -v "file://$out" -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E
    lpadmin -d "$queue"
    ;;
  stop)
    lpadmin -x "$queue" 2>/dev/null || true
    if [ -f "$marker" ] && [ -z "$(lpstat -v 2>/dev/null | grep -v '^$' || true)" ]; then
      pid=$(cat /run/cups/cupsd.pid 2>/dev/null || true)
      if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        # Gone before a next start looks for a running scheduler.
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
      fi
      rm -f "$marker"
    fi
    ;;
  *)
    echo "usage: $0 start QUEUE OUTPUT.pdf | stop QUEUE" >&2
    exit 2
    ;;
esac
