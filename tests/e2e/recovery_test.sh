#!/usr/bin/env bash
# A run killed in the middle and brought back, through the real window under Wine, in one edition.
# A session is loaded and its run 1 timed with a wired Orix decoder simulated on COM1; the program
# is killed (wineserver -k) while the run runs. At the next start it asks whether to recover the
# run: "No" keeps the journal aside under another name. The run is timed and killed again; "Yes"
# brings the session back with the run, whose section in the working copy holds every passage the
# simulator sent before the kill (checked from outside); leaving the run puts it in the drivers'
# runs databases. Then another session is loaded (it is in the working copy now) and the program
# closed; the journal kept aside by "No" is put back, as a journal left from an earlier crash
# would be: at the next start "Yes" leaves the other session and its file byte for byte as they
# were, puts that run into its own session's file (club.trng, checked from outside) and says so.
# Screenshots: <artifacts>/recovery-<edition>-*.png.
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
check make-session "$dir/other.trng" "Club du vendredi"
printf '1\t0\t\r\n' >"$dir/Base données runs/ANNA.bdr"
printf 'COM1\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
map_com1

into_file_text() {  # <run> <file>
  if [ "$edition" = en ]; then
    echo "The run Run$1 of session Club du jeudi was not timed in the session that was open: it was recovered into the file $2, and the session that was open is shown as it was"
  else
    echo "Le run Run$1 de la séance Club du jeudi n'a pas été chronométré dans la séance qui était ouverte: il a été récupéré dans le fichier $2, et la séance ouverte est affichée telle qu'elle était"
  fi
}
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
time_run_and_kill 8 no
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

# ---- Another session takes the working copy; the stale journal of the first run comes back.
e2e_robot command 1002
robot_line file other.trng 10000 >/dev/null || fail "no open dialog"
robot_line answer "$(text question)" no 5000 >/dev/null || fail "no save question"
sleep 0.5
close_program
[ ! -e "$journal" ] || fail "a journal is left after a clean end"
mv "$dir/Private/JournalPassages-1.jrn" "$journal"
other_copy=$(md5sum <"$dir/Private/Session.trng")
other_file=$(md5sum <"$dir/other.trng")
sent_first=$(grep -c "sent passage" "$E2E_WORK/simulator-no.log")
last_first=$(grep "sent passage" "$E2E_WORK/simulator-no.log" | tail -n1 | sed 's/.* at \([0-9]*:[0-9]*:[0-9]*\)\..*/\1/')
kill "$SIM_PID" 2>/dev/null || true
wait "$SIM_PID" 2>/dev/null || true
start_simulator --mode orix --id 31 --transponders 1001-1003 --lap 2100-2600 --stagger 300
start_program "$exe"
robot_line box "$(text question)" 30000 >/dev/null || fail "no recovery question for the stale journal"
got=$(robot_line answer "$(text question)" yes 5000) || fail "the recovery question went"
expect_equal "question of the stale journal" "$(question_text 1 "$last_first" "$sent_first")" "$got"
got=$(robot_line answer Zarvo ok 15000) || fail "not told where the run went"
expect_equal "where the run went" "$(into_file_text 1 'C:\Program Files\Zarvo Training\club.trng')" "$got"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
sleep 0.5
shot stale-journal
expect_equal "the other session's working copy" "$other_copy" "$(md5sum <"$dir/Private/Session.trng")"
expect_equal "the other session's file" "$other_file" "$(md5sum <"$dir/other.trng")"
case "$(robot_line tree)" in "Club du vendredi"*) ;; *) fail "the other session is not shown: $(robot_line tree)" ;; esac
expect_equal "no file for the other session" "Zarvo" "$(robot_line title classeF)"
check session "$dir/club.trng" "$E2E_WORK/simulator-no.log" || fail "club.trng misses the first run's passages"
[ ! -e "$journal" ] || fail "the stale journal was not retired"
close_program
echo "figures ($edition): $sent passages recovered, then $sent_first into club.trng; the scenario took $(($(date +%s) - begin)) s"
echo "recovery ($edition) passed"
