#!/usr/bin/env bash
# Shared by the end-to-end tests of the program: COM1 of the prefix mapped onto a pty whose other
# end the decoder simulator plays, the program started in its folder, its start-up boxes answered.
# Source it after wine_env.sh. Needs ZARVO_SIMULATOR (the native decoder simulator).

SOCAT_PID=""
SIM_PID=""
PROGRAM_PID=""
INTERFACE_FILE_NAME=$(printf 'R\xc3\xa9glagesInterface2.rg')
DISPLAY_FILE_NAME=$(printf 'Private/R\xc3\xa9glagesAffichage.rgsc')

# Runs at exit: the simulator, socat, Wine and Xvfb are stopped.
program_cleanup() {
  if [ -n "$SIM_PID" ]; then kill "$SIM_PID" 2>/dev/null || true; wait "$SIM_PID" 2>/dev/null || true; fi
  if [ -n "$SOCAT_PID" ]; then kill "$SOCAT_PID" 2>/dev/null || true; wait "$SOCAT_PID" 2>/dev/null || true; fi
  e2e_cleanup
}

fail() {
  echo "FAILED: $*"
  [ -n "${E2E_WORK:-}" ] && { echo "--- simulator output"; tail -n 30 "$E2E_WORK/simulator.log" 2>/dev/null || true; }
  e2e_screenshot "failure-$(basename "$0" .sh)-$$" || true
  exit 1
}

# program_test_begin <screenshot name>: Xvfb and a fresh prefix with the installed program of
# $edition; sets begin, dir and exe. Then shot <step> keeps
# <artifacts>/<screenshot name>-<edition>-<NN>-<step>.png, NN counting the shots.
program_test_begin() {
  SHOT_NAME=$1
  begin=$(date +%s)
  e2e_start_display
  e2e_new_prefix
  dir="$E2E_PROGRAM_DIR"
  exe="zarvo-training-$edition.exe"
  [ -f "$dir/$exe" ] || fail "not installed: $exe"
  step=0
}
shot() {
  step=$((step + 1))
  sleep 0.4
  e2e_screenshot "$(printf '%s-%s-%02d-%s' "$SHOT_NAME" "$edition" "$step" "$1")"
}

# tree_menu <node id>: right-clicks the node of the session tree and chooses the first entry of
# its pop-up menu. A click that the busy tree let pass without a menu (seen under load) is made
# again, twice at the most.
tree_menu() {
  local attempt
  for attempt in 1 2 3; do
    e2e_robot tree-rclick "$1"
    e2e_robot popup 4000 2>/dev/null && return 0
    echo "no pop-up menu on node $1 after click $attempt"
  done
  return 1
}

# The pty pair and COM1 mapped onto it (Wine's server restarted to see the mapping).
map_com1() {
  socat "pty,raw,echo=0,link=$E2E_WORK/com1" "pty,raw,echo=0,link=$E2E_WORK/sim" 2>"$E2E_WORK/socat.log" &
  SOCAT_PID=$!
  for _ in $(seq 100); do [ -e "$E2E_WORK/com1" ] && [ -e "$E2E_WORK/sim" ] && break; sleep 0.05; done
  [ -e "$E2E_WORK/com1" ] || fail "socat made no pty pair"
  wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$E2E_WORK/com1" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  e2e_start_wineserver
}

# start_simulator <simulator options...>: plays a device on the other end of COM1.
start_simulator() {
  : "${ZARVO_SIMULATOR:?ZARVO_SIMULATOR must name the native decoder simulator}"
  "$ZARVO_SIMULATOR" --verbose --device "$E2E_WORK/sim" "$@" >"$E2E_WORK/simulator.log" 2>&1 &
  SIM_PID=$!
  for _ in $(seq 100); do grep -q "line open" "$E2E_WORK/simulator.log" 2>/dev/null && return 0; sleep 0.05; done
  fail "the simulator did not open its line"
}

# start_program <exe file name in the program folder>
start_program() {
  (cd "$E2E_PROGRAM_DIR" && exec wine "./$1") >"$E2E_WORK/program.out" 2>&1 &
  PROGRAM_PID=$!
}

# Waits for the program to end; fails unless it exits with 0.
wait_program_exit() {
  local status=0
  wait "$PROGRAM_PID" || status=$?
  PROGRAM_PID=""
  [ "$status" -eq 0 ] || fail "the program exited with $status"
}

# The shell's "open" of a PDF starts the robot (copied into C:\robot), which writes the document's
# path into $PDF_OPENED, instead of Wine's default of handing it to this machine's PDF reader.
record_pdf_opening() {
  mkdir -p "$WINEPREFIX/drive_c/robot"
  cp "$ZARVO_ROBOT" "$WINEPREFIX/drive_c/robot/"
  PDF_OPENED="$WINEPREFIX/drive_c/robot/opened.txt"
  rm -f "$PDF_OPENED"
  wine reg add 'HKCR\.pdf' /ve /d ZarvoTestPdf /f >/dev/null 2>&1
  wine reg add 'HKCR\ZarvoTestPdf\shell\open\command' /ve \
    /d 'C:\robot\zarvo-robot.exe record C:\robot\opened.txt "%1"' /f >/dev/null 2>&1
}
# The documents the shell was asked to open, one a line, once the first has come (5 s at most).
pdf_opened() {
  for _ in $(seq 50); do [ -s "$PDF_OPENED" ] && break; sleep 0.1; done
  tr -d '\r' <"$PDF_OPENED" 2>/dev/null || true
}

# The texts of the edition ($edition) by name.
text() {
  case "$edition:$1" in
    en:error) echo "Error" ;;
    fr:error) echo "Erreur" ;;
    en:question) echo "Be careful" ;;
    fr:question) echo "Attention" ;;
    en:warning-title) echo "Important Message" ;;
    fr:warning-title) echo "Message Important" ;;
    en:warning-start) echo "The printing of documents with the latest versions of Windows 11" ;;
    fr:warning-start) echo "Les impressions de documents avec les dernières versions de Windows 11" ;;
    en:quit-question) echo 'You wish to quit!\nDo you want to save the current session?' ;;
    fr:quit-question) echo 'Vous allez quitter!\nSouhaitez-vous sauvegarder la séance en cours?' ;;
    en:quit-refused) echo "A race or a scan is in progress!\\r\\nYou can't quit the application !" ;;
    fr:quit-refused) echo "Un run est en cours!\\r\\nVous ne pouvez pas fermer l'application !" ;;
    en:new-question) echo 'You wish to begin a new session!\nDo you want to save the current one?' ;;
    fr:new-question) echo 'Vous voulez commencer une nouvelle séance!\nSouhaitez-vous sauvegarder la séance en cours?' ;;
    en:save-question) echo 'Do you want to save the current session?' ;;
    fr:save-question) echo 'Souhaitez-vous sauvegarder la séance en cours?' ;;
    en:clear-question) echo 'Are you sure you want to clear the results of the current run?\nThe data will be definitively lost.' ;;
    fr:clear-question) echo 'Etes vous sûr de vouloir effacer les résultats du run?\nLes données seront définitivement perdues' ;;
    en:track-dialog) echo "Track" ;;
    fr:track-dialog) echo "Piste" ;;
    en:participants-dialog) echo "List of drivers" ;;
    fr:participants-dialog) echo "Liste des pilotes" ;;
    en:parameters-dialog) echo "Options of race" ;;
    fr:parameters-dialog) echo "Options de course" ;;
    en:tree-track) echo "Track" ;;
    fr:tree-track) echo "Piste" ;;
    en:tree-drivers) echo "Drivers" ;;
    fr:tree-drivers) echo "Pilotes" ;;
    en:tree-parameters) echo "Parameters" ;;
    fr:tree-parameters) echo "Paramètres" ;;
    en:filter-new) echo "Training file (.trng)" ;;
    fr:filter-new) echo "Fichier training (.trng)" ;;
    en:filter-save-as) echo "Training file  (.trng)" ;;
    fr:filter-save-as) echo "Fichier training (.trng)" ;;
    en:filter-open) echo "Training File (.trng)" ;;
    fr:filter-open) echo "Fichier training (.trng)" ;;
    *) echo "no text $edition:$1" >&2; return 1 ;;
  esac
}

# expect_equal <what> <expected> <got>
expect_equal() { [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"; }

robot_line() { e2e_robot "$@" | tr -d '\r'; }

# The interface settings file of the program folder, tabs and line ends made visible.
interface_file() { sed -n l "$E2E_PROGRAM_DIR/$INTERFACE_FILE_NAME"; }

# Answers the warning shown at every start and checks its text.
answer_warning() {
  local got
  got=$(robot_line answer "$(text warning-title)" ok 15000) || fail "no start-up warning"
  case "$got" in "$(text warning-start)"*) ;; *) fail "warning text: $got" ;; esac
}

# Closes the main window answering No to the save question, and waits for a clean exit.
close_program() {
  e2e_robot close classeF
  local got
  got=$(robot_line answer "$(text question)" no 10000) || fail "no save question when closing"
  expect_equal "save question" "$(text quit-question)" "$got"
  wait_program_exit
}
