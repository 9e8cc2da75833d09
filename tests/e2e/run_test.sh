#!/usr/bin/env bash
# A run timed through the real window under Wine, with a wired Orix decoder simulated on COM1 and
# four cars on the loop. The program's session holds four drivers with run 1 ready to start (the
# scripted build of the program, tests/e2e/scripted_session_win32.cpp).
#   run_test.sh <en|fr> closing   "Start", then closing is refused during the countdown and
#                                  during the run; after "Stop" it asks whether to save
#   run_test.sh <en|fr> timed     "Start", the countdown, the decoder's start, laps filling the
#                                  table, "Stop": the run is archived in the driver's runs
#                                  database; screenshots of each step
set -euo pipefail
edition=${1:?edition en or fr}
scenario=${2:?scenario closing or timed}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT

e2e_start_display
e2e_new_prefix
exe="zarvo-training-scripted-$edition.exe"
cp "$ZARVO_WINDOWS_BUILD_DIR/tests/e2e/$exe" "$E2E_PROGRAM_DIR/" || fail "not built: $exe"
printf 'ANNA\t001001\r\nBRUNO\t001002\r\nCHLOE\t001003\r\nDAVID\t001004\r\n' >"$E2E_PROGRAM_DIR/e2e-session.txt"
# ANNA keeps her runs in her runs database.
printf '1\t0\t\r\n' >"$E2E_PROGRAM_DIR/Base données runs/ANNA.bdr"
printf 'COM1\t1\tZarvoOrix\r\n' >"$E2E_PROGRAM_DIR/$INTERFACE_FILE_NAME"
map_com1
start_simulator --mode orix --id 31 --transponders 1001-1004 --lap 2600-3400 --stagger 250
shot="run-$edition-$scenario"

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
if [ "$edition" = en ]; then track=Track; drivers="Drivers (4)"; else track=Piste; drivers="Pilotes (4)"; fi
expect_equal "session tree" "SEANCE TRAINING *
  $track
  $drivers
    ANNA
    BRUNO
    CHLOE
    DAVID
  $([ "$edition" = en ] && echo Parameters || echo Paramètres)
  Sessions
    Run 1" "$(robot_line tree)"
sleep 0.5
e2e_screenshot "$shot-ready"

# "Start": the run is armed, the countdown (5 s) runs.
e2e_robot click 2001
e2e_robot wait-state 2001 disabled 3000 || fail "Start stays enabled"
expect_equal "tree during the run" "enabled=0 visible=1 checked=0" "$(robot_line state 4000)"
expect_equal "Stop during the run" "enabled=1 visible=1 checked=0" "$(robot_line state 2002)"
expect_equal "Clear during the run" "enabled=0 visible=1 checked=0" "$(robot_line state 2003)"
expect_equal "personal chips during the run" "enabled=0 visible=1 checked=1" "$(robot_line state 2101)"
sleep 1
e2e_screenshot "$shot-countdown"

if [ "$scenario" = closing ]; then
  e2e_robot close classeF
  expect_equal "refusal during the countdown" "$(text quit-refused)" "$(robot_line answer Zarvo ok 5000)"
  e2e_robot wait-window classeF 1000 || fail "the window closed during the countdown"
  # After the countdown and the decoder's start, the run is timed.
  for _ in $(seq 60); do grep -q "sent start answer" "$E2E_WORK/simulator.log" && break; sleep 0.2; done
  grep -q "sent start answer" "$E2E_WORK/simulator.log" || fail "the decoder was never asked to start"
  sleep 1
  e2e_robot close classeF
  got=$(robot_line box Zarvo 5000) || fail "no refusal during the run"
  expect_equal "refusal during the run" "$(text quit-refused)" "$got"
  e2e_screenshot "$shot-refused"
  e2e_robot answer Zarvo ok 5000 >/dev/null
  e2e_robot no-box "$(text question)" 500 || fail "the save question came during the run"
  e2e_robot click 2002
  e2e_robot wait-state 2001 enabled 3000 || fail "Stop did not enable Start again"
  close_program
  echo "closing test ($edition) passed"
  exit 0
fi

# The countdown ends, the decoder zeroes its clock, the cars cross the loop every 2.6 to 3.4 s.
for _ in $(seq 60); do grep -q "sent start answer" "$E2E_WORK/simulator.log" && break; sleep 0.2; done
grep -q "sent start answer" "$E2E_WORK/simulator.log" || fail "the decoder was never asked to start"
sleep 5
e2e_screenshot "$shot-running"
sleep 5
e2e_screenshot "$shot-running-later"
e2e_robot click 2002
e2e_robot wait-state 2001 enabled 3000 || fail "Stop did not enable Start again"
expect_equal "tree after the run" "enabled=1 visible=1 checked=0" "$(robot_line state 4000)"
sleep 1
e2e_screenshot "$shot-stopped"

# ANNA's runs database holds the run: its title, her name, her laps.
slot=$(sed -n 2p "$E2E_PROGRAM_DIR/Base données runs/ANNA.bdr")
title=$(printf '%s' "$slot" | cut -f1)
name=$(printf '%s' "$slot" | cut -f2)
laps=$(printf '%s' "$slot" | cut -f3)
if [ "$edition" = en ]; then title_start="Start 20"; else title_start=$(printf 'D\xe9part 20'); fi
case "$title" in "$title_start"*) ;; *) fail "archived run title: $title" ;; esac
expect_equal "archived driver" "ANNA" "$name"
[ "$laps" -ge 2 ] && [ "$laps" -le 6 ] || fail "ANNA drove $laps laps in about 10 s"
printf '%s' "$slot" | grep -q ' SEANCE TRAINING - Run1 ' || fail "the run caption is not archived with the run"
[ ! -e "$E2E_PROGRAM_DIR/Base données runs/BRUNO.bdr" ] || fail "BRUNO had no runs database, none may be made"
echo "ANNA's run: $laps laps, title '$(printf '%s' "$title" | iconv -f CP1252 -t UTF-8)'"
close_program
echo "timed run test ($edition) passed"
