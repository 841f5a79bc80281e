#!/usr/bin/env bash
# A black-box run through the desktop's accessibility bus: the real program under Xvfb, a month
# box ticked with its AT-SPI Toggle action (as a screen reader does), "Nyomtatás" pressed the
# same way, and the card that comes out of the real CUPS queue must carry exactly that month.
#   atspi_month_box_test.sh BUILD_DIR QUEUE QUEUE_PDF
set -euo pipefail
build=$1
queue=$2
pdf=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# One publisher with a report in every month, so that September has figures whatever today is.
{
  echo "[current]"
  echo "publisher"
  echo "given Anna"
  echo "family Kovács"
  echo "id 11"
  for m in 1 2 3 4 5 6 7 8 9 10 11 12; do
    echo "month $m new hours=$((20 + m)) placements=$((40 + m)) returnvisits=$((60 + m))"
  done
} >"$work/congregation.txt"
mkdir -p "$work/data"
"$build/tools/companion_writer" "$work/congregation.txt" "$work/data" >/dev/null
cp "$build/ui/velunorh" "$work/velunorh"  # its settings file lands beside it

display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1

rm -f "$pdf"
export DISPLAY=":$display" PRINTER="$queue" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
line=$(dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  bus=$!
  sleep 1
  (cd "$0/data" && exec "$0/velunorh") >"$0/velunorh.log" 2>&1 &
  app=$!
  status=0
  /usr/bin/python3 "$1" || status=$?
  # What the program said, for a run in which it never showed up on the bus.
  [ "$status" -eq 0 ] || cat "$0/velunorh.log" >&2
  sleep 1
  kill $app $bus 2>/dev/null || true
  exit $status
' "$work" "$here/atspi_month_box.py")
echo "read out: $line"

for _ in $(seq 150); do
  [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && [ -s "$pdf" ] && break
  sleep 0.2
done
[ -s "$pdf" ] || { echo "nothing was printed" >&2; exit 1; }
printed=$(pdftotext "$pdf" - | tr -s ' \n\f' '\n' | grep -v '^$' | sort | tr '\n' ' ')
# The figures the preview read out for September, without their column titles.
expected=$(echo "${line#*:}" | tr ',' '\n' | awk '{print $NF}' | grep -v '^$' | sort | tr '\n' ' ')
echo "printed: $printed"
echo "expected: $expected"
[ "$printed" = "$expected" ] || { echo "the card does not carry September's figures alone" >&2; exit 1; }
echo "the card carries September alone, ticked through the accessibility bus"
