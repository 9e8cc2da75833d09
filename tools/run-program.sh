#!/usr/bin/env bash
# Sets up what is missing, builds the program, installs it into a Wine prefix and starts it with a
# simulated decoder on its COM port (COM1 as shipped), then shows a run being timed: a demo session is set up through the
# program's own menus and dialogs and its first run started, then the program is left to you.
#
#   tools/run-program.sh [en|fr] [--bare] [--device orix|orix-bluetooth|vexa|none] [-- <simulator options>]
#
# en (default) or fr: the edition. --device: what the simulator plays on the port (default: a
# wired Orix decoder, id 4242, with six cars, transponders 1001 to 1006, lapping in 18 to 23 s);
# "none" leaves the port unconnected. Options after "--" replace the simulator's car options (see
# zarvo-decoder-simulator --help).
# The demo: six drivers with the simulator's transponders and a circuit are written into the
# prefix's program folder when its drivers database is empty (never into data/); a session with
# them, a 10-minute run and a 5 s countdown is made from the session tree (saved once as
# "demo.trng"), and run 1 is started. --bare starts the program without the demo, as a user
# would find it; so does --device none.
# The prefix and the program folder stay in build/run-program/ between runs: the user's data
# (databases, settings, runs) is kept; the programs and what they ship (guides, sounds, pictures,
# the countries database) are replaced by the new build's. The simulator is put on the COM port
# the interface settings name (COM1 when they name none); they are never rewritten here.
# With DISPLAY set the program opens on that display; without, on a virtual X server whose
# screen is saved to build/run-program/screenshot-*.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

edition=en
device=orix
demo=1
car_options=(--transponders 1001-1006 --lap 18000-23000 --stagger 400)
while [ $# -gt 0 ]; do
  case "$1" in
    en | fr) edition=$1 ;;
    --device) device=${2:?--device needs orix, orix-bluetooth, vexa or none}; shift ;;
    --bare) demo=0 ;;
    --) shift; car_options=("$@"); break ;;
    -h | --help) sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown argument: $1 (see --help)"; exit 2 ;;
  esac
  shift
done
case "$device" in orix | orix-bluetooth | vexa | none) ;; *) echo "unknown device: $device"; exit 2 ;; esac
[ "$device" != none ] || demo=0

tools/setup-debian.sh

echo "== Building the Windows editions and the decoder simulator"
cmake --preset windows >/dev/null
cmake --build --preset windows --target zarvo-training-en zarvo-training-fr zarvo-robot
cmake --preset native >/dev/null
cmake --build --preset native --target zarvo-decoder-simulator
simulator="$root/build/native/tools/decoder-simulator/zarvo-decoder-simulator"

# (ZARVO_RUN_DIR: another work folder; ZARVO_RUN_FOR: seconds after which everything is stopped,
# for the test of this script.)
run="${ZARVO_RUN_DIR:-$root/build/run-program}"
export WINEPREFIX="$run/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
program_dir="$WINEPREFIX/drive_c/Program Files/Zarvo Training"
mkdir -p "$run"

XVFB_PID=""
SOCAT_PID=""
SIM_PID=""
cleanup() {
  trap - EXIT INT TERM
  wineserver -k 2>/dev/null || true
  if [ -n "$SIM_PID" ]; then kill "$SIM_PID" 2>/dev/null || true; wait "$SIM_PID" 2>/dev/null || true; fi
  if [ -n "$SOCAT_PID" ]; then kill "$SOCAT_PID" 2>/dev/null || true; wait "$SOCAT_PID" 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
}
trap cleanup EXIT INT TERM

# Without a display, a virtual one at 1600x900.
virtual_display=""
if [ -z "${DISPLAY:-}" ]; then
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1600x900x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
  virtual_display=$DISPLAY
fi

if [ ! -f "$WINEPREFIX/.zarvo-ready" ]; then
  echo "== Creating the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # "Arial" as the program asks for it, and the Marlett font of window captions.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Arial Black' /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
  for font in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
    if [ -f "$font" ]; then mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"; cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"; break; fi
  done
  touch "$WINEPREFIX/.zarvo-ready"
fi
# On a virtual X server the program needs Wine's own desktop to be shown maximised.
if [ -n "$virtual_display" ]; then
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1600x900 /f >/dev/null 2>&1
else
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
fi

echo "== Installing into C:\\Program Files\\Zarvo Training"
stage="$run/stage"
rm -rf "$stage"
for component in programs shipped user; do
  cmake --install build/windows --prefix "$stage/$component" --component "$component" >/dev/null
done
mkdir -p "$program_dir"
cp "$stage"/programs/zarvo-training-*.exe "$program_dir/"
# What the program ships, as this build has it; the user's files only where they are missing.
cp -r "$stage"/shipped/. "$program_dir/"
cp -rn "$stage"/user/. "$program_dir/"
interface_file="$program_dir/$(printf 'R\xc3\xa9glagesInterface2.rg')"
# The port the program will open: the one its interface settings name.
port=$(head -n1 "$interface_file" 2>/dev/null | cut -f1 | tr -d '\r' || true)
if ! [[ "$port" =~ ^COM[1-9][0-9]?$ ]]; then
  port=COM1
  printf 'COM1\t1\tZarvo\r\n' >"$interface_file"
fi

if [ "$device" != none ]; then
  echo "== Decoder simulator on $port ($device)"
  socat "pty,raw,echo=0,link=$run/com1" "pty,raw,echo=0,link=$run/sim" 2>"$run/socat.log" &
  SOCAT_PID=$!
  for _ in $(seq 100); do [ -e "$run/com1" ] && [ -e "$run/sim" ] && break; sleep 0.05; done
  wine reg add 'HKLM\Software\Wine\Ports' /v "$port" /t REG_SZ /d "$run/com1" /f >/dev/null 2>&1
  case "$device" in
    orix) mode=(--mode orix --id 4242) ;;
    orix-bluetooth) mode=(--mode orix-bluetooth --id 77) ;;
    vexa) mode=(--mode vexa) ;;
  esac
  "$simulator" --device "$run/sim" "${mode[@]}" "${car_options[@]}" --verbose >"$run/simulator.log" 2>&1 &
  SIM_PID=$!
else
  wine reg add 'HKLM\Software\Wine\Ports' /v "$port" /t REG_SZ /d "$run/no-device" /f >/dev/null 2>&1
fi
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
# The Wine server writes what it still holds when it is stopped: into its own log.
wineserver 2>"$run/wineserver.log" || true

exe="zarvo-training-$edition.exe"
robot="$root/build/windows/tests/e2e/zarvo-robot.exe"
if [ "$demo" = 1 ]; then
  source "$root/tools/run-program-demo.sh"
  demo_prepare_data
fi
echo "== Starting $exe on $DISPLAY (simulator log: $run/simulator.log)"
(cd "$program_dir" && exec wine "./$exe") >"$run/program.log" 2>&1 &
program=$!

if [ -n "$virtual_display" ]; then
  echo "No display was set: the program runs on the virtual display $virtual_display (1600x900)."
  echo "To see it: DISPLAY=$virtual_display import -window root shot.png"
fi
if [ -n "$virtual_display" ] || [ "$demo" = 1 ]; then
  # The boxes of start-up are read and answered here, after a picture of the decoder report.
  if wine "$robot" box Message 20000 >"$run/report.txt" 2>/dev/null; then
    import -display "$DISPLAY" -window root "$run/screenshot-report.png" 2>/dev/null || true
    echo "Decoder report: $(sed 's/\\r\\n/ /g' "$run/report.txt" | tr -d '\r')"
    echo "  (picture: $run/screenshot-report.png)"
    wine "$robot" answer Message ok 5000 >/dev/null 2>&1 || true
    title=$([ "$edition" = en ] && echo "Important Message" || echo "Message Important")
    wine "$robot" answer "$title" ok 10000 >/dev/null 2>&1 || true
  fi
fi
if [ "$demo" = 1 ]; then
  echo "== Demo: a session with six drivers is set up from the session tree and run 1 is started"
  if demo_start_run; then
    import -display "$DISPLAY" -window root "$run/screenshot-demo-start.png" 2>/dev/null || true
    echo "Run 1 is started: the six simulated cars are timed. The program is yours now."
    echo "  (picture: $run/screenshot-demo-start.png; tools/run-program.sh --bare starts it without the demo)"
  else
    echo "The demo could not be set up (robot messages: $run/demo.log); the program is yours."
  fi
fi
if [ -n "$virtual_display" ]; then
  echo "The program's screen is saved every 5 s to $run/screenshot-latest.png."
  echo "Press Ctrl+C to stop the program, the simulator and the virtual display."
  began=$SECONDS
  while kill -0 "$program" 2>/dev/null; do
    import -display "$virtual_display" -window root "$run/screenshot-latest.png" 2>/dev/null || true
    if [ -n "${ZARVO_RUN_FOR:-}" ] && [ $((SECONDS - began)) -ge "$ZARVO_RUN_FOR" ]; then
      wineserver -k 2>/dev/null || true
      break
    fi
    sleep 5
  done
fi
wait "$program" 2>/dev/null || true
echo "== The program has ended"
