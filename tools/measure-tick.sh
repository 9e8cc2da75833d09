#!/usr/bin/env bash
# Measures how long the 10 ms tick of the real program holds the user-interface thread while a
# run is timed with the journal on: the program runs under Wine in Xvfb with the tick log of
# app/tick_log.h (environment variable ZARVO_TICK_LOG), the decoder simulator plays a Vexa
# interface on COM1 with twenty cars (about eight passages a second), a session is loaded, its
# run 1 started, timed for the given seconds, stopped, and the program closed. Then it prints the
# machine's load (uptime), the longest ticks of the timed run with their parts, percentiles and
# the longest gap between two ticks, and keeps the log.
#   tools/measure-tick.sh [--build DIR] [--edition en|fr] [--seconds N] [--log FILE]
#     DIR: the Windows build folder (default build/windows); N: 60; FILE: build/tick-log.txt
#   ZARVO_SIMULATOR: the native decoder simulator (default build/native/tools/...)
set -Eeuo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"
edition=en
seconds=60
log_copy="$root/build/tick-log.txt"
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$(cd "$2" && pwd); shift 2 ;;
    --edition) edition=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --log) log_copy=$2; shift 2 ;;
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

program_test_begin tick-measure
python3 "$here/check_recovery.py" make-session "$dir/club.trng"
printf 'COM1\t1\tZarvo\r\n' >"$dir/$INTERFACE_FILE_NAME"
map_com1
start_simulator --mode vexa --transponders 1001-1020 --lap 2000-3000 --stagger 100

tick_log="$E2E_WORK/ticks.txt"
# The program sees the log's path as a Windows path on Wine's drive Z: (the Linux root).
export ZARVO_TICK_LOG="Z:${tick_log//\//\\}"
start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
unset ZARVO_TICK_LOG

e2e_robot command 1002
robot_line file club.trng 10000 >/dev/null || fail "no open dialog"
robot_line answer "$(text question)" no 5000 >/dev/null || fail "no save question"
sleep 0.5
e2e_robot tree-select 14001
sleep 0.5
e2e_robot click 2001
e2e_robot wait-state 2001 disabled 3000 || fail "Start stays enabled"
load_during=$(uptime)
sleep "$seconds"
load_after=$(uptime)
[ -s "$dir/Private/JournalPassages.jrn" ] || fail "no journal while the run runs"
shot timed
e2e_robot click 2002
sleep 1
close_program
passages=$(grep -c "sent passage" "$E2E_WORK/simulator.log" || true)
cp "$tick_log" "$log_copy"

echo "load when the run started: $load_during"
echo "load when it ended:        $load_after"
echo "passages sent: $passages in $seconds s; tick log: $log_copy"
python3 - "$tick_log" <<'EOF'
import sys

rows, header = [], None
for line in open(sys.argv[1], encoding="ascii", errors="replace"):
    fields = line.rstrip("\r\n").split("\t")
    if line.startswith("# tick"):
        header = [f for f in fields[4:] if f]
        continue
    if line.startswith("#") or len(fields) < 4:
        continue
    rows.append([int(v) for v in fields if v != ""])
names = [n[:-3] for n in header]
clock = names.index("clock") + 4
# The timed run: from the first tick that ran the race clock to the last.
timed = [r for r in rows if r[clock] > 0]
first, last = (timed[0][0], timed[-1][0]) if timed else (0, 0)
run = [r for r in rows if first <= r[0] <= last]


def report(what, ticks):
    if not ticks:
        print(f"{what}: no ticks")
        return
    totals = sorted(r[3] for r in ticks)
    pct = lambda p: totals[min(len(totals) - 1, int(len(totals) * p))]
    print(f"{what}: {len(ticks)} ticks; median {pct(0.5)} us, 99th percentile {pct(0.99)} us, "
          f"longest {totals[-1] / 1000:.2f} ms")
    for r in sorted(ticks, key=lambda r: -r[3])[:5]:
        parts = ", ".join(f"{n} {v / 1000:.2f}" for n, v in zip(names, r[4:]) if v >= 100)
        print(f"  tick {r[0]} at {r[1] / 1000:.1f} s: {r[3] / 1000:.2f} ms ({parts})")
    gaps = sorted(ticks[1:], key=lambda r: -r[2])[:1]
    for r in gaps:
        print(f"  longest gap between two ticks: {r[2] / 1000:.1f} ms, before tick {r[0]}")


report("timed run", run)
report("whole program", rows)
EOF
echo "measure-tick ($edition) done in $(($(date +%s) - begin)) s"
