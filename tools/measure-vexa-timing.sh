#!/usr/bin/env bash
# Measures the lap times the real program gives Vexa passages under Wine against the instants the
# decoder simulator put them on the line, and prints a table of the errors.
#
#   tools/measure-vexa-timing.sh [--program DIR] [--edition en|fr] [--phase S] [--keep]
#
# The simulator plays the Vexa interface on COM1 (a socat pty pair) with 8 cars that cross within
# 60 ms of each other every 2.8 to 3.4 s, and logs the instant each passage was written (the clock
# Wine's performance counter reads). The program, driven by the end-to-end robot, times a run of
# the 8 drivers through three phases of S seconds each (default 40): quiet; a repaint storm (the
# whole window invalidated every 2 ms, its repaints come before its timer); stalls (the window's
# thread suspended for 500 ms every 1.2 s). "Stop" archives the run; the lap times are read from
# the drivers' runs databases and compared lap by lap with the simulator's instants.
#
# --program DIR measures an installed program folder (for example one built from an older commit
# and installed with `cmake --install <build> --prefix DIR`) instead of build/windows.
# Needs build/windows (robot, program) and build/native (simulator) built; 2 cores are enough.
# The figures depend on the load of the machine: the table starts with `uptime`. The table and the
# raw data (instants, phases, stalls, runs databases) are kept in build/vexa-timing/<date-time>/;
# tools/measure_vexa_timing.py analyses them again.
set -Eeuo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=""
edition=en
phase=40
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --program) program=$(cd "$2" && pwd); shift ;;
    --edition) edition=$2; shift ;;
    --phase) phase=$2; shift ;;
    --keep) keep=1 ;;
    -h|--help) sed -n '2,19p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown option $1 (--help)"; exit 2 ;;
  esac
  shift
done

export ZARVO_WINDOWS_BUILD_DIR=${ZARVO_WINDOWS_BUILD_DIR:-$root/build/windows}
export ZARVO_SIMULATOR=${ZARVO_SIMULATOR:-$root/build/native/tools/decoder-simulator/zarvo-decoder-simulator}
[ -x "$ZARVO_SIMULATOR" ] || { echo "build the simulator first: cmake --build --preset native"; exit 2; }
[ -f "$ZARVO_WINDOWS_BUILD_DIR/tests/e2e/zarvo-robot.exe" ] ||
  { echo "build the Windows editions first: cmake --build --preset windows"; exit 2; }
here="$root/tests/e2e"
source "$here/wine_env.sh"
source "$here/program_env.sh"
[ "$keep" = 1 ] && export ZARVO_E2E_KEEP=1
trap program_cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8

monotonic_raw() { python3 -c 'import time; print(time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW) // 100)'; }

program_test_begin vexa-timing
if [ -n "$program" ]; then
  # The measured program replaces the one just installed; the data files stay the same.
  cp "$program/zarvo-training-$edition.exe" "$dir/$exe"
fi

# ---- Eight drivers with the transponders 101 to 108, each archiving his runs; the Vexa on COM1.
drivers=(CAR1 CAR2 CAR3 CAR4 CAR5 CAR6 CAR7 CAR8)
: >"$dir/BaseDonnéesPilotes.bd"
for k in "${!drivers[@]}"; do
  printf '%s\t\t\t\t\t\t\t\t\t\t%06d\t\t\t\r\n' "${drivers[$k]}" $((101 + k)) >>"$dir/BaseDonnéesPilotes.bd"
  printf '1\t0\t\r\n' >"$dir/Base données runs/${drivers[$k]}.bdr"
done
printf 'COM1\t1\tZarvo\r\n' >"$dir/$INTERFACE_FILE_NAME"

# ---- The passages: packs of the 8 cars within 60 ms, a pack every 2.8 to 3.4 s, for the whole
# measurement and some time either side (the Vexa's time line starts when the line opens).
script="$E2E_WORK/passages.txt"
python3 - "$script" $(( (3 * phase + 120) * 1000 )) <<'EOF'
import random, sys
path, span = sys.argv[1], int(sys.argv[2])
random.seed(28)
t = 4000
with open(path, "w") as out:
    while t < span:
        offsets = sorted(random.sample(range(0, 61), 8))
        cars = random.sample(range(101, 109), 8)
        for car, offset in zip(cars, offsets):
            out.write(f"{t + offset} {car}\n")
        t += random.randint(2800, 3400)
EOF
instants="$E2E_WORK/instants.txt"
map_com1
start_simulator --mode vexa --script "$script" --instants "$instants"

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

# ---- The session: the 8 drivers, a 30-minute run (stopped by hand) with a 1 s countdown.
e2e_robot tree-select 12000
tree_menu 12000 || fail "no menu on the drivers"
list=$(text participants-dialog)
for k in "${!drivers[@]}"; do
  e2e_robot in "$list" select 4203 "$k"
  e2e_robot in "$list" click 4204
done
sleep 0.3
expect_equal "participants" "$(IFS='|'; echo "${drivers[*]}")" "$(robot_line in "$list" list 4202)"
e2e_robot in "$list" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the participants dialog stayed"
e2e_robot tree-select 13000
tree_menu 13000 || fail "no menu on the parameters"
parameters=$(text parameters-dialog)
e2e_robot in "$parameters" set 4405 30
e2e_robot in "$parameters" set 4407 1
e2e_robot in "$parameters" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the parameters dialog stayed"
e2e_robot tree-select 14000
tree_menu 14000 || fail "no menu on the sessions"
sleep 0.3
e2e_robot tree-select 14001
sleep 0.5

# ---- The run and its three phases.
e2e_robot click 2001
e2e_robot wait-state 2001 disabled 3000 || fail "Start stays enabled"
sleep 8  # the countdown, then every car's first crossing (his own start)
phases="$E2E_WORK/phases.txt"
echo "quiet $(monotonic_raw)" >"$phases"
sleep "$phase"
echo "storm $(monotonic_raw)" >>"$phases"
robot_line storm $((phase * 1000)) >"$E2E_WORK/storm.txt"
echo "stalls $(monotonic_raw)" >>"$phases"
robot_line stall 500 $((phase * 1000 / 1200)) 700 >"$E2E_WORK/stalls.txt"
echo "end $(monotonic_raw)" >>"$phases"
sleep 4  # the laps under way end
load=$(uptime)
e2e_robot click 2002
e2e_robot wait-state 2001 enabled 10000 || fail "the run did not stop"
sleep 1

# The raw data stay beside the table, to be looked at or analysed again.
results="$root/build/vexa-timing/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$results/runs"
cp "$instants" "$phases" "$script" "$E2E_WORK/stalls.txt" "$E2E_WORK/storm.txt" "$results/"
for name in "${drivers[@]}"; do cp "$dir/Base données runs/$name.bdr" "$results/runs/"; done
{
  echo "program: ${program:-$ZARVO_WINDOWS_BUILD_DIR} ($edition), phases of $phase s"
  echo "uptime at the end of the run: $load"
  python3 "$root/tools/measure_vexa_timing.py" "$results/runs" "$results/instants.txt" \
    "$results/phases.txt" "$results/stalls.txt" "${drivers[@]}"
} | tee "$results/table.md"
echo "(raw data in $results)"
