#!/usr/bin/env bash
# Starts Velunorh under Xvfb on the demo congregation and saves two screenshots of its window:
# one at the normal font and one at a larger desktop font (font DPI 144, as a larger font setting
# gives), to show that the window grows with the font without cutting any text.
# scripts/screenshot.sh [OUTPUT.png [LARGE-FONT-OUTPUT.png]]
#   (defaults: docs/main-window.png and docs/main-window-large-font.png). Needs a built build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/main-window.png}")
large=$(realpath -m "${2:-$root/docs/main-window-large-font.png}")
mkdir -p "$(dirname "$out")" "$(dirname "$large")"
command -v import >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq imagemagick >/dev/null
command -v xdotool >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xdotool >/dev/null

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
