#!/usr/bin/env bash
# Measures the live results server of the real program under Wine while a run is timed: the
# program starts with its server on (settings file written here), the decoder simulator plays a
# wired Orix on COM1 with twenty cars, a session of twenty drivers is loaded and its run 1
# started; then 50 event-stream clients and a client asking for /results.json as fast as it can
# run for the given seconds (tools/measure_live_load.py), with the tick log of app/tick_log.h on.
# Prints the requests per second, the passage-to-event latency, whether every lap timed is the
# decoder's, and the ticks of the timed run (as tools/measure-tick.sh does). A measurement, not a
# test.
#   tools/measure-live-load.sh [--build DIR] [--seconds N] [--clients C]
#     DIR: the Windows build folder (default build/windows); N: 60; C: 50
#   ZARVO_SIMULATOR: the native decoder simulator (default build/native/tools/...)
set -Eeuo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"
edition=en
seconds=60
clients=50
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$(cd "$2" && pwd); shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --clients) clients=$2; shift 2 ;;
    *) sed -n '2,12p' "$0"; exit 2 ;;
  esac
done
export ZARVO_WINDOWS_BUILD_DIR="$build"
export ZARVO_SIMULATOR=${ZARVO_SIMULATOR:-$root/build/native/tools/decoder-simulator/zarvo-decoder-simulator}
[ -x "$ZARVO_SIMULATOR" ] || { echo "no decoder simulator: $ZARVO_SIMULATOR"; exit 2; }
here="$root/tests/e2e"
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
export LC_ALL=C.UTF-8

program_test_begin live-load
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("0.0.0.0", 0)); print(s.getsockname()[1])')
printf 'RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT%s\r\n' "$port" >"$dir/RéglagesRésultatsEnDirect.rg"
python3 "$root/tools/measure_live_load.py" make-session "$dir/charge.trng" 20
printf 'COM1\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
map_com1
start_simulator --mode orix --id 31 --transponders 1001-1020 --lap 2000-3000 --stagger 100 \
  --instants "$E2E_WORK/instants.txt"

tick_log="$E2E_WORK/ticks.txt"
export ZARVO_TICK_LOG="Z:${tick_log//\//\\}"
start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
unset ZARVO_TICK_LOG

e2e_robot command 1002
robot_line file charge.trng 10000 >/dev/null || fail "no open dialog"
robot_line answer "$(text question)" no 5000 >/dev/null || fail "no save question"
sleep 0.5
e2e_robot tree-select 14001
sleep 0.5
e2e_robot click 2001
e2e_robot wait-state 2001 disabled 3000 || fail "Start stays enabled"
sleep 3
load_during=$(uptime)
python3 "$root/tools/measure_live_load.py" load "$port" "$E2E_WORK/simulator.log" \
  "$E2E_WORK/instants.txt" "$seconds" "$clients" || status=$?
load_after=$(uptime)
shot timed
e2e_robot click 2002
sleep 1
close_program
echo "load when the measurement started: $load_during"
echo "load when it ended:                $load_after"
echo "passages sent: $(grep -c "sent passage" "$E2E_WORK/simulator.log" || true)"
python3 - "$tick_log" <<'PY'
import sys
rows, header = [], None
for line in open(sys.argv[1], encoding="ascii", errors="replace"):
    fields = line.rstrip("\r\n").split("\t")
    if line.startswith("# tick"):
        header = [f[:-3] for f in fields[4:] if f]
        continue
    if line.startswith("#") or len(fields) < 4:
        continue
    rows.append([int(v) for v in fields if v != ""])
# The timed run: from the first tick that ran the race clock to the last.
clock = header.index("clock") + 4
timed = [r for r in rows if r[clock] > 0]
run = [r for r in rows if timed and timed[0][0] <= r[0] <= timed[-1][0]]
totals = sorted(r[3] for r in run)
pct = lambda p: totals[min(len(totals) - 1, int(len(totals) * p))]
print(f"ticks of the timed run: {len(run)}; median {pct(0.5)} us, 99th percentile {pct(0.99)} us, "
      f"longest {totals[-1] / 1000:.2f} ms, over 5 ms {sum(t > 5000 for t in totals)}; "
      f"longest gap {max(r[2] for r in run[1:]) / 1000:.1f} ms")
PY
exit "${status:-0}"
