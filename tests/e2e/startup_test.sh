#!/usr/bin/env bash
# The program of one edition starts under Wine with a device on COM1 (or none): the decoder report
# with its text and the interface settings file written back, the warning shown at every start,
# the crash copy made from the previous working copy and a new working copy, the maximised main
# window with its tree and race panel; a column of the results table is dragged wider; closing
# asks whether to save and the end writes the display settings.
#   startup_test.sh <en|fr> <orix|orix-bluetooth|vexa|no-port>
# With orix the program is started a second time in the same folder.
set -euo pipefail
edition=${1:?edition en or fr}
device=${2:?device orix, orix-bluetooth, vexa or no-port}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT

e2e_start_display
e2e_new_prefix
exe="zarvo-training-$edition.exe"
[ -f "$E2E_PROGRAM_DIR/$exe" ] || fail "not installed: $exe"
shot="startup-$edition-$device"

case "$edition:$device" in
  en:orix) report='Decoder Orix id.#004242 connected.\r\nSoftware ready to operate.' ;;
  fr:orix) report='Décodeur Orix n°004242 connecté.\r\nLogiciel prêt à fonctionner.' ;;
  en:orix-bluetooth) report='Decoder Orix Bluetooth id.#000077 connected.\r\nSoftware ready to operate.' ;;
  fr:orix-bluetooth) report='Décodeur Orix Bluetooth n°000077 connecté.\r\nLogiciel prêt à fonctionner.' ;;
  en:vexa) report='Interface Zarvo Vexa connected.\r\nSoftware ready to operate.' ;;
  fr:vexa) report='Interface Zarvo Vexa connectée.\r\nLogiciel prêt à fonctionner.' ;;
  en:no-port) report='Could not open the COM port.' ;;
  fr:no-port) report="Echec à l'ouverture du port COM." ;;
  *) echo "unknown edition or device"; exit 2 ;;
esac
case "$device" in
  orix) settings_before='COM1\t1\tZarvo\r\n'; settings_after='COM1\t1\tZarvoOrix\r$' ;;
  orix-bluetooth) settings_before='COM1\t1\tZarvo\r\n'; settings_after='COM1\t1\tZarvoOrixBluetooth\r$' ;;
  vexa) settings_before='COM1\t0\tZarvoOrix\r\n'; settings_after='COM1\t1\tZarvo\r$' ;;
  no-port) settings_before='COM9\t1\tZarvoOrix\r\n'; settings_after='COM9\t0\tZarvo\r$' ;;
esac
if [ "$device" != no-port ]; then
  map_com1
  case "$device" in
    orix) start_simulator --mode orix --id 4242 ;;
    orix-bluetooth) start_simulator --mode orix-bluetooth --id 77 ;;
    vexa) start_simulator --mode vexa ;;
  esac
fi
# shellcheck disable=SC2059
printf "$settings_before" >"$E2E_PROGRAM_DIR/$INTERFACE_FILE_NAME"

# What the previous run of the program left: a working copy, and display settings that this Wine
# reads with LF line ends (the program writes them back with CR LF).
printf '10000\tLAST WEEK\t2\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t\r\nSessionPiste\r\n' \
  >"$E2E_PROGRAM_DIR/Private/Session.trng"
cp "$E2E_PROGRAM_DIR/Private/Session.trng" "$E2E_WORK/previous-working-copy"
display="$E2E_PROGRAM_DIR/$DISPLAY_FILE_NAME"
sed -i 's/\r$//' "$display"
widths_before=$(sed -n 10p "$display")

[ "$device" != orix ] || record_pdf_opening

# --- First start: timings, the decoder report, the warning.
begin=$(date +%s%N)
start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
window_ms=$((($(date +%s%N) - begin) / 1000000))
got=$(robot_line box Message 15000) || fail "no decoder report"
report_ms=$((($(date +%s%N) - begin) / 1000000))
expect_equal "decoder report" "$report" "$got"
e2e_screenshot "$shot-report"
e2e_robot no-box "$(text warning-title)" 300 || fail "the warning came before the decoder report"
e2e_robot answer Message ok 5000 >/dev/null || fail "the report could not be answered"
answer_warning
echo "figures ($edition, $device): main window after ${window_ms} ms, decoder report after ${report_ms} ms (Wine start included)"

expect_equal "interface settings file" "$settings_after" "$(interface_file)"
cmp -s "$E2E_WORK/previous-working-copy" "$E2E_PROGRAM_DIR/VaZivivIvar.trng" || fail "no crash copy of the previous working copy"
working=$(tr -d '\r' <"$E2E_PROGRAM_DIR/Private/Session.trng")
case "$working" in
  $'10000\tSEANCE TRAINING\t0\t0\t0\t'*) ;;
  *) fail "new working copy: $working" ;;
esac
[ "$(wc -l <"$E2E_PROGRAM_DIR/Private/Session.trng")" -eq 1 ] || fail "the new working copy holds more than its header"

# --- The main window.
expect_equal "title" "Zarvo" "$(robot_line title classeF)"
if [ "$edition" = en ]; then
  tree=$'SEANCE TRAINING *\n  Track\n  Drivers (0)\n  Parameters\n  Sessions'
  start_caption="Start"; start_label="Start"; clock_group="Race duration / Clock"; chips="Personal chips"
else
  tree=$'SEANCE TRAINING *\n  Piste\n  Pilotes (0)\n  Paramètres\n  Sessions'
  start_caption="Depart"; start_label="Départ"; clock_group="Durée course / Horloge"; chips="Puces perso"
fi
expect_equal "session tree" "$tree" "$(robot_line tree)"
expect_equal "Start button" "$start_caption" "$(robot_line text 2001)"
expect_equal "label under Start" "$start_label" "$(robot_line text 2004)"
expect_equal "clock group" "$clock_group" "$(robot_line text 2221)"
expect_equal "personal chips" "$chips" "$(robot_line text 2101)"
expect_equal "personal chips state" "enabled=1 visible=1 checked=1" "$(robot_line state 2101)"
expect_equal "scan button state" "enabled=1 visible=0 checked=0" "$(robot_line state 2103)"
expect_equal "scan state text" " Off" "$(robot_line text 2104)"
expect_equal "scan state box" "enabled=1 visible=0 checked=0" "$(robot_line state 2104)"
expect_equal "Start state" "enabled=1 visible=1 checked=0" "$(robot_line state 2001)"
expect_equal "lap button 11" "900 625 40 20" "$(robot_line place 2211)"
expect_equal "lap buttons without a run" "" "$(robot_line enabled 2201 2220)"
expect_equal "session tree place" "10 54 190" "$(robot_line place 4000 | cut -d' ' -f1-3)"
sleep 0.5
e2e_screenshot "$shot"

if [ "$device" = orix ]; then
  # Help asks the shell to open the edition's guide, which is installed; nothing is reported.
  e2e_robot command 1016
  guide=$([ "$edition" = en ] && echo HelpTrainingGB.pdf || echo HelpTrainingFR.pdf)
  expect_equal "document the shell was asked to open" \
    "C:\\Program Files\\Zarvo Training\\Guides\\$guide" "$(pdf_opened)"
  e2e_robot no-box "$(text error)" 500 || fail "Help reported an error"
  # "Display" writes the settings in use to their file (with CR LF) and reads them back.
  e2e_robot command 1013
  e2e_robot no-box "$(text error)" 500 || fail "the display settings could not be written or read"
  expect_equal "display settings written by Display" "11" "$(grep -c $'\r$' "$display")"
fi

# --- Dragging the border of the Driver column (x 610 on a 1600-pixel screen) 40 pixels left.
e2e_robot drag 610 134 570 134
sleep 0.5
e2e_screenshot "$shot-dragged"
driver_width=$(echo "$widths_before" | cut -f2)

# --- Closing: the save question, then the display settings are written back.
close_program
expect_equal "display settings line ends" "11" "$(grep -c $'\r$' "$display")"
widths_after=$(sed -n 10p "$display" | tr -d '\r')
expected_widths=$(echo "$widths_before" | awk -F'\t' -v OFS='\t' -v w=$((driver_width - 40)) '{ $2 = w; print }')
expect_equal "column widths written back" "$expected_widths" "$widths_after"

if [ "$device" = orix ]; then
  # --- A second start: the warning again, the crash copy is the first run's working copy, and
  # Cancel keeps the window open.
  cp "$E2E_PROGRAM_DIR/Private/Session.trng" "$E2E_WORK/first-working-copy"
  start_program "$exe"
  e2e_robot wait-window classeF 30000 || fail "no main window at the second start"
  expect_equal "decoder report (second start)" "$report" "$(robot_line answer Message ok 15000)"
  answer_warning
  cmp -s "$E2E_WORK/first-working-copy" "$E2E_PROGRAM_DIR/VaZivivIvar.trng" || fail "the crash copy is not the first run's working copy"
  e2e_robot close classeF
  expect_equal "save question" "$(text quit-question)" "$(robot_line answer "$(text question)" cancel 10000)"
  sleep 0.5
  e2e_robot wait-window classeF 1000 || fail "Cancel closed the window"
  close_program
fi
echo "start-up test ($edition, $device) passed"
