#!/usr/bin/env bash
# Cross-builds the core, the companion-format writer and the core tests for 64-bit Windows with
# MinGW-w64 and runs the tests under Wine, without Qt: scripts/test-windows-core.sh [BUILD_DIR]
# Installs what is missing (as root, on Debian 12). Fails when any test fails.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
dir=${1:-$root/build-windows-core}

install_missing g++-mingw-w64-x86-64-posix wine64 googletest

# Debian's wine64 puts its loader outside PATH.
wine=$(command -v wine64 || true)
if [ -z "$wine" ]; then wine=/usr/lib/wine/wine64; fi

# A Wine configuration of the build's own, made once; no display is needed.
export WINEPREFIX=$dir/wine WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$dir"
if [ ! -f "$WINEPREFIX/system.reg" ]; then "$wine" wineboot --init >/dev/null 2>&1 || true; fi

# The preset "windows-core" (CMakePresets.json) holds the options; the folder and Wine are this run's.
configure_preset windows-core -B "$dir" -DCMAKE_CROSSCOMPILING_EMULATOR="$wine"
# The build lists the tests by running them under Wine.
cmake --build "$dir" -j"$(nproc)" --target core_tests companion_writer

# One Wine server for the whole run, started and settled before the tests start in parallel
# (without it the first tests wait many seconds for each other's start-up); stopped at the end.
wineserver=$(dirname "$wine")/wineserver
# The build's test listing may have left a server that is about to time out: wait for it to
# end, then start the persistent one (its start-up only saves time, so a refusal is no failure).
"$wineserver" -w 2>/dev/null || true
"$wineserver" -p 2>/dev/null || true
"$wine" wineboot >/dev/null 2>&1 || true
status=0
# Wine now and then fails to start a process at all (no output, no time): such a test gets a
# second run; a test that fails on its own merits fails both.
(cd "$dir" && ctest --output-on-failure --repeat until-pass:2 -j"$(nproc)") || status=1
"$wineserver" -k 2>/dev/null || true
exit $status
