#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) and runs each for a bounded time.
# Usage: tools/run-fuzzers.sh [seconds-per-target]   (default 20; run longer by hand, e.g. 3600)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
shopt -s nullglob
ran=0
for target in build/fuzz/tests/fuzz/fuzz_*; do
  name=${target##*/fuzz_}
  seeds=tests/fuzz/corpus/$name
  work=build/fuzz/corpus/$name
  mkdir -p "$work"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$work"/ 2>/dev/null || true
  echo "-- fuzz_$name for ${seconds}s"
  log=build/fuzz/fuzz_$name.log
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/ \
      "$work" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz_$name found a fault (see $log and build/fuzz/crash-*)"
    exit 1
  fi
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log" || true
  ran=$((ran + 1))
done
echo "$ran fuzz targets ran clean"
