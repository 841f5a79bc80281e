#!/usr/bin/env bash
# Prints the calibration sheet with the Windows build under Wine, as a secretary prints it from
# "Opciók": through Wine's printing into a PDF queue of the script's own scheduler. Then measures
# the sheet's millimetre scales in that PDF (scripts/measure-calibration-sheet.py, as the Linux
# print test measures them) and saves the top-left part as a picture for docs/windows.md.
#   scripts/calibration-sheet-windows.sh [OUTPUT.png]   (default docs/calibration-sheet-windows.png)
# Needs build-windows/ (scripts/test-windows.sh, or its target calibration_sheet once configured).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
out=$(realpath -m "${1:-$root/docs/calibration-sheet-windows.png}")
win=$root/build-windows
[ -f "$win/tools/calibration_sheet.exe" ] || { echo "not built: $win/tools/calibration_sheet.exe" >&2; exit 1; }
install_missing poppler-utils xvfb >/dev/null
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(dirname "$wine")/wineserver
export WINEPREFIX=$win/wine WINEDEBUG=-all

work=$(mktemp -d)
chmod 0755 "$work"  # the queue's backend writes the PDF there, not as root
queue=velunorh-sheet
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display - 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  "$root/scripts/cups-test-queue.sh" stop "$work/cups" || true
  kill $xvfb 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=":$display"
"$root/scripts/cups-test-queue.sh" start "$work/cups" "$queue" "$work/sheet.pdf"
export CUPS_SERVER=$work/cups/cups.sock PRINTER=$queue

if [ ! -f "$WINEPREFIX/system.reg" ]; then "$wine" wineboot --init >/dev/null 2>&1 || true; fi
# Wine has no Arial; the sheet's font is drawn in the metric-compatible Liberation Sans.
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f \
  >/dev/null 2>&1
"$wineserver" -w 2>/dev/null || true

# The tool with the program's Qt beside it.
mkdir -p "$work/program"
cp -r "$win/ui/"*.dll "$win/ui/qt.conf" "$win/ui/plugins" "$win/tools/calibration_sheet.exe" \
  "$work/program/"
timeout 300 "$wine" "$work/program/calibration_sheet.exe" - 0 0.20 0.15
for _ in $(seq 240); do
  [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && [ -s "$work/sheet.pdf" ] && break
  sleep 0.5
done
[ -s "$work/sheet.pdf" ] || { echo "the queue wrote no sheet" >&2; exit 1; }
echo "== The scales of the sheet printed under Wine"
python3 "$root/scripts/measure-calibration-sheet.py" "$work/sheet.pdf" || true
pdftoppm -r 150 -png -singlefile -x 0 -y 0 -W 1180 -H 960 "$work/sheet.pdf" "$work/sheet"
mv "$work/sheet.png" "$out"
echo "Picture saved to $out"
