#!/usr/bin/env bash
# The interface dialog and the driver details dialog of one edition in the real program under
# Wine, with simulated devices on COM1 and COM2 (socat pty pairs) and nothing behind COM9:
# "Connect" finds the wired Orix, the Bluetooth Orix and the Vexa, and reports the empty port,
# moving from COM1 to COM2 and back, each outcome stored in the interface settings file (the time
# from the click to the status text is printed); COM2 pulled out during the wait gives an outcome
# within the wait; after the dialog the keep-alive of the wired decoder starts again. A driver
# added to the session opens his details from the tree; "Scan" reads the transponder of a
# simulated car, "OK" stores it, the close box stores nothing; a run timed on the port the dialog
# chose counts that car's laps, and the saved session holds both. Screenshots of both dialogs
# with their lamps.
#   decoder_dialogs_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"

SOCAT2_PID=""
SIM2_PID=""
cleanup() {
  if [ -n "$SIM2_PID" ]; then kill "$SIM2_PID" 2>/dev/null || true; wait "$SIM2_PID" 2>/dev/null || true; fi
  if [ -n "$SOCAT2_PID" ]; then kill "$SOCAT2_PID" 2>/dev/null || true; wait "$SOCAT2_PID" 2>/dev/null || true; fi
  program_cleanup
}
trap cleanup EXIT
trap 'echo "FAILED at line $LINENO: $BASH_COMMAND"' ERR

program_test_begin decoder-dialogs
shot() { sleep 0.4; e2e_screenshot "decoder-dialogs-$edition-$1"; }

# COM2 on a second pty pair, mapped before map_com1 restarts the Wine server.
socat "pty,raw,echo=0,link=$E2E_WORK/com2" "pty,raw,echo=0,link=$E2E_WORK/sim2" 2>"$E2E_WORK/socat2.log" &
SOCAT2_PID=$!
for _ in $(seq 100); do [ -e "$E2E_WORK/com2" ] && [ -e "$E2E_WORK/sim2" ] && break; sleep 0.05; done
[ -e "$E2E_WORK/com2" ] || fail "socat made no second pty pair"
wine reg add 'HKLM\Software\Wine\Ports' /v COM2 /t REG_SZ /d "$E2E_WORK/com2" /f >/dev/null 2>&1
map_com1
# The wired decoder on COM1 with one car crossing every 1.5 s from the start.
start_simulator --mode orix --id 4242 --no-wait-start --transponders 1234 --lap 1500
start_com2() {  # simulator options for the device on COM2
  if [ -n "$SIM2_PID" ]; then kill "$SIM2_PID" 2>/dev/null || true; wait "$SIM2_PID" 2>/dev/null || true; fi
  "$ZARVO_SIMULATOR" --verbose --device "$E2E_WORK/sim2" "$@" >"$E2E_WORK/simulator2.log" 2>&1 &
  SIM2_PID=$!
  for _ in $(seq 100); do grep -q "line open" "$E2E_WORK/simulator2.log" 2>/dev/null && return 0; sleep 0.05; done
  fail "the simulator on COM2 did not open its line"
}
start_com2 --mode orix-bluetooth --id 77

printf 'COM1\t1\tZarvo\r\n' >"$dir/$INTERFACE_FILE_NAME"
printf 'ANNA\t\t\t\t\t\t\t\t\t\t000001\t\t\t\r\n' >"$dir/BaseDonnéesPilotes.bd"
printf '26.995\r\n27.145\r\n40.685\r\n' >"$dir/BaseDonnéesFréquences.bd"

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
e2e_robot answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

# ---- The interface dialog.
if [ "$edition" = en ]; then
  ready_orix=' Interface Orix ready to operate.'
  attempt=' COM Port opening attempt :\r\n'
  opened="$attempt"' COM Port opened correctly, OK !\r\n'
  wired="$opened"' Decoder Orix id.#004242 connected !\r\n Software ready to operate !'
  bluetooth="$opened"' Decoder Orix Bluetooth id.#000077 connected !\r\n Software ready to operate !'
  vexa="$opened"' Interface Vexa ready to operate !\r\n Software ready to operate !'
  failed="$attempt"' Could not open the COM Port.'
  failed_part='COM Port.'
  lost="$opened"' Could not read from the COM Port: the device was lost.\r\n No device identified.'
  lost_part='device was lost'
  details="Driver's details"
else
  ready_orix=' Interface Orix prête à fonctionner.'
  attempt=' Tentative d'"'"'ouverture du port COM:\r\n'
  opened="$attempt"' Ouverture du port COM OK !\r\n'
  wired="$opened"' Décodeur Orix n°004242 connecté.\r\n Logiciel prêt à fonctionner.'
  bluetooth="$opened"' Décodeur Orix Bluetooth n°000077 connecté.\r\n Logiciel prêt à fonctionner.'
  vexa="$opened"' Interface Vexa prête à fonctionner.\r\n Logiciel prêt à fonctionner.'
  failed="$attempt"' Echec à l'"'"'ouverture du port COM !'
  failed_part='port COM !'
  lost="$opened"' Echec à la lecture du port COM : le décodeur a été perdu.\r\n Aucun décodeur identifié.'
  lost_part='a été perdu'
  details="Détails pilote"
fi
dialog=Interface
e2e_robot command 1014
e2e_robot wait-window '#32770' 10000 || fail "no interface dialog"
expect_equal "dialog title" "$dialog" "$(robot_line title '#32770')"
expect_equal "status at opening" "$ready_orix" "$(robot_line in $dialog text 3804)"
expect_equal "wired Orix checked" "enabled=1 visible=1 checked=1" "$(robot_line in $dialog state 3802)"
expect_equal "stored port selected" "COM1" "$(robot_line in $dialog text 3805)"
expect_equal "99 ports" "99" "$(robot_line in $dialog list 3805 | tr '|' '\n' | wc -l)"
shot interface-open

# connect <port line> <expected status> <expected file> <what> <a part only the new status holds>:
# "Connect", timed from the click to the status text.
connect() {
  e2e_robot in $dialog select 3805 "$1"
  local out ms status
  out=$(robot_line in $dialog click-until 3806 3804 "$5" 10000) || fail "$4: no status"
  ms=$(echo "$out" | head -n1)
  status=$(echo "$out" | tail -n +2)
  expect_equal "$4: status" "$2" "$status"
  expect_equal "$4: interface settings file" "$3" "$(interface_file)"
  echo "figures ($edition): Connect to the status text, $4: $ms ms"
}
connect 1 "$bluetooth" 'COM2\t1\tZarvoOrixBluetooth\r$' "Bluetooth Orix on COM2" 000077
expect_equal "Bluetooth checked" "enabled=1 visible=1 checked=1" "$(robot_line in $dialog state 3803)"
shot interface-bluetooth
connect 8 "$failed" 'COM9\t0\tZarvo\r$' "nothing on COM9" "$failed_part"
shot interface-no-port
start_com2 --mode vexa
connect 1 "$vexa" 'COM2\t1\tZarvo\r$' "Vexa on COM2" Vexa
expect_equal "Vexa checked" "enabled=1 visible=1 checked=1" "$(robot_line in $dialog state 3801)"
connect 0 "$wired" 'COM1\t1\tZarvoOrix\r$' "wired Orix on COM1" 004242
shot interface-wired
# COM2 pulled out (its pty pair gone) 0.5 s into the Vexa's silent wait: an outcome within the
# 1.5 s wait (the silence of a Vexa, or the read that failed when the reader met the gone line),
# stored as shown, and the dialog goes on.
e2e_robot in $dialog select 3805 1
(sleep 0.5; kill "$SIM2_PID" "$SOCAT2_PID" 2>/dev/null || true) &
killer=$!
out=$(robot_line in $dialog click-until 3806 3804 "Vexa|$failed_part|$lost_part" 5000) || fail "no status after COM2 vanished"
wait "$killer" || true
SIM2_PID=""
SOCAT2_PID=""
ms=$(echo "$out" | head -n1)
status=$(echo "$out" | tail -n +2)
[ "$ms" -lt 2500 ] || fail "the vanished port held the dialog $ms ms"
case "$status" in
  "$vexa") expect_equal "file after COM2 vanished" 'COM2\t1\tZarvo\r$' "$(interface_file)" ;;
  "$failed" | "$lost") expect_equal "file after COM2 vanished" 'COM2\t0\tZarvo\r$' "$(interface_file)" ;;
  *) fail "status after COM2 vanished: $status" ;;
esac
echo "figures ($edition): Connect while COM2 vanishes: $ms ms, status: $status"
connect 0 "$wired" 'COM1\t1\tZarvoOrix\r$' "wired Orix on COM1 again" 004242
e2e_robot in $dialog click 1
e2e_robot wait-gone '#32770' 5000 || fail "the interface dialog stayed"
# The supervision starts again from the file: keep-alives reach the wired decoder on COM1.
keepalives=$(grep -c "received keep-alive" "$E2E_WORK/simulator.log" || true)
sleep 1.5
[ "$(grep -c "received keep-alive" "$E2E_WORK/simulator.log" || true)" -gt "$keepalives" ] ||
  fail "no keep-alive after the interface dialog"

# ---- A participant, then his details.
e2e_robot tree-select 12000
tree_menu 12000 || fail "no menu on the drivers"
list=$(text participants-dialog)
e2e_robot in "$list" select 4203 0
e2e_robot in "$list" click 4204
sleep 0.3
e2e_robot in "$list" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the participants dialog stayed"

e2e_robot tree-select 12001
e2e_robot wait-window '#32770' 10000 || fail "no details dialog"
expect_equal "details title" "$details" "$(robot_line title '#32770')"
expect_equal "driver" "ANNA" "$(robot_line in "$details" text 4301)"
expect_equal "transponder" "000001" "$(robot_line in "$details" text 4302)"
expect_equal "scan state" "Off" "$(robot_line in "$details" text 4304)"
expect_equal "frequencies" "26.995|27.145|40.685" "$(robot_line in "$details" list 4305)"
shot details-open
e2e_robot in "$details" select 4305 1
out=$(robot_line in "$details" click-until 4303 4302 001234 6000) || fail "the scan read no transponder"
echo "figures ($edition): Scan to the transponder shown: $(echo "$out" | head -n1) ms (one car every 1.5 s)"
expect_equal "scan state while scanning" "On" "$(robot_line in "$details" text 4304)"
shot details-scanning
# The lamp beside "On" cycles through its four pictures: grabs of that corner differ.
read -r ox oy < <(robot_line origin)
read -r px py _ _ < <(robot_line in "$details" place 4304)
for i in 1 2 3 4 5 6; do
  import -display "$DISPLAY" -window root -crop "90x40+$((ox + px))+$((oy + py - 8))" "$E2E_WORK/lamp-$i.png" 2>/dev/null
  sleep 0.13
done
pictures=$(for f in "$E2E_WORK"/lamp-*.png; do convert "$f" rgb:- | md5sum; done | sort -u | wc -l)
[ "$pictures" -ge 2 ] || fail "the scan lamp does not move"
echo "figures ($edition): $pictures different lamp pictures in 6 grabs"
e2e_robot in "$details" click 4303
sleep 0.2
expect_equal "scan state after" "Off" "$(robot_line in "$details" text 4304)"
e2e_robot in "$details" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the details dialog stayed"
session_text() { iconv -f CP1252 -t UTF-8 "$dir/Private/Session.trng"; }
session_text | grep -F $'ANNA\t001234\t27.145\t' >/dev/null || fail "OK did not store the scanned transponder"

# The close box stores nothing, even after typing six digits.
before=$(md5sum <"$dir/Private/Session.trng")
e2e_robot tree-select 12000
e2e_robot tree-select 12001
e2e_robot wait-window '#32770' 10000 || fail "no details dialog the second time"
expect_equal "transponder stored" "001234" "$(robot_line in "$details" text 4302)"
e2e_robot in "$details" set 4302 654321
e2e_robot close '#32770'
e2e_robot wait-gone '#32770' 5000 || fail "the close box left the details dialog"
[ "$(md5sum <"$dir/Private/Session.trng")" = "$before" ] || fail "the close box wrote the session file"

# ---- A run timed on the port the dialog chose: the car of the scanned transponder laps.
e2e_robot tree-select 14000
tree_menu 14000 || fail "no menu on the sessions"
sleep 0.3
e2e_robot tree-select 14001
sleep 0.5
e2e_robot click 2001
e2e_robot wait-state 2001 disabled 3000 || fail "Start stays enabled"
for _ in $(seq 60); do grep -q "sent start answer" "$E2E_WORK/simulator.log" && break; sleep 0.2; done
grep -q "sent start answer" "$E2E_WORK/simulator.log" || fail "the decoder on COM1 was never asked to start"
sleep 5
shot running
e2e_robot click 2002
e2e_robot wait-state 2001 enabled 5000 || fail "Stop did not end the run"

# ---- Saved, the session holds the transponder.
e2e_robot command 1004
robot_line file scanned 10000 >/dev/null || fail "no save dialog"
saved_run() {
  awk '/^SessionRun1/ { run = 1 } run && /^ANNA\t[1-9]/ { found = 1 } END { exit !found }' \
    "$dir/scanned.trng" 2>/dev/null
}
for _ in $(seq 50); do saved_run && break; sleep 0.1; done
[ -f "$dir/scanned.trng" ] || fail "no scanned.trng"
iconv -f CP1252 -t UTF-8 "$dir/scanned.trng" | grep -F $'ANNA\t001234\t27.145\t' >/dev/null ||
  fail "the saved session lacks the transponder"
# The run section: ANNA's line with her lap count first (laps shorter than the track's minimum
# are filtered, so not every crossing counts).
saved_run || fail "the saved run holds no lap of ANNA"
shot saved

e2e_robot close classeF
robot_line answer "$(text question)" no 10000 >/dev/null || true
wait_program_exit
echo "decoder dialogs test ($edition) passed"
