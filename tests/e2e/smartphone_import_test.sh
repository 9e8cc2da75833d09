#!/usr/bin/env bash
# The smartphone import through the real window under Wine, in one edition: a damaged phone file
# is refused and the session stays; a hand-made phone run of three lanes is imported, its lanes
# given database drivers in the import dialog (Validate refused until every lane has one), run 1
# shows its laps, "Save as..." writes them into the saved file, and leaving the run archives it in
# the drivers' runs databases (checked from outside by check_smartphone_import.py); the radio
# conflict of two lanes is shown on the event line while the run is loaded and gone after New.
# Screenshots: <artifacts>/smartphone-<edition>-*.png.
#   smartphone_import_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8
: "${ZARVO_SOURCE_DIR:?ZARVO_SOURCE_DIR must name the source folder}"

program_test_begin smartphone
import_text() {
  case "$edition:$1" in
    en:dialog) echo "Import Smartphone" ;;
    fr:dialog) echo "Import Smartphone" ;;
    en:refused) echo "Error: This file is not a smartphone run, the current session is kept" ;;
    fr:refused) echo "Erreur: ce fichier n'est pas un run Smartphone, la séance en cours est conservée" ;;
    en:heading) echo "Import Smartphone : Allocation of the runs to the PC drivers" ;;
    fr:heading) echo "Import Smartphone : Attribution des runs aux pilotes du PC" ;;
    en:filter) echo "Smartphone file (.trng2)" ;;
    fr:filter) echo "Fichier smartphone (.trng2)" ;;
    en:cancel) echo "Cancel" ;;
    fr:cancel) echo "Echap" ;;
  esac
}
# expect_event_line <has|lacks> <shot>: whether the event line of the main window, in the
# screenshot just taken under that name, shows the radio-conflict background (client x 1155 to
# 1805, y 30 to 100 on a 1600x900 screen, cut at the screen's edge).
expect_event_line() {
  local picture x y
  picture=$(printf '%s/%s-%s-%02d-%s.png' "$ZARVO_E2E_ARTIFACTS" "$SHOT_NAME" "$edition" "$step" "$2")
  read -r x y <<<"$(robot_line origin)"
  echo "$1 event-line $((x + 1155)) $((y + 30)) 650 70 c81e1e" >"$E2E_WORK/event-line-$2.txt"
  python3 "$here/check_probes.py" "$picture" "$E2E_WORK/event-line-$2.txt" ||
    fail "event line after $2: the radio conflict should be $([ "$1" = has ] && echo shown || echo gone)"
}
program_path() { printf 'C:\\Program Files\\Zarvo Training\\%s' "$1"; }

# ---- The program folder: four drivers in the database, archiving on for the three that will be
# chosen; no decoder (COM9 does not exist). Files are Windows-1252 ("\xe9" é, "\xe8" è).
helene=$(printf 'H\xc3\xa9l\xc3\xa8ne')
printf 'ZOE\t\t\t\t\t\t\t\t\t\t\t\t\t\r\nANNE\t\t\t\t\t\t\t\t\t\t\t\t\t\r\nBOB\t\t\t\t\t\t\t\t\t\t\t\t\t\r\nH\xe9l\xe8ne\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n' \
  >"$dir/BaseDonnéesPilotes.bd"
for name in ZOE BOB "$helene"; do printf '1\t0\t\r\n' >"$dir/Base données runs/$name.bdr"; done
printf '0\t0\t\r\n' >"$dir/Base données runs/ANNE.bdr"
printf 'COM9\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
# The phone run of three lanes, hand-written (also the fuzz target's seed), and a damaged one: the
# same file cut in the middle of the run.
cp "$ZARVO_SOURCE_DIR/tests/fuzz/corpus/smartphone_file/three-lanes.trng2" "$dir/phone.trng2"
head -c 900 "$dir/phone.trng2" >"$dir/damaged.trng2"

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
tree_text() { robot_line tree; }

# ---- A damaged file is refused; the session (renamed first) and its working copy stay.
e2e_robot tree-select 10000
tree_menu 10000 || fail "no menu on the session"
robot_line edit-label "Samedi" 5000 >/dev/null
sleep 0.3
expect_equal "renamed session" "Samedi *" "$(tree_text | head -n1)"
before_tree=$(tree_text)
before_copy=$(md5sum <"$dir/Private/Session.trng")
e2e_robot command 1005
got=$(robot_line file damaged.trng2 10000) || fail "no open dialog"
expect_equal "filter of the import" "filter=$(import_text filter)" "$(echo "$got" | grep '^filter=')"
expect_equal "save question" "$(text save-question)" "$(robot_line answer "$(text question)" no 5000)"
expect_equal "refusal" "$(import_text refused)" "$(robot_line box "$(text error)" 5000)"
shot refused
robot_line answer "$(text error)" ok 5000 >/dev/null
e2e_robot no-box "$(import_text dialog)" 500 || fail "the import dialog opened on a damaged file"
expect_equal "tree after the refusal" "$before_tree" "$(tree_text)"
expect_equal "working copy after the refusal" "$before_copy" "$(md5sum <"$dir/Private/Session.trng")"
expect_equal "title after the refusal" "Zarvo" "$(robot_line title classeF)"

# ---- The phone run: lanes 1 to 3 shown with the phone's names, 4 to 11 hidden.
e2e_robot command 1005
robot_line file phone.trng2 10000 >/dev/null || fail "no open dialog"
robot_line answer "$(text question)" no 5000 >/dev/null || fail "no save question"
dialog=$(import_text dialog)
in_dialog() { robot_line in "$dialog" "$@"; }
expect_equal "heading" "$(import_text heading)" "$(in_dialog text 2923)"
expect_equal "lane 1 on the phone" "ANNA" "$(in_dialog text 2901)"
expect_equal "lane 2 on the phone" "BRUNO" "$(in_dialog text 2902)"
expect_equal "lane 3 on the phone" "CARLA" "$(in_dialog text 2903)"
expect_equal "lane 3's number" "    3." "$(in_dialog text 2929)"
expect_equal "lane 1's list, sorted" "ANNE|BOB|$helene|ZOE" "$(in_dialog list 2912)"
for id in 2904 2915 2930 2941 2911 2922; do
  expect_equal "control $id of a lane the phone did not use" "enabled=1 visible=0 checked=0" \
    "$(in_dialog state $id)"
done
expect_equal "lane 3's list" "enabled=1 visible=1 checked=0" "$(in_dialog state 2914)"
expect_equal "Cancel" "$(import_text cancel)" "$(in_dialog text 2)"
# The working copy already holds the phone run under the phone's names.
grep -qa "^CARLA	4	" "$dir/Private/Session.trng" || fail "the opened import did not write the run"
# Two lanes given the same driver, one lane unassigned: Validate does nothing.
in_dialog select 2912 3 >/dev/null
in_dialog select 2913 3 >/dev/null
in_dialog click 1 >/dev/null
sleep 0.5
e2e_robot in "$dialog" state 1 >/dev/null || fail "Validate closed the dialog with a lane unassigned"
in_dialog select 2914 2 >/dev/null
in_dialog click 1 >/dev/null
sleep 0.5
e2e_robot in "$dialog" state 1 >/dev/null || fail "Validate closed the dialog with ZOE twice"
in_dialog select 2913 1 >/dev/null
shot import-dialog
in_dialog click 1 >/dev/null
e2e_robot wait-gone '#32770' 5000 || fail "Validate did not close the dialog"

# ---- The imported session: the phone's name, the chosen drivers, run 1; no saved file.
sleep 0.5
expected_tree=$(printf 'PHONE RUN *\n  %s\n  %s (3)\n    ZOE\n    BOB\n    %s\n  %s\n  Sessions\n    Run 1' \
  "$(text tree-track)" "$(text tree-drivers)" "$helene" "$(text tree-parameters)")
expect_equal "tree of the import" "$expected_tree" "$(tree_text)"
expect_equal "title of the import" "Zarvo:   $(program_path phone.trng2)" "$(robot_line title classeF)"
e2e_robot tree-select 14001
sleep 0.8
expect_equal "lap buttons of the imported run" "2201 2202 2203" "$(robot_line enabled 2201 2220)"
expect_equal "Start on a run with results" "enabled=1 visible=1 checked=0" "$(robot_line state 2001)"
shot imported-run
# BOB and Hélène share 27.145 on the phone: the event line shows the radio conflict on its red
# background (the shipped display settings).
expect_event_line has imported-run

# ---- Save as..., then leave the run: the saved file and the runs databases.
e2e_robot command 1004
robot_line file imported 10000 >/dev/null || fail "no save dialog"
sleep 0.5
[ -f "$dir/imported.trng" ] || fail "no imported.trng in the program folder"
e2e_robot tree-select 11000
sleep 0.8
shot run-left
python3 "$here/check_smartphone_import.py" "$dir" "$dir/imported.trng" ||
  fail "the saved file or the runs databases do not hold the imported run"

# ---- New session: no run is loaded any more, so the conflict text goes away.
e2e_robot command 1001
robot_line answer "$(text question)" no 5000 >/dev/null || fail "no new session question"
sleep 0.5
shot new-session
expect_event_line lacks new-session

close_program
echo "figures ($edition): the scenario took $(($(date +%s) - begin)) s"
echo "smartphone import ($edition) passed"
