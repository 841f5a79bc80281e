#!/usr/bin/env bash
# Measures Velunorh on the full-size data folder (bench/full_congregation.h) and prints every
# figure next to its floor, both measured side by side in the same run:
#   loading      LoadAllData against reading the bytes of the same files once;
#   start-up     the real start-up until the main window has painted, against a Qt program that
#                shows an empty dialog; peak memory (maximum resident set size) of both;
#   repaint      one repaint of both previews, against the same calls (recorded from one repaint)
#                drawn straight with QPainter onto images of the panes' sizes;
#   print        one print of a full card to a 600 dpi PDF file, 300 of them one after the
#                other, and 300 cards printed as one job as the group print makes them, against
#                those 300 single prints;
#   ledger save  the print ledger saved after a print with 10,000 and with 20,000 cards in it
#                (locked, read again, merged and written whole), the one against the other: the
#                save alone, and the whole way from the session's "print recorded" to the renamed
#                file on the full-size folder, the ledger read at start as the program reads it.
# Every figure with a goal is followed by it and whether it is met.
#
#   scripts/bench.sh [BUILD_DIR]     default: build (the test build; only the benchmarks are built)
#   RUNS=N scripts/bench.sh          start-up runs of each program (default 30)
#   REPETITIONS=N scripts/bench.sh   repetitions of each Google Benchmark (default 5)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
dir=$(realpath -m "${1:-$root/build}")
runs=${RUNS:-30}
repetitions=${REPETITIONS:-5}

"$root/scripts/setup.sh"
echo "== Building the benchmarks in $dir" >&2
configure_preset bench -B "$dir"
cmake --build "$dir" -j"$(nproc)" \
  --target full_congregation loading_bench drawing_bench ledger_bench startup_harness empty_dialog >/dev/null
bin=$dir/bench

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Google Benchmark: every benchmark of a program repeated in random order, medians reported.
run_benchmarks() {
  local program=$1
  echo "== Running $program" >&2
  "$bin/$program" --benchmark_repetitions="$repetitions" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_format=csv >"$work/$program.csv" 2>"$work/$program.log"
  if grep -q ',true,' "$work/$program.csv"; then
    echo "$program failed:" >&2
    grep ',true,' "$work/$program.csv" >&2
    exit 1
  fi
}

# Median real and CPU time of a benchmark in milliseconds: "REAL CPU".
median_ms() {
  awk -F, -v name="\"$2_median\"" '
    $1 == name {
      scale = $5 == "ns" ? 1e-6 : $5 == "us" ? 1e-3 : $5 == "ms" ? 1 : 1000
      printf "%.4f %.4f\n", $3 * scale, $4 * scale
      found = 1
    }
    END { if (!found) exit 1 }' "$work/$1.csv"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
run_benchmarks loading_bench
run_benchmarks drawing_bench
run_benchmarks ledger_bench
read -r load_real load_cpu < <(median_ms loading_bench BM_LoadAllData)
read -r bytes_real bytes_cpu < <(median_ms loading_bench BM_ReadDataFileBytes)
read -r repaint_real repaint_cpu < <(median_ms drawing_bench BM_RepaintPreviews)
read -r render_real render_cpu < <(median_ms drawing_bench BM_RenderPreviewsToImage)
read -r replay_real replay_cpu < <(median_ms drawing_bench BM_ReplayPreviewsOntoImage)
read -r print_real print_cpu < <(median_ms drawing_bench BM_PrintCardToPdf)
read -r print300_real print300_cpu < <(median_ms drawing_bench BM_Print300SingleCards)
read -r job300_real job300_cpu < <(median_ms drawing_bench BM_Print300CardsAsOneJob)
read -r ledger10k_real ledger10k_cpu < <(median_ms ledger_bench BM_SaveLedger/10000)
read -r ledger20k_real ledger20k_cpu < <(median_ms ledger_bench BM_SaveLedger/20000)
read -r after10k_real after10k_cpu < <(median_ms ledger_bench BM_SaveAfterPrint/10000)
read -r after20k_real after20k_cpu < <(median_ms ledger_bench BM_SaveAfterPrint/20000)

# Start-up: both programs in turn, the order swapped every round, in a copy of the folder (the
# program starts in its data folder).
echo "== Starting both programs $runs times" >&2
"$bin/full_congregation" "$work/data"
# One start: wall and CPU (user + system) seconds by the shell's clock, peak memory by GNU time.
TIMEFORMAT='%3R %3U %3S'
startup_once() {
  local program=$1 times
  if ! times=$({ time /usr/bin/time -f %M -o "$work/rss" "$bin/$program" >/dev/null 2>&1; } 2>&1); then
    echo "$program did not paint its window" >&2
    exit 1
  fi
  echo "$program $times $(cat "$work/rss")" |
    awk '{ printf "%s %.3f %.3f %d\n", $1, $2, $3 + $4, $5 }' >>"$work/startup.txt"
}
(
  cd "$work/data"
  startup_once startup_harness # warms the page cache and the font cache
  startup_once empty_dialog
  : >"$work/startup.txt"
  for ((i = 0; i < runs; ++i)); do
    if ((i % 2)); then
      startup_once empty_dialog
      startup_once startup_harness
    else
      startup_once startup_harness
      startup_once empty_dialog
    fi
  done
)
# Median of column $2 (2 = wall seconds, 3 = CPU seconds, 4 = kilobytes) of program $1's runs.
startup_median() {
  awk -v p="$1" -v c="$2" '$1 == p { print $c }' "$work/startup.txt" | sort -g |
    awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
harness_wall=$(startup_median startup_harness 2)
dialog_wall=$(startup_median empty_dialog 2)
harness_cpu=$(startup_median startup_harness 3)
dialog_cpu=$(startup_median empty_dialog 3)
harness_kb=$(startup_median startup_harness 4)
dialog_kb=$(startup_median empty_dialog 4)

model=$(lscpu | sed -n 's/^Model name:[[:space:]]*//p' | head -1)
awk -v model="$model" -v cores="$(nproc)" -v load0="$load_before" \
  -v load="$(cut -d' ' -f1-3 /proc/loadavg)" \
  -v runs="$runs" -v reps="$repetitions" \
  -v lr="$load_real" -v lc="$load_cpu" -v br="$bytes_real" -v bc="$bytes_cpu" \
  -v hw="$harness_wall" -v dw="$dialog_wall" -v hc="$harness_cpu" -v dc="$dialog_cpu" \
  -v hk="$harness_kb" -v dk="$dialog_kb" \
  -v pr="$repaint_real" -v pc="$repaint_cpu" -v rr="$render_real" -v rc="$render_cpu" \
  -v qr="$replay_real" -v qc="$replay_cpu" -v tr="$print_real" -v tc="$print_cpu" \
  -v gr="$print300_real" -v gc="$print300_cpu" -v jr="$job300_real" -v jc="$job300_cpu" \
  -v sr="$ledger10k_real" -v sc="$ledger10k_cpu" -v tr2="$ledger20k_real" -v tc2="$ledger20k_cpu" \
  -v ar="$after10k_real" -v ac="$after10k_cpu" -v ar2="$after20k_real" -v ac2="$after20k_cpu" '
  # The goal of a figure and whether this run meets it.
  function goal(value, limit, unit) {
    return sprintf("  [goal <= %s%s: %s]", limit, unit, value <= limit ? "met" : "MISSED")
  }
  BEGIN {
    printf "Machine: %s, %d cores; load average (1, 5, 15 min) %s at the start, %s at the end\n", model, cores, load0, load
    printf "Medians of %d repetitions (Google Benchmark) and of %d starts of each program.\n\n", reps, runs
    printf "%-34s %12s  %s\n", "figure", "value", "against its floor"
    printf "%-34s %9.3f ms  %.1f x reading the same files'"'"' bytes (%.3f ms); CPU time %.1f x (%.3f / %.3f ms)%s\n", \
      "loading (LoadAllData)", lr, lr / br, br, lc / bc, lc, bc, goal(lr / br, 2.5, " x")
    printf "%-34s %9.1f ms  %.2f x an empty Qt dialog (%.1f ms); CPU time %.2f x (%.0f / %.0f ms)%s\n", \
      "start-up to the painted window", hw * 1000, hw / dw, dw * 1000, hc / dc, hc * 1000, dc * 1000, \
      goal(hw / dw, 1.2, " x")
    printf "%-34s %8.1f MiB  %.2f x an empty Qt dialog (%.1f MiB)%s\n", \
      "peak memory at start-up", hk / 1024, hk / dk, dk / 1024, goal(hk / dk, 1.15, " x")
    printf "%-34s %9.3f ms  %.2f x the same calls drawn straight with QPainter (%.3f ms); CPU time %.2f x (%.3f / %.3f ms)%s\n", \
      "repaint of both previews", pr, pr / qr, qr, pc / qc, pc, qc, goal(pr / qr, 1.3, " x")
    printf "%-34s %9.3f ms  (CPU %.3f ms): the panes rendered into images instead of the screen\n", \
      "", rr, rc
    printf "%-34s %9.2f ms  per print, the ledger'"'"'s record and save included (CPU %.2f ms)%s\n", \
      "print of a full card, 600 dpi PDF", tr, tc, goal(tr, 20, " ms")
    printf "%-34s %9.0f ms  (CPU %.0f ms): %.2f x one card\n", \
      "300 x one card, 600 dpi PDF", gr, gc, gr / tr
    printf "%-34s %9.0f ms  %.2f x 300 single prints (%.0f ms); CPU time %.2f x (%.0f / %.0f ms); %.2f ms per card\n", \
      "300 cards as one job, 600 dpi PDF", jr, jr / gr, gr, jc / gc, jc, gc, jr / 300
    printf "%-34s %9.1f ms  (CPU %.1f ms): a ledger of 10,000 cards, saved after a print\n", \
      "ledger save, 10,000 cards", sr, sc
    printf "%-34s %9.1f ms  %.2f x 10,000 cards (CPU %.1f ms, %.2f x)\n", \
      "ledger save, 20,000 cards", tr2, tr2 / sr, tc2, tc2 / sc
    printf "%-34s %9.1f ms  (CPU %.1f ms): from the print recorded to the renamed file%s\n", \
      "save after a print, 10,000 cards", ar, ac, goal(ar, 25, " ms")
    printf "%-34s %9.1f ms  %.2f x 10,000 cards (CPU %.1f ms, %.2f x)%s\n", \
      "save after a print, 20,000 cards", ar2, ar2 / ar, ac2, ac2 / ac, goal(ar2 / ar, 2.1, " x")
  }'
