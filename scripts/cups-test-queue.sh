#!/usr/bin/env bash
# Starts the CUPS scheduler with a PDF queue for the print tests, or stops it again.
#   scripts/cups-test-queue.sh start QUEUE OUTPUT.pdf
#   scripts/cups-test-queue.sh stop QUEUE
set -euo pipefail
action=$1
queue=$2

case "$action" in
  start)
    out=$(realpath -m "$3")
    mkdir -p "$(dirname "$out")"
    conf=/etc/cups/cups-files.conf
    grep -q '^FileDevice Yes' "$conf" 2>/dev/null || echo 'FileDevice Yes' >>"$conf"
    if ! lpstat -r >/dev/null 2>&1; then
      /usr/sbin/cupsd
      for _ in $(seq 50); do lpstat -r >/dev/null 2>&1 && break; sleep 0.2; done
    fi
    lpstat -r
    lpadmin -p "$queue" -v "file://$out" -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd -E
    lpadmin -d "$queue"
    ;;
  stop)
    lpadmin -x "$queue" 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 start QUEUE OUTPUT.pdf | stop QUEUE" >&2
    exit 2
    ;;
esac
