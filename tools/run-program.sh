#!/usr/bin/env bash
# Sets up what is missing and builds both Windows editions. Usage: tools/run-program.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
echo
echo "Built:"
echo "  English edition: $PWD/build/windows/zarvo-training-en.exe"
echo "  French edition:  $PWD/build/windows/zarvo-training-fr.exe"
