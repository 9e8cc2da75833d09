#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for a bounded time, two at a
# time (one per core).
# Usage: tools/run-fuzzers.sh [seconds-per-target]   (default 20; run longer by hand, e.g. 3600)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
jobs=${ZARVO_FUZZ_JOBS:-2}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
shopt -s nullglob

# Runs one target over its corpus; prints its figures, or the end of its log when it fails.
run_one() {
  local target=$1 name=${1##*/fuzz_}
  local seeds=tests/fuzz/corpus/$name work=build/fuzz/corpus/$name log=build/fuzz/fuzz_$name.log
  mkdir -p "$work"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/ \
      "$work" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz_$name found a fault (see $log and build/fuzz/crash-*)"
    return 1
  fi
  echo "-- fuzz_$name, ${seconds}s: $(grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" \
    | tr -s ' \n' ' ')"
}

targets=(build/fuzz/tests/fuzz/fuzz_*)
failed=0
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_one "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
if [ "$failed" -ne 0 ]; then
  echo "a fuzz target found a fault"
  exit 1
fi
echo "${#targets[@]} fuzz targets ran clean"
