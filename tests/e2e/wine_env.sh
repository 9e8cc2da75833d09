#!/usr/bin/env bash
# Shared by the end-to-end tests: an X display, a fresh Wine prefix with the program installed in
# "C:\Program Files\Zarvo Training", and the robot. Source it, then call the functions.
#   ZARVO_WINDOWS_BUILD_DIR  build folder of the Windows editions (required)
#   ZARVO_E2E_ARTIFACTS      where screenshots are kept (default: <build>/e2e-artifacts)

: "${ZARVO_WINDOWS_BUILD_DIR:?ZARVO_WINDOWS_BUILD_DIR must name the Windows build folder}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
ZARVO_E2E_ARTIFACTS=${ZARVO_E2E_ARTIFACTS:-$ZARVO_WINDOWS_BUILD_DIR/e2e-artifacts}
ZARVO_WINE_TEMPLATE=${ZARVO_WINE_TEMPLATE:-$ZARVO_WINDOWS_BUILD_DIR/wine-template}
ZARVO_ROBOT="$ZARVO_WINDOWS_BUILD_DIR/tests/e2e/zarvo-robot.exe"
mkdir -p "$ZARVO_E2E_ARTIFACTS"

E2E_WORK=""
XVFB_PID=""

e2e_log() { echo "[e2e $(date +%H:%M:%S)] $*" >&2; }

# Starts Xvfb on a free display and exports DISPLAY; the size is 1600x900 unless given (WxH).
e2e_start_display() {
  local size=${1:-1600x900}
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fd_file" 2>/dev/null &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
  e2e_log "Xvfb on $DISPLAY"
}

# The template prefix is made once per build folder and copied for every test.
e2e_make_template() {
  if [ -f "$ZARVO_WINE_TEMPLATE/.zarvo-ready-2" ]; then return 0; fi
  e2e_log "creating the Wine template prefix"
  rm -rf "$ZARVO_WINE_TEMPLATE"
  WINEPREFIX="$ZARVO_WINE_TEMPLATE" wineboot -i >/dev/null 2>&1
  WINEPREFIX="$ZARVO_WINE_TEMPLATE" wineserver -w
  local reg="wine reg add"
  WINEPREFIX="$ZARVO_WINE_TEMPLATE" $reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  WINEPREFIX="$ZARVO_WINE_TEMPLATE" $reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1600x900 /f >/dev/null 2>&1
  WINEPREFIX="$ZARVO_WINE_TEMPLATE" $reg 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
  WINEPREFIX="$ZARVO_WINE_TEMPLATE" $reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Arial Black' /t REG_SZ /d 'Liberation Sans' /f >/dev/null 2>&1
  # Window captions draw their buttons with Marlett, which this Wine finds only in the prefix.
  e2e_install_marlett "$ZARVO_WINE_TEMPLATE"
  WINEPREFIX="$ZARVO_WINE_TEMPLATE" wineserver -k 2>/dev/null || true
  WINEPREFIX="$ZARVO_WINE_TEMPLATE" wineserver -w 2>/dev/null || true
  touch "$ZARVO_WINE_TEMPLATE/.zarvo-ready-2"
}

# Copies Wine's Marlett font into the prefix's Fonts folder (caption and message box buttons).
e2e_install_marlett() {
  local font
  for font in /usr/share/wine/fonts/marlett.ttf /usr/lib/wine/fonts/marlett.ttf; do
    if [ -f "$font" ]; then
      mkdir -p "$1/drive_c/windows/Fonts"
      cp "$font" "$1/drive_c/windows/Fonts/"
      return 0
    fi
  done
}

# A fresh prefix in a new work folder, with the installed program; exports WINEPREFIX,
# E2E_WORK and E2E_PROGRAM_DIR (the program folder seen from Linux).
e2e_new_prefix() {
  e2e_make_template
  E2E_WORK=$(mktemp -d /tmp/zarvo-e2e.XXXXXX)
  cp -a "$ZARVO_WINE_TEMPLATE" "$E2E_WORK/prefix"
  export WINEPREFIX="$E2E_WORK/prefix"
  E2E_PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Zarvo Training"
  cmake --install "$ZARVO_WINDOWS_BUILD_DIR" --prefix "$E2E_PROGRAM_DIR" >/dev/null
  e2e_start_wineserver
}

# Starts the prefix's Wine server with its messages in the work folder (the server writes what it
# still holds when it is stopped; whoever starts it first would otherwise get that on stderr).
e2e_start_wineserver() {
  wineserver 2>>"$E2E_WORK/wineserver.log" || true
}

# Gives the prefix's virtual desktop another size (WxH), for a display started at that size.
e2e_set_desktop_size() {
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d "$1" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  e2e_start_wineserver
}

# The robot answers 0 (done), 1 (failed, with its reason "robot: ..." on stderr) or 2 (its usage
# on stderr). A failure without a word of its own is Wine failing to start it, or the robot dying
# before it said anything (seen now and then under load, with any status): that one call is made
# again, once, and logged.
e2e_robot() {
  local status=0 said
  said=$(mktemp)
  wine "$ZARVO_ROBOT" "$@" 2>"$said" || status=$?
  cat "$said" >&2
  if [ "$status" -ne 0 ] && ! grep -qE '^(robot: |usage: )' "$said"; then
    e2e_log "robot '$*' ended with status $status and no answer of its own; made again"
    status=0
    wine "$ZARVO_ROBOT" "$@" || status=$?
  fi
  rm -f "$said"
  return "$status"
}

# Saves what the screen shows as <artifacts>/<name>.png.
e2e_screenshot() {
  import -display "$DISPLAY" -window root "$ZARVO_E2E_ARTIFACTS/$1.png" 2>/dev/null || true
  e2e_log "screenshot $ZARVO_E2E_ARTIFACTS/$1.png"
}

e2e_cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
  if [ -n "$E2E_WORK" ] && [ -z "${ZARVO_E2E_KEEP:-}" ]; then rm -rf "$E2E_WORK"; fi
}
