#!/usr/bin/env bash
# Spoken lap times through the real window under Wine, in one edition: the lap callouts dialog of
# the Settings menu turns them on (its file is checked, the sound settings file stays byte for
# byte); a session is loaded and its run 1 timed with a wired Orix decoder simulated on COM1 from
# a script of passages. Wine has no speech voice here: the built-in voice says each lap. The
# program's record of what it said (ZARVO_CALLOUT_LOG) must give every lap driven, in order, with
# its lane and its time as the French voice says it; the run's passage times in the working copy
# must be those the simulator sent. Screenshots: <artifacts>/lap-callouts-<edition>-*.png.
#   lap_callouts_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8

program_test_begin lap-callouts
callouts_file="$dir/$(printf 'R\xc3\xa9glagesAnnoncesTours.rg')"
sound_file="$dir/$(printf 'R\xc3\xa9glagesSons.rg')"
case "$edition" in
  en) dialog_title="Lap callouts" ;;
  fr) dialog_title="Annonces des tours" ;;
esac
in_dialog() { local title=$1; shift; robot_line in "$title" "$@"; }

python3 "$here/check_recovery.py" make-session "$dir/club.trng"
printf 'COM1\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
map_com1
# Two cars, their crossings at least 3.3 s apart (a callout lasts about 2 s): lap times that round
# up (7345 -> 7.35), carry into the seconds (7995 -> 8.00), with hundredths under ten, best laps.
cat >"$E2E_WORK/passages.txt" <<'PASSAGES'
1000 1001
4300 1002
8345 1001
12295 1002
15416 1001
19505 1002
25626 1001
29504 1002
32996 1001
36300 1002
39996 1001
PASSAGES
start_simulator --mode orix --id 31 --script "$E2E_WORK/passages.txt"
sound_before=$(md5sum <"$sound_file")

record="$E2E_WORK/callouts.txt"
# The program sees the record's path as a Windows path on Wine's drive Z: (the Linux root).
export ZARVO_CALLOUT_LOG="Z:${record//\//\\}"
start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
unset ZARVO_CALLOUT_LOG

# ---- The dialog: off at first, the refinements greyed; "on" frees them; Ok writes the file.
e2e_robot command 1018
expect_equal "callouts off at first" "enabled=1 visible=1 checked=0" "$(in_dialog "$dialog_title" state 6102)"
expect_equal "best laps greyed" "enabled=0 visible=1 checked=0" "$(in_dialog "$dialog_title" state 6103)"
in_dialog "$dialog_title" click 6102
sleep 0.3
expect_equal "callouts on" "enabled=1 visible=1 checked=1" "$(in_dialog "$dialog_title" state 6102)"
expect_equal "position usable" "enabled=1 visible=1 checked=0" "$(in_dialog "$dialog_title" state 6104)"
shot dialog
in_dialog "$dialog_title" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the callouts dialog stayed"
expect_equal "callouts settings file" \
  "$(printf 'ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONnon\r')" \
  "$(cat "$callouts_file")"
expect_equal "sound settings untouched" "$sound_before" "$(md5sum <"$sound_file")"

# ---- The run, timed from the script.
e2e_robot command 1002
robot_line file club.trng 10000 >/dev/null || fail "no open dialog"
robot_line answer "$(text question)" no 5000 >/dev/null || fail "no save question"
sleep 0.5
e2e_robot tree-select 14001
sleep 0.5
e2e_robot click 2001
e2e_robot wait-state 2001 disabled 3000 || fail "Start stays enabled"
for _ in $(seq 50); do grep -q "sent start answer" "$E2E_WORK/simulator.log" && break; sleep 0.2; done
for _ in $(seq 300); do [ "$(grep -c "sent passage" "$E2E_WORK/simulator.log")" -ge 11 ] && break; sleep 0.2; done
[ "$(grep -c "sent passage" "$E2E_WORK/simulator.log")" -ge 11 ] || fail "the simulator did not send its passages"
sleep 3  # the last lap is said
shot running
e2e_robot click 2002
e2e_robot wait-state 2001 enabled 5000 || fail "Stop did not end the run"
# "Save" puts the run into the session's own file.
e2e_robot command 1003
sleep 1
close_program

python3 "$here/check_callouts.py" "$record" "$E2E_WORK/simulator.log" "$dir/club.trng" \
  "ANNA:001001,BRUNO:001002" || fail "the callouts are not the laps driven"
echo "figures ($edition): the lap callouts scenario took $(($(date +%s) - begin)) s"
echo "lap callouts ($edition) passed"
