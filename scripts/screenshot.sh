#!/usr/bin/env bash
# Starts Velunorh under Xvfb on the demo congregation and saves two screenshots of its window:
# one at the normal font and one at a larger desktop font (font DPI 144, as a larger font setting
# gives), to show that the window grows with the font without cutting any text.
# A third picture shows the print preview of the first card with two months ticked, on a PDF
# queue of its own (the CUPS scheduler is started when it is not running); the card is then
# printed, October's figures are made to differ from what was printed (as a corrected report
# does), and a fourth picture shows the window with the print ledger's marks.
# scripts/screenshot.sh [OUTPUT.png [LARGE-FONT-OUTPUT.png [PREVIEW-OUTPUT.png [LEDGER-OUTPUT.png]]]]
#   (defaults: docs/main-window.png, docs/main-window-large-font.png, docs/print-preview.png,
#   docs/monthly-routine.png).
#   Needs a built build/.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
out=$(realpath -m "${1:-$root/docs/main-window.png}")
large=$(realpath -m "${2:-$root/docs/main-window-large-font.png}")
preview=$(realpath -m "${3:-$root/docs/print-preview.png}")
routine=$(realpath -m "${4:-$root/docs/monthly-routine.png}")
mkdir -p "$(dirname "$out")" "$(dirname "$large")"
install_missing imagemagick xdotool >/dev/null

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
# The build puts each program in its layer's folder.
built() { if [ -x "$root/build/$1" ]; then echo "$root/build/$1"; else echo "$root/build/$2/$1"; fi; }
"$(built companion_writer tools)" "$root/tools/demo_congregation.txt" "$demo" >/dev/null
cp "$(built velunorh ui)" "$demo/velunorh"  # its settings file lands beside it, in the demo

display=97
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
export DISPLAY=:$display
# Large enough for the window at one and a half times its size.
Xvfb "$DISPLAY" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$demo"' EXIT
sleep 1

# shoot OUTPUT [VAR=VALUE]...: starts the program with the given environment and saves its window.
shoot() {
  local picture=$1 window="" app
  shift
  (cd "$demo" && env "$@" ./velunorh) &
  app=$!
  for _ in $(seq 50); do
    window=$(xdotool search --name '^Velunorh' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.2
  done
  sleep 1
  import -window "${window:-root}" "$picture"
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  echo "Screenshot saved to $picture"
}

shoot "$out"
shoot "$large" QT_FONT_DPI=144 QT_ENABLE_HIGHDPI_SCALING=0

# The print preview: a printer must exist, so a scheduler of this script's own keeps a PDF
# queue; the machine's print system is not touched.
queue=velunorh-screenshot
cups_dir=$(mktemp -d)
"$root/scripts/cups-test-queue.sh" start "$cups_dir/cups" "$queue" "$cups_dir/out.pdf"
export CUPS_SERVER="$cups_dir/cups/cups.sock"
cleanup_cups() {
  "$root/scripts/cups-test-queue.sh" stop "$cups_dir/cups"
  rm -rf "$cups_dir"
}
trap 'cleanup_cups; kill $xvfb 2>/dev/null; rm -rf "$demo"' EXIT

(cd "$demo" && PRINTER=$queue ./velunorh) &
app=$!
window=""
for _ in $(seq 50); do
  window=$(xdotool search --name '^Velunorh' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.2
done
sleep 1
# September and October, then the header box again (a month box unticks it), then Preview.
for y in 194 210; do xdotool mousemove --window "$window" 698 "$y" click 1; sleep 0.2; done
xdotool mousemove --window "$window" 16 332 click 1
sleep 0.3
xdotool mousemove --window "$window" 260 415 click 1
shown=""
for _ in $(seq 50); do
  shown=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -v "^$window$" | tail -n 1) && [ -n "$shown" ] && break
  sleep 0.2
done
sleep 1.5
import -window "${shown:-root}" "$preview"
echo "Screenshot saved to $preview"

# Print the card, so that the ledger records September and October.
# The preview has the focus: Escape closes it (and only it).
xdotool key Escape
sleep 0.5
xdotool mousemove --window "$window" 103 359 click 1
for _ in $(seq 50); do [ -s "$demo/velunorh-ledger.ini" ] && break; sleep 0.2; done
xdotool mousemove --window "$window" 152 389 click 1  # "Kész"
wait "$app" 2>/dev/null || true
# October as if its report was corrected after the print: its recorded digest no longer matches.
sed -i 's/^\(Month10=[0-9-]* \).*/\10000000000000000/' "$demo/velunorh-ledger.ini"
shoot "$routine"

# The Windows build's main window under Wine, when scripts/test-windows.sh has built it.
if [ -x "$root/build-windows/ui/velunorh.exe" ]; then
  "$root/scripts/screenshot-windows.sh" "$(dirname "$out")/main-window-windows.png"
else
  echo "No Windows build in build-windows/ (scripts/test-windows.sh makes it): its picture is not made"
fi
