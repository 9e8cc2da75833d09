#!/usr/bin/env bash
# The run synthesis under Wine, in one edition, while a run is timed with a wired Orix decoder
# simulated on COM1: Ctrl+click on the first row opens the synthesis of that driver's run, handed
# off in "DetailResultats.res" (checked from outside); passages go on being timed behind the
# window; a car of the cars database is chosen (its confirmation answered; the later of its two
# lines wins), two fields are edited and "Save" answers the sheet; the next Ctrl+click hands off
# more laps and the saved sheet; Enter in "to lap" moves on without saving; edits left with
# "Cancel" change nothing. After the run the saved
# session's run section and the driver's runs database hold the sheet. The page is printed, with
# edits not yet saved, to a PDF queue of a CUPS server started here (as root). Screenshots and the
# page: <artifacts>/synthesis-<edition>-*.png, synthesis-<edition>-page.pdf.
#   run_synthesis_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
source "$here/print_env.sh"
cleanup() {
  stop_pdf_queue
  program_cleanup
}
trap cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8

program_test_begin synthesis
handoff="$dir/DetailResultats.res"
# Field <n> of line <l> of the hand-off (tab-separated, CR dropped).
# The window writes its answer just after it is gone: wait for the flag.
wait_answer() {
  for _ in $(seq 50); do [ "$(head -n1 "$handoff" | cut -f1)" = "$1" ] && return 0; sleep 0.1; done
  fail "no setup answer with flag $1: $(head -c 80 "$handoff")"
}
handoff_field() { sed -n "${1}p" "$handoff" | tr -d '\r' | cut -f"$2" | iconv -f CP1252 -t UTF-8; }

# ---- Two drivers, one circuit, a wired Orix on COM1.
printf 'ANNA\t\t\t\t\t\t\t\t\t\t001001\t\t\t\r\nBRUNO\t\t\t\t\t\t\t\t\t\t001002\t\t\t\r\n' >"$dir/BaseDonnéesPilotes.bd"
printf 'Piste des Ours\t120\t18.250\t18250\tMARC\t1\tGrenoble\t\t\r\n' >"$dir/BaseDonnéesCircuits.bd"
printf 'COM1\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
# Cars: "Buggy" twice (fields "a1".."a48", then "b1".."b48") around "Truck".
car_line() {
  local line="$1\t" i
  for i in $(seq 48); do line+="$2$i\t"; done
  printf "${line}\t\r\n"
}
{ car_line Buggy a; car_line Truck t; car_line Buggy b; } >"$dir/BaseDonnéesVoitures.bd"
for name in ANNA BRUNO; do printf '1\t0\t\r\n' >"$dir/Base données runs/$name.bdr"; done
start_pdf_queue
map_com1
start_simulator --mode orix --id 31 --transponders 1001-1002 --lap 1500-1700 --stagger 200
started_runs() { grep -c "sent start answer" "$E2E_WORK/simulator.log" || true; }

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

# ---- The session: its track, both drivers, a run of 1 minute without countdown, run 1 selected.
e2e_robot tree-select 11000
tree_menu 11000 || fail "no menu on the track"
track=$(text track-dialog)
e2e_robot in "$track" select 4102 0
e2e_robot in "$track" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the track dialog stayed"
e2e_robot tree-select 12000
tree_menu 12000 || fail "no menu on the drivers"
list=$(text participants-dialog)
for index in 0 1; do
  e2e_robot in "$list" select 4203 $index
  e2e_robot in "$list" click 4204
done
e2e_robot in "$list" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the participants dialog stayed"
e2e_robot tree-select 13000
tree_menu 13000 || fail "no menu on the parameters"
parameters=$(text parameters-dialog)
e2e_robot in "$parameters" set 4405 1
e2e_robot in "$parameters" set 4407 0
e2e_robot in "$parameters" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the parameters dialog stayed"
e2e_robot tree-select 14000
tree_menu 14000 || fail "no menu on the sessions"
sleep 0.3
e2e_robot tree-select 14001
sleep 0.5
expect_equal "Start" "enabled=1 visible=1 checked=0" "$(robot_line state 2001)"

# ---- The run: Ctrl+click on the first row of the table (the marker column, just under the
# heading band of a 1600 x 900 screen) while it is timed.
e2e_robot click 2001
for _ in $(seq 50); do [ "$(started_runs)" -ge 1 ] && break; sleep 0.2; done
[ "$(started_runs)" -ge 1 ] || fail "the decoder was never asked to start"
sleep 6
rm -f "$handoff"
synth="Driver's run synthesis"
[ "$edition" = fr ] && synth="Analyse résultats pilote"
reset_entry="DATA RESET"
[ "$edition" = fr ] && reset_entry="RAZ paramètres"
e2e_robot ctrl-lclick 300 160  # right of the marker column: no row
sleep 0.5
[ ! -e "$handoff" ] || fail "a press outside the marker column handed a run off"
e2e_robot ctrl-lclick 240 160
e2e_robot in "$synth" wait-state 1 visible 10000 >/dev/null || fail "no run synthesis window"
driver=$(handoff_field 1 1)
case "$driver" in ANNA | BRUNO) ;; *) fail "hand-off driver: '$driver'" ;; esac
laps_first=$(handoff_field 1 2)
[ "$laps_first" -ge 1 ] || fail "no lap in the first hand-off ($laps_first)"
# Line 1: driver, n, n + 1 passage times, 49 texts; every field ends with a tab.
fields=$(sed -n 1p "$handoff" | tr -d '\r' | awk -F'\t' '{print NF - 1}')
expect_equal "fields of line 1" "$((2 + laps_first + 1 + 49))" "$fields"
expect_equal "run caption" " SEANCE TRAINING - Run1 " "$(handoff_field 2 1)"
expect_equal "circuit" "Piste des Ours" "$(handoff_field 2 2)"
title_words="Start - Duration"
[ "$edition" = fr ] && title_words="Départ - Durée"
title_start=${title_words%% - *}
title_duration=${title_words#* - }
case "$(handoff_field 2 3)" in "$title_start "????/??/??" "??:??:??" - $title_duration "*) ;;
  *) fail "run title: '$(handoff_field 2 3)'" ;; esac
expect_equal "Save shown" "enabled=1 visible=1 checked=0" "$(robot_line in "$synth" state 1)"
expect_equal "car chooser" "|$reset_entry|Buggy|Truck|Buggy" "$(robot_line in "$synth" list 5002)"
shot synthesis-open

# ---- A car, with its confirmation, then two fields typed; "Save".
e2e_robot in "$synth" choose-text 5002 Buggy
robot_line answer "$(text question)" yes 5000 >/dev/null || fail "no car confirmation"
sleep 0.3
expect_equal "car name from the later line" "b1" "$(robot_line in "$synth" text 5003)"
expect_equal "throttle servo from the later line" "b48" "$(robot_line in "$synth" text 5050)"
e2e_robot in "$synth" set 5004 "Novarossi P5"
e2e_robot in "$synth" set 5013 "7.2"
sleep 4  # passages keep coming behind the window
shot car-chosen-and-edited
e2e_robot in "$synth" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the synthesis stayed open after Save"
wait_answer 1
sheet=""
for i in $(seq 48); do
  case $i in 2) sheet+="Novarossi P5\t" ;; 11) sheet+="7.2\t" ;; *) sheet+="b$i\t" ;; esac
done
expect_equal "setup answer of Save" "$(printf "1\t\t$sheet")" "$(head -n1 "$handoff" | tr -d '\r')"

# ---- The next Ctrl+click: more laps (timed while the window was open) and the saved sheet.
e2e_robot ctrl-lclick 240 160
e2e_robot in "$synth" wait-state 1 visible 10000 >/dev/null || fail "no second synthesis window"
laps_second=$(handoff_field 1 2)
[ "$laps_second" -gt "$laps_first" ] ||
  fail "no lap timed while the synthesis was open ($laps_first, then $laps_second)"
echo "figures ($edition): $laps_first laps handed off, then $laps_second after the window"
saved_sheet=$(sed -n 1p "$handoff" | tr -d '\r' | cut -f"$((laps_second + 4))-")
expect_equal "the participant's sheet after Save" "$(printf "\t$sheet")" "$saved_sheet"
expect_equal "track conditions edit" "" "$(robot_line in "$synth" text 5001)"
expect_equal "engine edit" "Novarossi P5" "$(robot_line in "$synth" text 5004)"
# Enter in "to lap" takes the field and moves on: the window stays open, nothing is answered.
moved=$(robot_line in "$synth" enter 5055)
[ "$moved" != 0 ] && [ "$moved" != 5055 ] || fail "Enter in 'to lap' left the focus on '$moved'"
sleep 0.3
expect_equal "Save after Enter" "enabled=1 visible=1 checked=0" "$(robot_line in "$synth" state 1)"
expect_equal "no answer after Enter" "$driver" "$(handoff_field 1 1)"
# Edits left with "Cancel" are dropped; printed before, they are on the page as they stand.
e2e_robot in "$synth" set 5004 "dropped"
e2e_robot in "$synth" set 5001 "Wet"
if [ -n "$PDF_QUEUE" ]; then
  document="RUN SYNTHESIS : Printing..."
  [ "$edition" = fr ] && document="SYNTHESE RUN : Printing..."
  print_page "$synth" 5153 "Piste des Ours" "synthesis-$edition-page"
  for want in ": $driver" "SEANCE TRAINING" "Wet" "dropped" "7.2" "b3" "b48"; do
    grep -qF -- "$want" "$E2E_WORK/page.txt" || fail "the printed page lacks '$want'"
  done
  ! grep -qF "Novarossi" "$E2E_WORK/page.txt" || fail "the page shows the saved engine, not the edit"
  expect_equal "document name" "$document" "$(pdfinfo "$PRINTED_PDF" | sed -n 's/^Title: *//p')"
  echo "printed page: $PRINTED_PDF"
fi
e2e_robot in "$synth" click 2
e2e_robot wait-gone '#32770' 5000 || fail "the synthesis stayed open after Cancel"
wait_answer 0
expect_equal "flag of Cancel" "0" "$(head -n1 "$handoff" | cut -f1)"
shot after-cancel

# ---- Stop, save the session, look at the run section and the runs database.
e2e_robot click 2002
e2e_robot wait-state 2001 enabled 5000 || fail "Stop did not end the run"
e2e_robot command 1004
robot_line file synthesis 10000 >/dev/null || fail "no save dialog"
sleep 0.5
saved="$dir/synthesis.trng"
[ -f "$saved" ] || fail "no synthesis.trng"
run_line=$(tr -d '\r' <"$saved" | grep "^$driver	" | grep -F "Novarossi P5" | head -n1 || true)
[ -n "$run_line" ] || fail "no line of $driver in the saved session"
case "$run_line" in *"$(printf "\t$sheet")"*) ;; *) fail "the run section lacks the sheet: $run_line" ;; esac
! grep -q "dropped" "$saved" || fail "cancelled edits in the session file"
runs_file="$dir/Base données runs/$driver.bdr"
grep -q "Novarossi P5" "$runs_file" || fail "the runs database of $driver lacks the sheet"
! grep -q "dropped" "$runs_file" || fail "cancelled edits in the runs database"
shot saved

close_program
echo "figures ($edition): the scenario took $(($(date +%s) - begin)) s"
echo "run synthesis ($edition) passed"
