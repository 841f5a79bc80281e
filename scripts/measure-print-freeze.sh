#!/usr/bin/env bash
# Measures how long the main window goes without handling an event while a print waits for a
# print system that does not answer: the tests' own CUPS scheduler is stopped with SIGSTOP, the
# window waits until it gives up (2 s in the tests), and the longest gap between two ticks of a
# 10 ms timer is printed. Three moments: a printer chosen, stopped before the queue's state is
# asked; no printer chosen, stopped before the printer is looked up (print, preview, group);
# stopped right after the state question, before the job is handed over (print, group). The
# goal is below 500 ms.
#   scripts/measure-print-freeze.sh [BUILD_DIR]   default: build (spool_tests is built there)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
dir=$(realpath -m "${1:-$root/build}")
cmake --build "$dir" --target spool_tests -j2 >/dev/null
cups="$dir/cups"
"$root/scripts/cups-test-queue.sh" start "$cups" velunorh-test "$dir/spool/card.pdf"
trap '"$root/scripts/cups-test-queue.sh" stop "$cups"' EXIT
CUPS_SERVER="$cups/cups.sock" PRINTER=velunorh-test QT_QPA_PLATFORM=offscreen \
  "$dir/tests/spool_tests" --gtest_filter='SpoolTest.*NeverFreezesTheWindow' \
  | grep -E "longest unresponsive stretch|PASSED|FAILED"
