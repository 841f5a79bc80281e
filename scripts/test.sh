#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds and runs every test: once in a normal
# build, once with AddressSanitizer and UndefinedBehaviorSanitizer, once built for Windows under
# Wine. A formatting difference or a failed test fails it at the end; a failed build stops it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cd "$root"
"$root/scripts/setup.sh"

status=0
echo "== Checking the formatting"
"$root/scripts/check-format.sh" || status=1

# The build folder and its options, the build and the tests' settings are the preset's
# (CMakePresets.json): build/ and build-sanitize/.
run_suite() {
  local preset=$1
  echo "== Building the preset $preset"
  configure_preset "$preset"
  cmake --build --preset "$preset" -j"$(nproc)"
  echo "== Testing the preset $preset"
  ctest --preset "$preset" -j"$(nproc)" || status=1
}

run_suite normal
run_suite sanitize

# The whole program built for Windows (Qt for MinGW-w64 from the shared cache, or built once
# from Debian's source), its installer, the core and GUI tests under Wine, and a card printed
# by the installed Windows build compared with the Linux build's.
echo "== Testing the program for Windows under Wine"
"$root/scripts/test-windows.sh" "$root/build-windows" "$root/build" || status=1

# A short fuzzing round over every reader of bytes from outside (clang and libFuzzer).
echo "== Fuzzing"
"$root/scripts/fuzz.sh" 20 || status=1
exit $status
