#!/usr/bin/env bash
# The live results table as the main window paints it, under Wine at a given screen size: a
# 12-driver run (with a car passing, a run best, a driver's best, two finished drivers and a radio
# conflict), a 5-driver run (the watermark shows below the rows) and a 20-driver run scrolled by
# six rows. Each paint is checked pixel by pixel against the colours the layout puts there, and
# kept as a screenshot: <artifacts>/table-<edition>-<size>-<run>.png.
# Usage: table_preview_test.sh <en|fr> [WxH]   (default 1600x900)
set -euo pipefail
edition=${1:?edition en or fr}
size=${2:-1600x900}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
trap e2e_cleanup EXIT

e2e_start_display "$size"
e2e_new_prefix
[ "$size" = 1600x900 ] || e2e_set_desktop_size "$size"
suffix=""
[ "$edition" = en ] || suffix="-$edition"
preview="$ZARVO_WINDOWS_BUILD_DIR/tests/e2e/zarvo-table-preview$suffix.exe"
[ -f "$preview" ] || { echo "not built: $preview"; exit 1; }

failures=0
# run <name> <arguments...>: paints, takes the screenshot, checks the probes; prints the probes'
# figures into $E2E_WORK/<name>.out
run() {
  local name=$1
  shift
  local probes="$E2E_PROGRAM_DIR/probes-$name.txt"
  rm -f "$probes"
  (cd "$E2E_PROGRAM_DIR" && wine "$preview" --probes "probes-$name.txt" "$@") &
  local program=$!
  for _ in $(seq 150); do
    [ -s "$probes" ] && break
    sleep 0.2
  done
  [ -s "$probes" ] || { echo "$name: the preview wrote no probes"; kill "$program" || true; return 1; }
  sleep 1  # the paint has been written to the screen
  local shot="table-$edition-$size-$name"
  e2e_screenshot "$shot"
  if ! python3 "$here/check_probes.py" "$ZARVO_E2E_ARTIFACTS/$shot.png" "$probes" \
      | tee "$E2E_WORK/$name.out"; then
    failures=$((failures + 1))
  fi
  e2e_robot close ZarvoTablePreview
  wait "$program"
}

# figure <name> <key> <field>: a number from the "info" lines of a run.
figure() { awk -v k="info $2:" '$0 ~ "^" k { print $(3 + '"$3"') }' "$E2E_WORK/$1.out"; }

run 12drivers --drivers 12
run 5drivers --drivers 5 --no-conflict
run 20drivers-scrolled --drivers 20 --first 6

fit=$(figure 20drivers-scrolled rows 1)
visible12=$(figure 12drivers visible 0)
visible20=$(figure 20drivers-scrolled visible 0)
echo "rows that fit: $fit; visible with 12 drivers: $visible12; with 20: $visible20"
[ "$fit" -ge 12 ] || { echo "FAIL fewer than 12 rows fit"; failures=$((failures + 1)); }
[ "$fit" -le 20 ] || { echo "FAIL more than 20 rows"; failures=$((failures + 1)); }
[ "$visible12" -eq 12 ] || { echo "FAIL 12 drivers show $visible12 rows"; failures=$((failures + 1)); }
[ "$visible20" -eq "$fit" ] || { echo "FAIL 20 drivers show $visible20 rows"; failures=$((failures + 1)); }
grep -q "^ok   watermark" "$E2E_WORK/5drivers.out" || { echo "FAIL no watermark"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "results table of the $edition edition at $size: every check passed"
