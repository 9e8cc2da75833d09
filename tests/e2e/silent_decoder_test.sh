#!/usr/bin/env bash
# A wired Orix decoder lost (here outside a run) whose port still opens but which no longer answers
# (adapter plugged in, decoder switched off): the program keeps trying to reconnect every 4.5 s,
# and never shows more than one error box at a time, however long it is left alone.
#   silent_decoder_test.sh <en|fr>
set -euo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT

e2e_start_display
e2e_new_prefix
exe="zarvo-training-$edition.exe"
map_com1
start_simulator --mode orix --id 4242
printf 'COM1\t1\tZarvo\r\n' >"$E2E_PROGRAM_DIR/$INTERFACE_FILE_NAME"
start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
e2e_robot answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

# The line is cut (the adapter pulled) and comes back with the decoder switched off: the port
# opens again, nothing answers.
sleep 2
kill "$SIM_PID" 2>/dev/null || true; wait "$SIM_PID" 2>/dev/null || true; SIM_PID=""
kill "$SOCAT_PID" 2>/dev/null || true; wait "$SOCAT_PID" 2>/dev/null || true
rm -f "$E2E_WORK/com1" "$E2E_WORK/sim"
socat "pty,raw,echo=0,link=$E2E_WORK/com1" "pty,raw,echo=0,link=$E2E_WORK/sim" 2>>"$E2E_WORK/socat.log" &
SOCAT_PID=$!
(cat "$E2E_WORK/sim" >/dev/null 2>&1 || true) &
reader=$!
e2e_robot box "$(text error)" 20000 >/dev/null || fail "no failed reconnection reported"
most=0
for _ in $(seq 30); do
  n=$(robot_line count-boxes "$(text error)")
  [ "$n" -gt "$most" ] && most=$n
  sleep 1
done
e2e_screenshot "silent-decoder-$edition"
kill "$reader" 2>/dev/null || true
expect_equal "error boxes open at once after 30 s" "1" "$most"
echo "figures ($edition): at most $most error box open during 30 s of a silent decoder"
