#!/usr/bin/env bash
# A practice day through the real window under Wine, in one edition: a new session is renamed,
# given its track, its participants and its run parameters from the tree's pop-up menus; run 1
# is added, selected and timed with a wired Orix decoder simulated on COM1 until it ends by itself;
# the session is saved under a name typed without ".trng"; the saved file, the runs databases and
# the circuits database are checked from outside; the session is loaded again and its run shown.
# Closing is refused while the run is armed and timed, and cancelling the save dialog after "Yes"
# to saving (before a new session, or when quitting) keeps the session. Screenshots of every step: <artifacts>/journey-<edition>-*.png.
#   journey_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
# A step that fails without its own message names itself.
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
# Texts with accents go to the robot as UTF-8.
export LC_ALL=C.UTF-8

program_test_begin journey
# The session name in the header of a session file.
session_name_in() { head -n1 "$1" | iconv -f CP1252 -t UTF-8 | cut -f2; }
# The Windows path of a file of the program folder, as the program shows it.
program_path() { printf 'C:\\Program Files\\Zarvo Training\\%s' "$1"; }

# ---- The program folder: four drivers, one circuit with a lap record, runs databases (only
# Hélène archives her runs), a wired Orix on COM1. Files are Windows-1252 ("\xe9" é, "\xe8" è).
helene=$(printf 'H\xc3\xa9l\xc3\xa8ne')
drivers=""
for entry in "ANNA 001001" "BRUNO 001002" "H\xe9l\xe8ne 001003" "DAVID 001004"; do
  drivers+="${entry% *}\t\t\t\t\t\t\t\t\t\t${entry#* }\t\t\t\r\n"
done
printf "$drivers" >"$dir/BaseDonnéesPilotes.bd"
printf 'Piste des Ours\t120\t18.250\t18250\tMARC\t3\tGrenoble\t\t\r\n' >"$dir/BaseDonnéesCircuits.bd"
runs="$dir/Base données runs"
printf '1\t0\t\r\n' >"$runs/$helene.bdr"
for name in ANNA BRUNO DAVID; do printf '0\t0\t\r\n' >"$runs/$name.bdr"; done
printf 'COM1\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
map_com1
start_simulator --mode orix --id 31 --transponders 1001-1004 --lap 3600-4400 --stagger 250
started_runs() { grep -c "sent start answer" "$E2E_WORK/simulator.log" || true; }

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

tree_text() { robot_line tree; }
tree_of_new_session=$(printf 'SEANCE TRAINING *\n  %s\n  %s (0)\n  %s\n  Sessions' \
  "$(text tree-track)" "$(text tree-drivers)" "$(text tree-parameters)")

# ---- New session, not saving the current one.
e2e_robot command 1001
expect_equal "new session question" "$(text new-question)" "$(robot_line answer "$(text question)" no 5000)"
expect_equal "tree of a new session" "$tree_of_new_session" "$(tree_text)"
expect_equal "title" "Zarvo" "$(robot_line title classeF)"
# Without participants, neither the parameters nor the runs offer a menu.
e2e_robot tree-select 13000
e2e_robot tree-rclick 13000
e2e_robot no-popup 700 || fail "the parameters offer a menu without participants"
shot new-session

# ---- Rename the session from the root's menu: 28 characters at most.
session_name="Journée d'été au club"
e2e_robot tree-select 10000
tree_menu 10000 || fail "no menu on the session"
expect_equal "label edit limit" "28" "$(robot_line edit-label "$session_name" 5000)"
sleep 0.3
expect_equal "renamed root" "$session_name *" "$(tree_text | head -n1)"
header=$(session_name_in "$dir/Private/Session.trng")
expect_equal "name in the working copy" "$session_name" "$header"
shot renamed

# ---- Track: the circuit's minimum lap time is taken.
e2e_robot tree-select 11000
tree_menu 11000 || fail "no menu on the track"
track=$(text track-dialog)
expect_equal "circuits offered" "Piste des Ours" "$(robot_line in "$track" list 4102)"
expect_equal "minimum lap time before" "2" "$(robot_line in "$track" text 4108)"
e2e_robot in "$track" set 4101 Samedi
e2e_robot in "$track" select 4102 0
sleep 0.3
expect_equal "circuit name" "Piste des Ours" "$(robot_line in "$track" text 4103)"
expect_equal "circuit record" "18.250" "$(robot_line in "$track" text 4105)"
expect_equal "minimum lap time of the circuit" "3" "$(robot_line in "$track" text 4108)"
shot track-dialog
e2e_robot in "$track" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the track dialog stayed"

# ---- List of participants: add four, remove one, add it back.
e2e_robot tree-select 12000
tree_menu 12000 || fail "no menu on the drivers"
list=$(text participants-dialog)
expect_equal "drivers database" "ANNA|BRUNO|$helene|DAVID" "$(robot_line in "$list" list 4203)"
for index in 0 1 2 3; do
  e2e_robot in "$list" select 4203 $index
  e2e_robot in "$list" click 4204
done
sleep 0.3
expect_equal "four participants" "ANNA|BRUNO|$helene|DAVID" "$(robot_line in "$list" list 4202)"
expect_equal "participant count" "(4)" "$(robot_line in "$list" text 4201)"
e2e_robot in "$list" select 4202 1
e2e_robot in "$list" click 4205
sleep 0.3
expect_equal "BRUNO removed" "ANNA|$helene|DAVID" "$(robot_line in "$list" list 4202)"
expect_equal "participant count after removal" "(3)" "$(robot_line in "$list" text 4201)"
e2e_robot in "$list" select 4203 1
e2e_robot in "$list" click 4204
sleep 0.3
expect_equal "BRUNO back, last" "ANNA|$helene|DAVID|BRUNO" "$(robot_line in "$list" list 4202)"
expect_equal "remove allowed before a run" "enabled=1 visible=1 checked=0" "$(robot_line in "$list" state 4205)"
shot participants-dialog
e2e_robot in "$list" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the participants dialog stayed"

# ---- Run parameters: a run of 1 minute, 3 s of countdown.
e2e_robot tree-select 13000
tree_menu 13000 || fail "no menu on the parameters"
parameters=$(text parameters-dialog)
expect_equal "time run" "enabled=1 visible=1 checked=1" "$(robot_line in "$parameters" state 4403)"
expect_equal "staggered start" "enabled=1 visible=1 checked=1" "$(robot_line in "$parameters" state 4408)"
e2e_robot in "$parameters" set 4405 1
e2e_robot in "$parameters" set 4407 3
shot parameters-dialog
e2e_robot in "$parameters" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the parameters dialog stayed"

# ---- Add a run from the sessions' menu, select it: the run is ready.
e2e_robot tree-select 14000
tree_menu 14000 || fail "no menu on the sessions"
sleep 0.3
expected_tree=$(printf '%s *\n  %s\n  %s (4)\n    ANNA\n    %s\n    DAVID\n    BRUNO\n  %s\n  Sessions\n    Run 1' \
  "$session_name" "$(text tree-track)" "$(text tree-drivers)" "$helene" "$(text tree-parameters)")
expect_equal "tree of the session" "$expected_tree" "$(tree_text)"
e2e_robot tree-select 14001
sleep 0.5
expect_equal "lap buttons of the run" "2201 2202 2203 2204" "$(robot_line enabled 2201 2220)"
expect_equal "Start" "enabled=1 visible=1 checked=0" "$(robot_line state 2001)"
shot run-ready

# ---- Start: the countdown, the decoder's start, the laps; closing is refused meanwhile.
e2e_robot click 2001
e2e_robot wait-state 2001 disabled 3000 || fail "Start stays enabled"
expect_equal "tree during the run" "enabled=0 visible=1 checked=0" "$(robot_line state 4000)"
expect_equal "Clear during the run" "enabled=0 visible=1 checked=0" "$(robot_line state 2003)"
e2e_robot close classeF
expect_equal "refusal during the countdown" "$(text quit-refused)" "$(robot_line answer Zarvo ok 5000)"
shot countdown
for _ in $(seq 50); do [ "$(started_runs)" -ge 1 ] && break; sleep 0.2; done
[ "$(started_runs)" -ge 1 ] || fail "the decoder was never asked to start"
run_started=$(date +%s)
sleep 9
e2e_robot close classeF
expect_equal "refusal during the run" "$(text quit-refused)" "$(robot_line answer Zarvo ok 5000)"
e2e_robot no-box "$(text question)" 300 || fail "the save question came during the run"
[ -s "$dir/Private/JournalPassages.jrn" ] || fail "no journal of the run being timed"
shot running
# Every driver finishes with his first passage after his own minute: the run ends by itself.
e2e_robot wait-state 2001 enabled 80000 || fail "the run did not end by itself"
echo "figures ($edition): the run ended $(($(date +%s) - run_started)) s after the decoder's start"
expect_equal "tree after the run" "enabled=1 visible=1 checked=0" "$(robot_line state 4000)"
shot run-ended

# ---- "Yes" to saving before a new session, then Cancel in the save dialog: nothing changes.
before_tree=$(tree_text)
e2e_robot command 1001
robot_line answer "$(text question)" yes 5000 >/dev/null || fail "no new session question"
got=$(robot_line file cancel 10000) || fail "no save dialog after Yes"
expect_equal "filter of the save dialog" "filter=$(text filter-new)" "$(echo "$got" | grep '^filter=')"
sleep 0.5
expect_equal "tree after a cancelled save" "$before_tree" "$(tree_text)"
expect_equal "title after a cancelled save" "Zarvo" "$(robot_line title classeF)"
expect_equal "lap buttons after a cancelled save" "2201 2202 2203 2204" "$(robot_line enabled 2201 2220)"
header=$(session_name_in "$dir/Private/Session.trng")
expect_equal "the working copy after a cancelled save" "$session_name" "$header"
[ -z "$(ls "$dir" | grep '\.trng$' || true)" ] || fail "a cancelled save wrote a session file"
shot new-session-cancelled
# The same when quitting: the window stays open.
e2e_robot close classeF
expect_equal "quit question" "$(text quit-question)" "$(robot_line answer "$(text question)" yes 5000)"
robot_line file cancel 10000 >/dev/null || fail "no save dialog after Yes to quitting"
sleep 0.5
e2e_robot wait-window classeF 1000 || fail "cancelling the save dialog closed the program"
expect_equal "tree after a cancelled quit" "$before_tree" "$(tree_text)"

# ---- Save as... with a name typed without ".trng".
e2e_robot command 1004
got=$(robot_line file journey 10000) || fail "no save dialog"
expect_equal "filter of Save as" "filter=$(text filter-save-as)" "$(echo "$got" | grep '^filter=')"
sleep 0.5
saved="$dir/journey.trng"
[ -f "$saved" ] || fail "no journey.trng in the program folder"
expect_equal "title after Save as" "Zarvo:   $(program_path journey.trng)" "$(robot_line title classeF)"
# The run is in the working copy, which is on the disk: its journal is retired.
[ ! -e "$dir/Private/JournalPassages.jrn" ] || fail "the journal of the written run is still there"
shot saved

# ---- From outside: the saved file's run, the runs databases, the circuit record.
python3 "$here/check_journey.py" "$dir" "$saved" "$edition" "$session_name" || fail "the files do not hold the run"

# ---- Once a run is recorded, participants can no longer be removed.
e2e_robot tree-select 12000
tree_menu 12000 || fail "no menu on the drivers"
expect_equal "remove refused after a run" "enabled=0 visible=1 checked=0" "$(robot_line in "$list" state 4205)"
shot participants-recorded
e2e_robot in "$list" click 2
e2e_robot wait-gone '#32770' 5000 || fail "the participants dialog stayed"
expect_equal "the run stays loaded" "2201 2202 2203 2204" "$(robot_line enabled 2201 2220)"

# ---- Load session on the saved file: its drivers and runs, no run loaded.
e2e_robot command 1002
got=$(robot_line file journey.trng 10000) || fail "no open dialog"
expect_equal "filter of Load session" "filter=$(text filter-open)" "$(echo "$got" | grep '^filter=')"
expect_equal "save question of Load session" "$(text save-question)" "$(robot_line answer "$(text question)" no 5000)"
sleep 0.5
expect_equal "tree of the loaded session" "$expected_tree" "$(tree_text)"
expect_equal "title after loading" "Zarvo:   $(program_path journey.trng)" "$(robot_line title classeF)"
expect_equal "no run loaded" "" "$(robot_line enabled 2201 2220)"
shot loaded

# Run 1 shows its results; the lap buttons follow its standings; Start waits for Clear.
e2e_robot tree-select 14001
sleep 0.5
expect_equal "lap buttons of the loaded run" "2201 2202 2203 2204" "$(robot_line enabled 2201 2220)"
shot loaded-run
starts=$(started_runs)
e2e_robot click 2001
sleep 1
expect_equal "Start refused on a run with results" "enabled=1 visible=1 checked=0" "$(robot_line state 2001)"
expect_equal "no start asked of the decoder" "$starts" "$(started_runs)"
e2e_robot click 2003
expect_equal "clear question" "$(text clear-question)" "$(robot_line answer Zarvo yes 5000)"
e2e_robot click 2001
e2e_robot wait-state 2001 disabled 3000 || fail "Start refused after Clear"
shot started-after-clear
e2e_robot click 2002
e2e_robot wait-state 2001 enabled 3000 || fail "Stop did not enable Start again"

close_program
# The run was archived once, whatever the later commands.
python3 "$here/check_journey.py" --archive-only "$dir" "$saved" "$edition" "$session_name" ||
  fail "the runs database changed after the run"
echo "figures ($edition): the journey took $(($(date +%s) - begin)) s"
echo "journey ($edition) passed"
