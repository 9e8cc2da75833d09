#!/usr/bin/env bash
# The live results on the club network under Wine, in the English edition: the dialog of the
# Settings menu shows the server off on port 8080 with the address phones should open and its QR
# code; a port held by another program keeps the dialog open with the status line saying what to
# do; another port starts the server (the settings file written). A run is timed with a wired
# Orix simulated on COM1 while Debian's headless Chromium on a phone-sized screen follows the
# page from Linux (Wine's sockets are the host's): every lap count rises within 2 s of the
# simulator's passage, and the lap times listed are exactly the decoder's. The program ends
# promptly with an event stream still open. Screenshots: <artifacts>/live-results-en-*.png.
#   live_results_test.sh en
set -Eeuo pipefail
edition=${1:-en}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
BLOCKER_PID=""
STREAM_PID=""
cleanup() {
  for pid in "$BLOCKER_PID" "$STREAM_PID"; do
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  done
  program_cleanup
}
trap cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8

program_test_begin live-results
settings_file="$dir/RéglagesRésultatsEnDirect.rg"
# Two ports of this machine: one for the server, one held by another program.
free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("0.0.0.0", 0)); print(s.getsockname()[1])'; }
port=$(free_port)
python3 -c 'import socket, sys, time
s = socket.socket(); s.bind(("0.0.0.0", 0)); s.listen(1); print(s.getsockname()[1], flush=True); time.sleep(600)' \
  >"$E2E_WORK/blocker.txt" &
BLOCKER_PID=$!
for _ in $(seq 50); do [ -s "$E2E_WORK/blocker.txt" ] && break; sleep 0.1; done
taken=$(cat "$E2E_WORK/blocker.txt")
[ -n "$taken" ] && [ "$taken" != "$port" ] || fail "no port held by another program"

# ---- Three drivers, a wired Orix on COM1; passages logged with the instant they are written.
printf 'ANNA\t\t\t\t\t\t\t\t\t\t001001\t\t\t\r\nBRUNO\t\t\t\t\t\t\t\t\t\t001002\t\t\t\r\nCHLOE\t\t\t\t\t\t\t\t\t\t001003\t\t\t\r\n' \
  >"$dir/BaseDonnéesPilotes.bd"
printf 'COM1\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
for name in ANNA BRUNO CHLOE; do printf '1\t0\t\r\n' >"$dir/Base données runs/$name.bdr"; done
map_com1
start_simulator --mode orix --id 31 --transponders 1001-1003 --lap 2500-3200 --stagger 300 \
  --instants "$E2E_WORK/instants.txt"
started_runs() { grep -c "sent start answer" "$E2E_WORK/simulator.log" || true; }

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
[ ! -e "$settings_file" ] || fail "a live results settings file before the dialog confirmed one"

# ---- The dialog: off on 8080, the addresses, stopped.
live="Live results on the network"
e2e_robot command 1017
expect_equal "on/off" "enabled=1 visible=1 checked=0" "$(robot_line in "$live" state 6001)"
expect_equal "port" "8080" "$(robot_line in "$live" text 6003)"
expect_equal "status" "Stopped: phones cannot reach the results." "$(robot_line in "$live" text 6007)"
addresses=$(robot_line in "$live" text 6006)
echo "addresses shown: $addresses"
case "$addresses" in "http://"*":8080/"* | "No network address found"*) ;; *) fail "addresses: $addresses" ;; esac
# A port another program listens on: the dialog stays open and says what to do.
e2e_robot in "$live" click 6001
e2e_robot in "$live" set 6003 "$taken"
e2e_robot in "$live" press 1
expect_equal "status on a taken port" \
  "The port $taken is taken by another program: choose another port or close that program." \
  "$(robot_line in "$live" text 6007)"
# Another port: the server starts and the dialog closes.
e2e_robot in "$live" set 6003 "$port"
case "$addresses" in "http://"*) case "$(robot_line in "$live" text 6006)" in *":$port/"*) ;;
  *) fail "the addresses do not follow the port typed" ;; esac ;; esac
e2e_robot in "$live" click 1
e2e_robot wait-gone '#32770' 5000 || fail "the dialog stayed open on a free port"
expect_equal "settings file" "RESULTATSDIRECToui
RESULTATSDIRECTPORT$port" "$(tr -d '\r' <"$settings_file")"
state=$(python3 -c 'import json, sys, urllib.request
print(json.load(urllib.request.urlopen("http://127.0.0.1:%s/results.json" % sys.argv[1], timeout=5))["state"])' "$port") ||
  fail "the page's snapshot cannot be read from Linux"
expect_equal "state before the run" "waiting" "$state"
# Opened again: running, with the address and its code (looked at in the screenshot).
e2e_robot command 1017
expect_equal "status when running" "Running on port $port." "$(robot_line in "$live" text 6007)"
expect_equal "on/off when running" "enabled=1 visible=1 checked=1" "$(robot_line in "$live" state 6001)"
shot dialog-with-code
e2e_robot in "$live" click 2
e2e_robot wait-gone '#32770' 5000 || fail "the dialog stayed after Cancel"

# ---- The session: the three drivers, a run of 1 minute without countdown, run 1 selected.
e2e_robot tree-select 12000
tree_menu 12000 || fail "no menu on the drivers"
list=$(text participants-dialog)
for index in 0 1 2; do
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

# ---- The run, followed on the phone.
e2e_robot click 2001
for _ in $(seq 50); do [ "$(started_runs)" -ge 1 ] && break; sleep 0.2; done
[ "$(started_runs)" -ge 1 ] || fail "the decoder was never asked to start"
/usr/bin/python3 "$here/check_live_page.py" "$port" "$E2E_WORK/simulator.log" "$E2E_WORK/instants.txt" \
  "$ZARVO_E2E_ARTIFACTS" 15 || fail "the phone's page did not follow the run"
shot run-timed
e2e_robot click 2002
e2e_robot wait-state 2001 enabled 5000 || fail "Stop did not end the run"

# ---- The end with a phone still following the event stream: the program ends promptly.
curl -sN "http://127.0.0.1:$port/events" >"$E2E_WORK/events.txt" 2>/dev/null &
STREAM_PID=$!
sleep 1
grep -q '^data: ' "$E2E_WORK/events.txt" || fail "the event stream sent nothing"
closing=$(date +%s%N)
close_program
echo "figures ($edition): the program ended $(( ($(date +%s%N) - closing) / 1000000 )) ms after its window was closed, an event stream open"
wait "$STREAM_PID" 2>/dev/null || true
STREAM_PID=""
! python3 -c 'import socket, sys; socket.create_connection(("127.0.0.1", int(sys.argv[1])), 1)' "$port" 2>/dev/null ||
  fail "the port is still listened on after the end"
echo "figures ($edition): the scenario took $(($(date +%s) - begin)) s"
echo "live results ($edition) passed"
