#!/usr/bin/env bash
# The Windows program of one edition starts under Wine, shows its main window "Zarvo" of class
# "classeF", and exits cleanly with code 0 when the window is closed.
set -euo pipefail
edition=${1:?edition en or fr}
source "$(dirname "$0")/wine_env.sh"
trap e2e_cleanup EXIT

e2e_start_display
e2e_new_prefix
exe="$E2E_PROGRAM_DIR/zarvo-training-$edition.exe"
[ -f "$exe" ] || { echo "not installed: $exe"; exit 1; }

(cd "$E2E_PROGRAM_DIR" && wine "$exe") &
program=$!

e2e_robot wait-window classeF 30000
title=$(e2e_robot title classeF | tr -d '\r')
[ "$title" = "Zarvo" ] || { echo "title is '$title'"; exit 1; }
e2e_screenshot "smoke-$edition"

e2e_robot close classeF
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || { echo "the program exited with $status"; exit 1; }
echo "smoke test of the $edition edition passed"
