#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in a normal build, once with
# AddressSanitizer and UndefinedBehaviorSanitizer, once built for Windows under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

status=0
run_suite() {
  local dir=$1
  shift
  echo "== Building $dir"
  "$root/scripts/build.sh" "$dir" -DVELUNORH_WERROR=ON "$@"
  echo "== Testing $dir"
  (cd "$dir" && ctest --output-on-failure -j"$(nproc)") || status=1
}

run_suite "$root/build"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 LSAN_OPTIONS=suppressions="$root/tests/lsan.supp" \
  run_suite "$root/build-sanitize" -DVELUNORH_SANITIZE=ON

# The whole program built for Windows (Qt for MinGW-w64 from the shared cache, or built once
# from Debian's source), its installer, the core and GUI tests under Wine, and a card printed
# by the installed Windows build compared with the Linux build's.
echo "== Testing the program for Windows under Wine"
"$root/scripts/test-windows.sh" "$root/build-windows" "$root/build" || status=1

# A short fuzzing round over every reader of bytes from outside (clang and libFuzzer).
echo "== Fuzzing"
"$root/scripts/fuzz.sh" 20 || status=1
exit $status
