#!/usr/bin/env bash
# Starts Velunorh under Xvfb on the demo congregation and saves a screenshot of its window.
# scripts/screenshot.sh [OUTPUT.png]   (default: docs/main-window.png). Needs a built build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/main-window.png}")
mkdir -p "$(dirname "$out")"
command -v import >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq imagemagick >/dev/null
command -v xdotool >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xdotool >/dev/null

demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
"$root/build/companion_writer" "$root/tools/demo_congregation.txt" "$demo" >/dev/null
cp "$root/build/velunorh" "$demo/velunorh"  # its settings file lands beside it, in the demo

export DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 1024x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$demo"' EXIT
sleep 1
(cd "$demo" && ./velunorh) &
app=$!
for _ in $(seq 50); do
  window=$(xdotool search --name '^Velunorh' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.2
done
sleep 1
import -window "${window:-root}" "$out"
kill "$app" 2>/dev/null || true
wait "$app" 2>/dev/null || true
echo "Screenshot saved to $out"
