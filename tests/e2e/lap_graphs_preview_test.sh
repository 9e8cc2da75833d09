#!/usr/bin/env bash
# The three views of a run ("Data", "Histo", "Curve") drawn by the drawing-list replayer under
# Wine, on the screen and in their paper form (also on a whole page mapped as the printout maps
# it), with a hovered curve point and a 5-lap strip. Each paint is checked against the colours
# the views put there and kept as a screenshot: <artifacts>/graphs-<edition>-<name>.png.
# Usage: lap_graphs_preview_test.sh <en|fr>
set -euo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
trap e2e_cleanup EXIT

e2e_start_display 1600x900
e2e_new_prefix
preview="$ZARVO_WINDOWS_BUILD_DIR/tests/e2e/zarvo-graphs-preview-$edition.exe"
[ -f "$preview" ] || { echo "not built: $preview"; exit 1; }

failures=0
# run <name> <arguments...>: paints, takes the screenshot, checks the probes.
run() {
  local name=$1
  shift
  local probes="$E2E_WORK/probes-$name.txt"
  rm -f "$probes"
  wine "$preview" --probes "$(winepath -w "$probes")" "$@" &
  local program=$!
  for _ in $(seq 150); do
    [ -s "$probes" ] && break
    sleep 0.2
  done
  [ -s "$probes" ] || { echo "$name: the preview wrote no probes"; kill "$program" || true; return 1; }
  sleep 1  # the paint has reached the screen
  local shot="graphs-$edition-$name"
  e2e_screenshot "$shot"
  if ! python3 "$here/check_probes.py" "$ZARVO_E2E_ARTIFACTS/$shot.png" "$probes" \
      | tee "$E2E_WORK/$name.out"; then
    failures=$((failures + 1))
  fi
  grep -q '^info primitives: [0-9]* 0$' "$E2E_WORK/$name.out" \
    || { echo "FAIL $name: the drawing list overflowed"; failures=$((failures + 1)); }
  e2e_robot close ZarvoGraphsPreview
  wait "$program"
}

run data --view data
run histo --view histo
run curve --view curve
run curve-hover --view curve --hover 7
run data-5laps --view data --laps 5
run data-paper --view data --paper
run histo-paper --view histo --paper
run curve-paper --view curve --paper
run histo-page --view histo --page

grep -q '^info hover: 1 7$' "$E2E_WORK/curve-hover.out" \
  || { echo "FAIL the mouse on point 7 did not hover it"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "lap-time views of the $edition edition: every check passed"
