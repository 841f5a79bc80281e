#!/usr/bin/env bash
# The Windows spooler as the Windows build asks it (ui/print/print_spooler_windows.cpp), under Wine,
# whose printing maps winspool onto CUPS: a queue of a scheduler of the test's own takes a job,
# then is removed, and the next start of the program must find it gone. What Wine cannot show
# (a paused or offline printer, the job list) is listed in docs/windows.md.
#   spooler_test.sh WINDOWS_BUILD WORK_DIR
# The caller provides WINEPREFIX (a prefix of this run's own) and DISPLAY (an X server).
set -euo pipefail
windows=$(realpath "$1")
work=$(realpath -m "$2")
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
queue=velunorh-spooler
tests=$windows/tests/windows_spooler_tests.exe
[ -f "$tests" ] || { echo "not built: $tests" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work/out"
trap '"$root/scripts/cups-test-queue.sh" stop "$work/cups" || true' EXIT
"$root/scripts/cups-test-queue.sh" start "$work/cups" "$queue" "$work/out/job.pdf"
export CUPS_SERVER=$work/cups/cups.sock PRINTER=$queue QT_QPA_PLATFORM=windows

run() {
  timeout 300 "$wine" "$tests" --gtest_filter="WindowsSpooler.$1" >"$work/$1.log" 2>&1 ||
    { cat "$work/$1.log" >&2; echo "failed under Wine: $1" >&2; return 1; }
}

run AReadyQueueTakesTheJob
# The job really reached the queue: its page comes out.
for _ in $(seq 240); do
  [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && [ -s "$work/out/job.pdf" ] && break
  sleep 0.5
done
[ -s "$work/out/job.pdf" ] || { echo "the job never came out of $queue" >&2; exit 1; }

lpadmin -x "$queue"
run ARemovedQueueIsGoneAndTakesNothing
echo "the Windows spooler under Wine: a ready queue takes the job, a removed one is gone"
