#!/usr/bin/env bash
# Saves a picture of the main window of the Windows build, running under Wine on Xvfb on the
# demo congregation: scripts/screenshot-windows.sh [OUTPUT.png] (default docs/main-window-windows.png)
# Needs a built build-windows/ (scripts/test-windows.sh) and build/ (for the companion-format writer).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/main-window-windows.png}")
win=$root/build-windows
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
export WINEPREFIX=$win/wine WINEDEBUG=-all CUPS_SERVER=/nonexistent/cups.sock

demo=$(mktemp -d)
built() { if [ -x "$root/build/$1" ]; then echo "$root/build/$1"; else echo "$root/build/$2/$1"; fi; }
"$(built companion_writer tools)" "$root/tools/demo_congregation.txt" "$demo" >/dev/null
# The program with Qt beside it, in a folder of its own: its settings file lands there.
mkdir -p "$demo/program"
cp -r "$win/ui/"*.dll "$win/ui/velunorh.exe" "$win/ui/qt.conf" "$win/ui/plugins" "$win/ui/translations" \
  "$demo/program/"

display=96
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display - 1)); done
export DISPLAY=:$display
Xvfb "$DISPLAY" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=
trap '[ -n "$app" ] && kill $app 2>/dev/null; "$(dirname "$wine")/wineserver" -k 2>/dev/null; kill $xvfb 2>/dev/null; rm -rf "$demo"' EXIT
sleep 1

timeout 120 "$wine" "$demo/program/velunorh.exe" "$("$wine" winepath -w "$demo" | tr -d '\r')" >/dev/null 2>&1 &
app=$!
window=
for _ in $(seq 120); do
  window=$(xdotool search --onlyvisible --name '^Velunorh' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { echo "the Windows build's window did not appear" >&2; exit 1; }
sleep 3
import -window "$window" "$out"
echo "Screenshot saved to $out"
