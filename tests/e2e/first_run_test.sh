#!/usr/bin/env bash
# The README's run command as a newcomer meets it: tools/run-program.sh from a fresh work folder,
# on its own virtual display, prepares the demo data in the prefix (never in data/), sets up the
# demo session through the program's tree and dialogs, and starts run 1, which the simulated cars
# then lap. Screenshots: <artifacts>/first-run-<edition>-*.png.
#   first_run_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
: "${ZARVO_SOURCE_DIR:?ZARVO_SOURCE_DIR must name the source tree}"
export LC_ALL=C.UTF-8
work=$(mktemp -d /tmp/zarvo-first-run.XXXXXX)
RUN_PID=""
cleanup() {
  if [ -n "$RUN_PID" ]; then kill -INT "$RUN_PID" 2>/dev/null || true; wait "$RUN_PID" 2>/dev/null || true; fi
  [ -n "${ZARVO_E2E_KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  echo "--- run-program.sh output"; tail -n 30 "$work/out.log" 2>/dev/null || true
  echo "--- robot messages"; tail -n 10 "$work/run/demo.log" 2>/dev/null || true
  cp "$work/run/screenshot-latest.png" "$ZARVO_E2E_ARTIFACTS/failure-first-run-$edition.png" 2>/dev/null || true
  exit 1
}
data_before=$(cd "$ZARVO_SOURCE_DIR" && find data -type f -print0 | sort -z | xargs -0 md5sum)

# The script's own display, as on a machine without one; stopped after 70 s at the latest.
begin=$(date +%s)
(unset DISPLAY; ZARVO_RUN_DIR="$work/run" ZARVO_RUN_FOR=70 exec "$ZARVO_SOURCE_DIR/tools/run-program.sh" "$edition") \
  >"$work/out.log" 2>&1 &
RUN_PID=$!
for _ in $(seq 600); do
  grep -q -e "Run 1 is started" -e "could not be set up" "$work/out.log" 2>/dev/null && break
  kill -0 "$RUN_PID" 2>/dev/null || break
  sleep 0.2
done
grep -q "Run 1 is started" "$work/out.log" || fail "the demo run was not started"
echo "figures ($edition): demo run started $(($(date +%s) - begin)) s after the command"
cp "$work/run/screenshot-demo-start.png" "$ZARVO_E2E_ARTIFACTS/first-run-$edition-1-started.png"

export WINEPREFIX="$work/run/prefix"
dir="$WINEPREFIX/drive_c/Program Files/Zarvo Training"
robot_line() { e2e_robot "$@" | tr -d '\r'; }
expect_equal() { [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"; }
grep -q "^ALEX.*001001" "$dir/BaseDonnéesPilotes.bd" || fail "no demo drivers in the prefix"
[ -f "$dir/demo.trng" ] || fail "the demo session was not saved"
expect_equal "six participants, run loaded" "2201 2202 2203 2204 2205 2206" "$(robot_line enabled 2201 2220)"
expect_equal "the run is timed" "enabled=0 visible=1 checked=0" "$(robot_line state 2001)"
# The decoder is asked to start at the end of the 5 s countdown.
for _ in $(seq 50); do grep -q "sent start answer" "$work/run/simulator.log" && break; sleep 0.2; done
grep -q "sent start answer" "$work/run/simulator.log" || fail "the decoder was never asked to start"
# The cars set off with the start: a lap of 18 to 23 s after the 5 s countdown.
for _ in $(seq 40); do
  [ "$(sed -n '/sent start answer/,$p' "$work/run/simulator.log" | grep -c 'sent passage')" -ge 6 ] && break
  sleep 1
done
[ "$(sed -n '/sent start answer/,$p' "$work/run/simulator.log" | grep -c 'sent passage')" -ge 6 ] ||
  fail "no laps were sent after the start"
sleep 6
cp "$work/run/screenshot-latest.png" "$ZARVO_E2E_ARTIFACTS/first-run-$edition-2-timed.png"
expect_equal "still timing" "enabled=0 visible=1 checked=0" "$(robot_line state 2001)"

# ---- Run again with --bare over a prefix whose interface settings name COM3 and whose shipped
# files are older than the build: the simulator goes on COM3, the settings are the program's
# own (it found the decoder there), the shipped files are the build's, the user's are kept.
kill -INT "$RUN_PID" 2>/dev/null || true
wait "$RUN_PID" 2>/dev/null || true
RUN_PID=""
# The run was stopped while it was timed: its journal would make the next start ask to recover it.
rm -f "$dir/Private/JournalPassages.jrn"
interface="$dir/RéglagesInterface2.rg"
printf 'COM3\t0\tZarvo\r\n' >"$interface"
printf 'older' >>"$dir/sons/10secondes.wav"
printf 'older' >>"$dir/Guides/HelpTrainingGB.pdf"
printf 'older' >>"$dir/BaseDonnéesPays.bd"
printf 'older' >>"$dir/images/logo.bmp"
drivers_before=$(md5sum <"$dir/BaseDonnéesPilotes.bd")
(unset DISPLAY; ZARVO_RUN_DIR="$work/run" ZARVO_RUN_FOR=5 exec "$ZARVO_SOURCE_DIR/tools/run-program.sh" "$edition" --bare) \
  >"$work/out.log" 2>&1 &
RUN_PID=$!
for _ in $(seq 600); do
  grep -q -e "Decoder report" -e "The program has ended" "$work/out.log" 2>/dev/null && break
  kill -0 "$RUN_PID" 2>/dev/null || break
  sleep 0.2
done
grep -q "Decoder report.*4242" "$work/out.log" || fail "no decoder report"
for _ in $(seq 20); do grep -q "^COM3.1.ZarvoOrix" "$interface" && break; sleep 0.5; done
expect_equal "interface settings after --bare" "COM3 1 ZarvoOrix" "$(tr '\t' ' ' <"$interface" | tr -d '\r\n')"
for shipped in sons/10secondes.wav Guides/HelpTrainingGB.pdf BaseDonnéesPays.bd images/logo.bmp; do
  cmp -s "$ZARVO_SOURCE_DIR/data/$shipped" "$dir/$shipped" || fail "not refreshed from the build: $shipped"
done
expect_equal "the drivers database after --bare" "$drivers_before" "$(md5sum <"$dir/BaseDonnéesPilotes.bd")"
grep -q "simulator on COM3" "$work/out.log" || fail "the simulator was not put on COM3"
wait "$RUN_PID" 2>/dev/null || true
RUN_PID=""

data_after=$(cd "$ZARVO_SOURCE_DIR" && find data -type f -print0 | sort -z | xargs -0 md5sum)
[ "$data_before" = "$data_after" ] || fail "the demo changed the shipped data/"
echo "first run ($edition) passed"
