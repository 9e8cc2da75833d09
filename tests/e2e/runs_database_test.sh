#!/usr/bin/env bash
# The runs database dialog and the run detail window of one edition under Wine, on a runs
# database prepared from outside: archiving switched off and on (the file's first byte checked),
# the run opened, the three views, the range edits, the strip scrolled, a curve point hovered,
# the print dialog cancelled (nothing printed) and then confirmed on a PDF queue of a CUPS server
# started here (the page's texts checked, the page kept as a picture), the run removed with No and
# Yes, the runs file checked from outside after each step.
# Screenshots: <artifacts>/runs-<edition>-*.png; the printed pages of the three views
# <artifacts>/runs-<edition>-page-<view>.pdf and -page-<view>-1.png.
#   runs_database_test.sh <en|fr>
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

case "$edition" in
  en) dialog_title="Runs Database"; window_title="Driver's run synthesis"; question="Zarvo"
      heading="Summary of the run from lap 1 to lap 12"; track="Track : Mornay"
      document="RUN SYNTHESIS : Printing..."
      curve_heading="Evolution of the lap times from lap 1 to lap 12" ;;
  fr) dialog_title="Base de données Synthèses runs"; window_title="Analyse résultats pilote"
      question="Attention"; heading="Synthèse du run entre tour 1 et tour 12"; track="Piste : Mornay"
      document="SYNTHESE RUN : Printing..."
      curve_heading="Evolution des temps au tour entre tour 1 et tour 12" ;;
  *) echo "unknown edition"; exit 2 ;;
esac

program_test_begin runs
shot() { sleep 0.5; e2e_screenshot "runs-$edition-$1"; }
in_dialog() { local title=$1; shift; robot_line in "$title" "$@"; }
runs_folder="$dir/$(printf 'Base donn\xc3\xa9es runs')"
runs_file="$runs_folder/Lucas MARTIN.bdr"
title="Start 2026/12/07 14:03:10 - Duration 0:05:00"

# Two drivers; Lucas has one archived run of 12 laps, archiving off.
printf 'Lucas MARTIN\t\r\nEmma DUVAL\t\r\n' >"$dir/$(printf 'BaseDonn\xc3\xa9esPilotes.bd')"
mkdir -p "$runs_folder"
python3 - "$runs_file" "$title" <<'PY'
import sys
path, title = sys.argv[1], sys.argv[2]
laps = [20512, 20340, 21005, 20788, 20199, 22410, 20631, 20402, 20977, 20250, 20833, 20566]
t, times = 0, [0]
for lap in laps:
    t += lap
    times.append(t)
setup = ["Dry 18C", "Buggy 8"] + ["v%d" % k for k in range(3, 50)]
setup[2] = "OS 21"
content = "".join(f + "\t" for f in [title, "Lucas MARTIN", str(len(laps))] + [str(x) for x in times]
                  + setup + [" Training - Run2 ", "Mornay"])
slot = (content + "1\t" * 5105)[:10210] + "\r\n"
open(path, "wb").write(b"0\t0\t\r\n" + slot.encode("cp1252"))
PY
printf 'Run vide\t' >/dev/null
: >"$runs_folder/Emma DUVAL.bdr"; printf '0\t0\t\r\n' >"$runs_folder/Emma DUVAL.bdr"
first_byte() { head -c 1 "$runs_file"; }

start_pdf_queue

printf 'COM9\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

# ---- Runs synthesis: the first driver, unticked, his run listed.
e2e_robot command 1011
expect_equal "drivers" "Lucas MARTIN|Emma DUVAL" "$(in_dialog "$dialog_title" list 3503)"
expect_equal "name" "Lucas MARTIN" "$(in_dialog "$dialog_title" text 3504)"
expect_equal "runs" "|$title" "$(in_dialog "$dialog_title" list 3507)"
expect_equal "archiving off" "enabled=1 visible=1 checked=0" "$(in_dialog "$dialog_title" state 3506)"
shot dialog
in_dialog "$dialog_title" click 3506
sleep 0.5
expect_equal "flag on" "1" "$(first_byte)"
in_dialog "$dialog_title" click 3506
sleep 0.5
expect_equal "flag off" "0" "$(first_byte)"
in_dialog "$dialog_title" select 3503 1
sleep 0.3
expect_equal "second driver" "Emma DUVAL" "$(in_dialog "$dialog_title" text 3505)"
in_dialog "$dialog_title" select 3503 0
sleep 0.3

# ---- The run.
in_dialog "$dialog_title" choose-text 3507 "$title"
expect_equal "first lap" "1" "$(in_dialog "$window_title" text 5054)"
expect_equal "last lap" "12" "$(in_dialog "$window_title" text 5055)"
expect_equal "engine" "OS 21" "$(in_dialog "$window_title" text 5004)"
expect_equal "save hidden" "enabled=1 visible=0 checked=0" "$(in_dialog "$window_title" state 1)"
expect_equal "strip bar" "visible=1 min=0 max=6 pos=0" "$(in_dialog "$window_title" scroll-state 5154)"
shot data
in_dialog "$window_title" click 5052
shot histo
in_dialog "$window_title" click 5053
sleep 0.3
expect_equal "curve checked" "enabled=1 visible=1 checked=1" "$(in_dialog "$window_title" state 5053)"
shot curve
# Lap 5 (20.199, index 4 of 12) is drawn at x = 330 + 48 + 560 * 4 / 12 = 564 and, on a scale
# of 20 to 23 s in 7 steps, y = 325 - 160 / 7 - 137 * 199 / 3000 = 294. 4 below is too far.
in_dialog "$window_title" mousemove 564 298
shot curve-no-hover
in_dialog "$window_title" mousemove 565 296
shot curve-hover
in_dialog "$window_title" set 5055 250
sleep 0.3
expect_equal "to lap rewritten" "12" "$(in_dialog "$window_title" text 5055)"
in_dialog "$window_title" set 5054 0
sleep 0.3
expect_equal "from lap kept" "0" "$(in_dialog "$window_title" text 5054)"
in_dialog "$window_title" hscroll 5154 1 0
sleep 0.2
expect_equal "line right" "visible=1 min=0 max=6 pos=1" "$(in_dialog "$window_title" scroll-state 5154)"
in_dialog "$window_title" hscroll 5154 3 0
sleep 0.2
expect_equal "page right" "visible=1 min=0 max=6 pos=6" "$(in_dialog "$window_title" scroll-state 5154)"
shot strip-end
in_dialog "$window_title" click 5051
sleep 0.2

# ---- Printing: cancelled, then to the PDF queue.
before=$(pdf_count)
in_dialog "$window_title" click 5153
sleep 1.5
shot print-dialog
e2e_robot answer Print cancel 10000 >/dev/null 2>&1 || e2e_robot answer Imprimer cancel 10000 >/dev/null
sleep 3
expect_equal "nothing printed" "$before" "$(pdf_count)"
# print_view <view button> <name> <graph heading>: prints the page of that view and checks it.
print_view() {
  in_dialog "$window_title" click "$1"
  sleep 0.3
  print_page "$window_title" 5153 "$3" "runs-$edition-page-$2"
  # (the PostScript driver turns "-" into a soft hyphen, so the heading line is checked by parts)
  local want
  for want in "$3" "$track" "Training" ": Lucas MARTIN" "OS 21" "Dry 18C" "v27" "v49"; do
    grep -qF -- "$want" "$E2E_WORK/page.txt" || fail "the $2 page lacks '$want'"
  done
  expect_equal "document name" "$document" "$(pdfinfo "$PRINTED_PDF" | sed -n 's/^Title: *//p')"
  echo "printed page ($2): $PRINTED_PDF"
}
if [ -n "$PDF_QUEUE" ]; then
  print_view 5051 data "$heading"
  print_view 5052 histo "$heading"
  print_view 5053 curve "$curve_heading"
fi
in_dialog "$window_title" click 2
for _ in $(seq 50); do e2e_robot no-box "$window_title" 100 >/dev/null 2>&1 && break; done
sleep 0.5
expect_equal "run still chosen" "$title" "$(in_dialog "$dialog_title" text 3507)"

# ---- Removing: No keeps it, Yes frees its slot.
size=$(stat -c %s "$runs_file")
in_dialog "$dialog_title" click 3501
shot remove-question
robot_line answer "$question" no 10000 >/dev/null
expect_equal "kept" "Start" "$(head -c 11 "$runs_file" | tail -c 5)"
sleep 0.5
in_dialog "$dialog_title" click 3501
sleep 0.5
shot remove-question-2
robot_line answer "$question" yes 10000 >/dev/null
sleep 0.5
expect_equal "freed" "Run vide" "$(head -c 14 "$runs_file" | tail -c 8)"
expect_equal "same size" "$size" "$(stat -c %s "$runs_file")"
expect_equal "no run left" "" "$(in_dialog "$dialog_title" list 3507)"
shot removed
in_dialog "$dialog_title" click 1
close_program
echo "runs database $edition: ok"
