#!/usr/bin/env bash
# Sets up what is missing and runs every test: the unit and integration tests of both editions,
# the Windows editions under Wine (end-to-end), and each fuzz target for a short time.
# Usage (as root on Debian 12): tools/run-tests.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/setup-debian.sh

echo "== Windows editions (MinGW-w64)"
cmake --preset windows >/dev/null
cmake --build --preset windows

echo "== Native core, tests, tools and benchmarks"
cmake --preset native -DZARVO_WINDOWS_BUILD_DIR="$root/build/windows" >/dev/null
cmake --build --preset native

echo "== Tests"
ctest --preset native -j2

if ls tests/fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  echo "== Fuzz targets (${ZARVO_FUZZ_SECONDS:-12} s each)"
  tools/run-fuzzers.sh "${ZARVO_FUZZ_SECONDS:-12}"
fi
echo "== All tests passed"
