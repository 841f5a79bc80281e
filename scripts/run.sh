#!/usr/bin/env bash
# Installs what is missing, builds, writes the demo congregation and starts Velunorh in it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DBUILD_TESTING=OFF

demo="$root/build/demo-congregation"
"$root/build/tools/companion_writer" "$root/tools/demo_congregation.txt" "$demo"
echo "Demo congregation written to $demo"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat <<MSG
There is no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Start it under a virtual X server instead, for example:

  cd "$demo" && xvfb-run -a -s "-screen 0 1280x800x24" "$root/build/ui/velunorh"

or run this command from a desktop session.
MSG
  exit 1
fi
cd "$demo"
exec "$root/build/ui/velunorh"
