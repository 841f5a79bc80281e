#!/usr/bin/env bash
# Prints the calibration sheet of the first card version to PDF through the options dialog and
# turns its top-left part, where the card's items lie, into a picture for the README; then shows
# "Kalibrálás" with four readings typed in on a virtual X display and saves its picture.
# scripts/calibration-picture.sh [OUTPUT.png [DIALOG.png]]
#   (defaults: docs/calibration-sheet.png, docs/calibration-dialog.png)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
out=$(realpath -m "${1:-$root/docs/calibration-sheet.png}")
dialog=$(realpath -m "${2:-$root/docs/calibration-dialog.png}")
mkdir -p "$(dirname "$out")" "$(dirname "$dialog")"
install_missing poppler-utils xvfb >/dev/null
[ -x "$root/build/tools/calibration_sheet" ] || cmake --build "$root/build" --target calibration_sheet

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$root/build/tools/calibration_sheet" "$work/sheet.pdf" 0 0.20 0.15 2>/dev/null
# 150 dots per inch; the rulers end 7 inches across and 5 down from the margins, the notes
# on what the sheet was printed with below them.
pdftoppm -r 150 -png -singlefile -x 0 -y 0 -W 1140 -H 900 "$work/sheet.pdf" "$work/sheet"
mv "$work/sheet.png" "$out"
echo "Picture saved to $out"

# The dialog as the X display draws it: point 1 read 2 mm right and 1 mm down, point 2 1.5 mm
# right and 2 mm down.
display=97
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$root/build/tools/calibration_sheet" --dialog "$dialog" \
  2 1 1.5 2 2>/dev/null
echo "Picture saved to $dialog"
