#!/usr/bin/env bash
# A run killed in the middle and brought back, through the real window under Wine, in one edition.
# A session is loaded and its run 1 timed with a wired Orix decoder simulated on COM1; the program
# is killed (wineserver -k) while the run runs. At the next start it asks whether to recover the
# run: "No" keeps the journal aside under another name. The run is timed and killed again; "Yes"
# brings the session back with the run, whose section in the working copy holds every passage the
# simulator sent before the kill (checked from outside); leaving the run puts it in the drivers'
# runs databases. Screenshots: <artifacts>/recovery-<edition>-*.png.
#   recovery_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8

program_test_begin recovery
journal="$dir/Private/JournalPassages.jrn"
check() { python3 "$here/check_recovery.py" "$@"; }

check make-session "$dir/club.trng"
printf '1\t0\t\r\n' >"$dir/Base données runs/ANNA.bdr"
printf 'COM1\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
map_com1

question_text() {  # <run> <time> <passages>
  if [ "$edition" = en ]; then
    echo "The run Run$1 of session Club du jeudi was interrupted at $2 with $3 passages. Recover it?"
  else
    echo "Le run Run$1 de la séance Club du jeudi a été interrompu à $2 avec $3 passages. Le récupérer ?"
  fi
}
sent_count() { grep -c "sent passage" "$E2E_WORK/simulator.log" || true; }

# The program started with a fresh simulator; the decoder report and the warning answered.
start_and_answer_startup() {
  start_simulator --mode orix --id 31 --transponders 1001-1003 --lap 2100-2600 --stagger 300
  start_program "$exe"
  # The question comes while the main window is being created, before it can be found.
  if [ -n "${1:-}" ]; then
    local got
    robot_line box "$(text question)" 30000 >/dev/null || fail "no recovery question"
    shot "question-$1"
    got=$(robot_line answer "$(text question)" "$1" 5000) || fail "the recovery question went"
    expect_equal "recovery question" "$2" "$got"
  fi
  e2e_robot wait-window classeF 30000 || fail "no main window"
  robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
  answer_warning
}

# Loads club.trng, selects run 1, starts it and lets it run; then freezes the simulator (nothing
# more is sent), lets the program read what was sent, and kills the program.
time_run_and_kill() {
  e2e_robot command 1002
  robot_line file club.trng 10000 >/dev/null || fail "no open dialog"
  robot_line answer "$(text question)" no 5000 >/dev/null || fail "no save question"
  sleep 0.5
  e2e_robot tree-select 14001
  sleep 0.5
  e2e_robot click 2001
  e2e_robot wait-state 2001 disabled 3000 || fail "Start stays enabled"
  for _ in $(seq 50); do grep -q "sent start answer" "$E2E_WORK/simulator.log" && break; sleep 0.2; done
  sleep "$1"
  [ -s "$journal" ] || fail "no journal while the run runs"
  shot "running-$2"
  kill -STOP "$SIM_PID"
  sleep 0.6
  cp "$journal" "$E2E_WORK/journal-before-kill-$2.jrn"
  wineserver -k 2>/dev/null || true
  wait "$PROGRAM_PID" 2>/dev/null || true
  PROGRAM_PID=""
  # Killed while frozen: woken up, it would send the passages it owes since it was frozen.
  kill -KILL "$SIM_PID" 2>/dev/null || true
  wait "$SIM_PID" 2>/dev/null || true
  SIM_PID=""
  cp "$E2E_WORK/simulator.log" "$E2E_WORK/simulator-$2.log"
  e2e_start_wineserver
  [ -s "$journal" ] || fail "the kill left no journal"
}

# ---- First run, killed; "No" keeps its journal aside.
start_and_answer_startup
time_run_and_kill 5 no
sent=$(grep -c "sent passage" "$E2E_WORK/simulator-no.log")
last=$(grep "sent passage" "$E2E_WORK/simulator-no.log" | tail -n1 | sed 's/.* at \([0-9]*:[0-9]*:[0-9]*\)\..*/\1/')
journal_bytes=$(md5sum <"$journal")
start_and_answer_startup no "$(question_text 1 "$last" "$sent")"
[ ! -e "$journal" ] || fail "the journal is still there after No"
[ -f "$dir/Private/JournalPassages-1.jrn" ] || fail "no journal kept aside"
expect_equal "the journal kept aside" "$journal_bytes" "$(md5sum <"$dir/Private/JournalPassages-1.jrn")"
expect_equal "a new session after No" "" "$(robot_line enabled 2201 2220)"
shot after-no

# ---- Second run, killed; "Yes" brings it back.
time_run_and_kill 10 yes
sent=$(grep -c "sent passage" "$E2E_WORK/simulator-yes.log")
last=$(grep "sent passage" "$E2E_WORK/simulator-yes.log" | tail -n1 | sed 's/.* at \([0-9]*:[0-9]*:[0-9]*\)\..*/\1/')
cp "$dir/Private/Session.trng" "$E2E_WORK/before-recovery.trng"
start_and_answer_startup yes "$(question_text 1 "$last" "$sent")"
sleep 0.5
shot recovered
[ ! -e "$journal" ] || fail "the journal was not retired after the recovery"
cmp -s "$E2E_WORK/before-recovery.trng" "$dir/VaZivivIvar.trng" || fail "the crash copy is not the session as the kill left it"
check session "$dir/Private/Session.trng" "$E2E_WORK/simulator-yes.log" || fail "the rebuilt run misses passages"
expect_equal "lap buttons of the recovered run" "2201 2202 2203" "$(robot_line enabled 2201 2220)"
expect_equal "Start waits for Clear" "enabled=1 visible=1 checked=0" "$(robot_line state 2001)"
expect_equal "the session's file" 'Zarvo:   C:\Program Files\Zarvo Training\club.trng' "$(robot_line title classeF)"
tree=$(robot_line tree)
case "$tree" in *"Run 1"*) ;; *) fail "no run in the tree: $tree" ;; esac

# Leaving the run writes it again and archives it.
e2e_robot tree-select 10000
sleep 0.5
check session "$dir/Private/Session.trng" "$E2E_WORK/simulator-yes.log" || fail "the run changed when it was left"
check archive "$dir/Base données runs/ANNA.bdr" "$E2E_WORK/simulator-yes.log" 001001 ||
  fail "the runs database does not hold the recovered run"
shot left

close_program
[ ! -e "$journal" ] || fail "a journal is left after a clean end"
echo "figures ($edition): $sent passages recovered; the scenario took $(($(date +%s) - begin)) s"
echo "recovery ($edition) passed"
