#!/usr/bin/env bash
# The program's decoder link with its Win32 serial transport, under Wine, against the decoder
# simulator: COM1 of the Wine prefix is mapped onto one end of a socat pty pair, the simulator
# plays the device on the other end. The probe identifies the device as the program does at
# start-up, starts a run and reads passages.
#   decoder_test.sh orix | orix-bluetooth | vexa
# Needs ZARVO_SIMULATOR (the native simulator) besides what wine_env.sh needs.
set -euo pipefail
mode=${1:?mode: orix, orix-bluetooth or vexa}
source "$(dirname "$0")/wine_env.sh"
: "${ZARVO_SIMULATOR:?ZARVO_SIMULATOR must name the native decoder simulator}"
probe="$ZARVO_WINDOWS_BUILD_DIR/tests/e2e/zarvo-decoder-probe.exe"

SOCAT_PID=""
SIM_PID=""
cleanup() {
  if [ -n "$SIM_PID" ]; then kill "$SIM_PID" 2>/dev/null || true; wait "$SIM_PID" 2>/dev/null || true; fi
  if [ -n "$SOCAT_PID" ]; then kill "$SOCAT_PID" 2>/dev/null || true; wait "$SOCAT_PID" 2>/dev/null || true; fi
  e2e_cleanup
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*"
  echo "--- probe output"; cat "$E2E_WORK/probe.out" 2>/dev/null || true
  echo "--- simulator output"; tail -n 40 "$E2E_WORK/simulator.log" 2>/dev/null || true
  exit 1
}

e2e_new_prefix
socat "pty,raw,echo=0,link=$E2E_WORK/com1" "pty,raw,echo=0,link=$E2E_WORK/sim" 2>"$E2E_WORK/socat.log" &
SOCAT_PID=$!
for _ in $(seq 100); do [ -e "$E2E_WORK/com1" ] && [ -e "$E2E_WORK/sim" ] && break; sleep 0.05; done
[ -e "$E2E_WORK/com1" ] || fail "socat made no pty pair"
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$E2E_WORK/com1" /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
e2e_start_wineserver

start_simulator() {
  "$ZARVO_SIMULATOR" --verbose --device "$E2E_WORK/sim" "$@" >"$E2E_WORK/simulator.log" 2>&1 &
  SIM_PID=$!
  for _ in $(seq 100); do grep -q "line open" "$E2E_WORK/simulator.log" 2>/dev/null && return 0; sleep 0.05; done
  fail "the simulator did not open its line"
}

# The probe runs in its own folder, which holds the interface settings file as the program
# folder does: COM1, last seen as a Vexa.
work="$E2E_WORK/probe"
mkdir -p "$work"
printf 'COM1\t1\tZarvo\r\n' >"$work/$(printf 'R\xc3\xa9glagesInterface2.rg')"
# The Wine console ends lines with CR LF; the checks below read LF lines.
run_probe() { (cd "$work" && wine "$probe" "$@" | sed -u 's/\r$//') >"$E2E_WORK/probe.out" 2>"$E2E_WORK/probe.err" & }
settings() { tr -d '\r' <"$work/$(printf 'R\xc3\xa9glagesInterface2.rg')" | tr '\t' ' '; }

case "$mode" in
  orix)
    start_simulator --mode orix --id 4242 --refuse-start 1 --transponders 101-110 --lap 200 --stagger 20
    run_probe --passages 100
    wait $! || fail "the probe did not receive 100 passages"
    grep -q '^box Message|Decoder Orix id.#004242 connected.\\r\\nSoftware ready to operate.$' \
      "$E2E_WORK/probe.out" || fail "no wired Orix message"
    grep -q '^identified ZarvoOrix connected=1 id=004242' "$E2E_WORK/probe.out" || fail "not identified as wired"
    [ "$(settings)" = "COM1 1 ZarvoOrix" ] || fail "settings file holds '$(settings)'"
    [ "$(grep -c 'sent start refusal' "$E2E_WORK/simulator.log")" = 1 ] || fail "no refusal"
    # Passages carry the decoder's time: car 101+i crosses at 200 + 20 i, then every 200 ms.
    expected=$(for k in $(seq 0 99); do printf 'passage %06d orix %d\n' $((101 + k % 10)) $((200 * (k / 10 + 1) + 20 * (k % 10))); done)
    got=$(grep '^passage' "$E2E_WORK/probe.out")
    [ "$got" = "$expected" ] || fail "passages differ: $(diff <(echo "$expected") <(echo "$got") | head -5)"
    grep -q "received keep-alive" "$E2E_WORK/simulator.log" || fail "no keep-alive reached the decoder"
    ;;
  orix-bluetooth)
    start_simulator --mode orix-bluetooth --id 77 --transponders 5 --lap 150
    run_probe --passages 10
    wait $! || fail "the probe did not receive 10 passages"
    grep -q '^box Message|Decoder Orix Bluetooth id.#000077 connected.\\r\\nSoftware ready to operate.$' \
      "$E2E_WORK/probe.out" || fail "no Bluetooth message"
    [ "$(settings)" = "COM1 1 ZarvoOrixBluetooth" ] || fail "settings file holds '$(settings)'"
    [ "$(grep '^passage' "$E2E_WORK/probe.out" | tail -n1)" = "passage 000005 orix 1500" ] ||
      fail "last passage is not 000005 at 1500 ms"
    ! grep -q "received keep-alive" "$E2E_WORK/simulator.log" || fail "a Bluetooth decoder got keep-alives"
    ;;
  vexa)
    start_simulator --mode vexa
    run_probe --passages 20
    probe_pid=$!
    for _ in $(seq 300); do grep -q '^identified' "$E2E_WORK/probe.out" 2>/dev/null && break; sleep 0.05; done
    grep -q '^identified Zarvo connected=1 id=000000' "$E2E_WORK/probe.out" || fail "not identified as Vexa"
    ms=$(sed -n 's/^identified .* ms=\([0-9]*\).*/\1/p' "$E2E_WORK/probe.out")
    [ "$ms" -ge 1500 ] && [ "$ms" -lt 2500 ] || fail "the identification took $ms ms"
    grep -q "received (ignored by the Vexa interface): FF FF FF 01 02" "$E2E_WORK/simulator.log" ||
      fail "the identify request did not reach the interface"
    # The cars set off once the probe reads passages (a Vexa stream has no frame marks).
    kill "$SIM_PID"; wait "$SIM_PID" 2>/dev/null || true; SIM_PID=""
    start_simulator --mode vexa --transponders 4001-4004 --lap 100 --stagger 10
    wait "$probe_pid" || fail "the probe did not receive 20 passages"
    grep -q '^box Message|Interface Zarvo Vexa connected.\\r\\nSoftware ready to operate.$' \
      "$E2E_WORK/probe.out" || fail "no Vexa message"
    [ "$(settings)" = "COM1 1 Zarvo" ] || fail "settings file holds '$(settings)'"
    expected=$(for k in $(seq 0 19); do printf 'passage %06d vexa\n' $((4001 + k % 4)); done)
    got=$(grep '^passage' "$E2E_WORK/probe.out" | cut -d' ' -f1-3)
    [ "$got" = "$expected" ] || fail "passages differ"
    ;;
  *) echo "unknown mode $mode"; exit 2 ;;
esac
grep -E '^(identified|started|received)' "$E2E_WORK/probe.out"
echo "decoder test ($mode) under Wine passed"
