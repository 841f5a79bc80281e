#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) in
# a build folder of their own, writes their seed corpora and runs each target in turn:
#
#   scripts/fuzz.sh [SECONDS_PER_TARGET]     (default 60)
#
# The corpus each target grows is kept in build-fuzz/corpus/<target>/ for the next run. Fails
# when any target finds a crash; the input that crashed it is kept in build-fuzz/crashes/<target>/
# and the target's log in build-fuzz/logs/. Set FUZZ_BUILD_DIR to use another folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
dir=${FUZZ_BUILD_DIR:-$root/build-fuzz}

echo "== Building $dir"
"$root/scripts/build.sh" --preset fuzz "$dir"
rm -rf "$dir/seeds"
"$dir/fuzz/make_seeds" "$root/tools/demo_congregation.txt" "$dir/seeds"

passed=0
failed=0
for source in "$root"/fuzz/*_fuzz.cpp; do
  target=$(basename "$source" _fuzz.cpp)
  corpus="$dir/corpus/$target"
  crashes="$dir/crashes/$target"
  log="$dir/logs/$target.log"
  mkdir -p "$corpus" "$crashes" "$(dirname "$log")"
  echo "== Fuzzing $target for ${seconds}s"
  if "$dir/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=60 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$corpus" "$dir/seeds/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: no crash in ${runs:-?} runs"
    passed=$((passed + 1))
  else
    echo "$target: FAILED; the log is $log"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" || tail -n 20 "$log"
    echo "crash inputs kept in $crashes:"
    ls -1 "$crashes"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
((failed == 0))
