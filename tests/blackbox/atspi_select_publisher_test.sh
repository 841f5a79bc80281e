#!/usr/bin/env bash
# A black-box run through the desktop's accessibility bus: the real program under Xvfb, the
# second publisher selected with the list line's AT-SPI action (as a screen reader does),
# "Nyomtatás" pressed the same way, and the card that comes out of the real CUPS queue must be
# that publisher's, as the header preview reads it out.
#   atspi_select_publisher_test.sh BUILD_DIR QUEUE QUEUE_PDF
set -euo pipefail
build=$1
queue=$2
pdf=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Two publishers; the first is selected at start.
cat >"$work/congregation.txt" <<'DATA'
[current]
publisher
given Anna
family Kovács
id 11
publisher
given Zoltán
family Zsoldos
id 12
DATA
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
header=$(dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  bus=$!
  sleep 1
  (cd "$0/data" && exec "$0/velunorh") >"$0/velunorh.log" 2>&1 &
  app=$!
  status=0
  /usr/bin/python3 "$1" Zsoldos || status=$?
  # What the program said, for a run in which it never showed up on the bus.
  [ "$status" -eq 0 ] || cat "$0/velunorh.log" >&2
  sleep 1
  kill $app $bus 2>/dev/null || true
  exit $status
' "$work" "$here/atspi_select_publisher.py")
echo "header read out: $header"
case "$header" in *Zsoldos*) ;; *) echo "the header preview does not show the selected publisher" >&2; exit 1 ;; esac

for _ in $(seq 150); do
  [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && [ -s "$pdf" ] && break
  sleep 0.2
done
[ -s "$pdf" ] || { echo "nothing was printed" >&2; exit 1; }
printed=$(pdftotext "$pdf" - | tr -s ' \n\f' ' ')
echo "printed: $printed"
case "$printed" in
  *Kovács*) echo "the card printed is the previous publisher's" >&2; exit 1 ;;
  *Zsoldos*) echo "the card is the publisher selected through the accessibility bus" ;;
  *) echo "the card does not carry the selected publisher" >&2; exit 1 ;;
esac
