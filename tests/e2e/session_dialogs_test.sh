#!/usr/bin/env bash
# The track, participants list and race parameters dialogs of one edition under Wine, each opened
# over an empty window on a prepared working copy: what they show (screenshots kept as
# artifacts), that leaving them writes nothing, and what confirming them writes.
set -euo pipefail
edition=${1:?edition en or fr}
source "$(dirname "$0")/wine_env.sh"
trap e2e_cleanup EXIT

e2e_start_display
e2e_new_prefix
viewer="$ZARVO_WINDOWS_BUILD_DIR/tests/e2e/zarvo-dialogs-$edition.exe"
[ -f "$viewer" ] || { echo "not built: $viewer"; exit 1; }
dir="$E2E_PROGRAM_DIR"
report="$dir/report.txt"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# The working copy in UTF-8, to compare with what a test expects.
session_text() { iconv -f CP1252 -t UTF-8 "$dir/Private/Session.trng"; }
expect_report() {
  grep -qxF -- "$1" "$report" || fail "$2: the report has no line '$1'"
}
expect_session() {
  session_text | grep -qF -- "$1" || fail "$2: the working copy holds no '$1'"
}

# Windows-1252 files, as the program writes them ("\xe9" is é, "\xe8" è).
printf 'Piste des Ours\t120\t18.250\t18250\tH\xe9l\xe8ne\t5\tGrenoble\t\t\r\nRing Nord\t250\t\t0\t\t7\tNantes\t\t\r\n' \
  >"$dir/BaseDonnéesCircuits.bd"
drivers=""
for entry in "ANNA 000001" "BRUNO 000002" "H\xe9l\xe8ne 000003" "DORA 000004"; do
  drivers+="${entry% *}\t\t\t\t\t\t\t\t\t\t${entry#* }\t\t\t\r\n"
done
printf "$drivers" >"$dir/BaseDonnéesPilotes.bd"

# A session of two participants with its track: header (50 characters), list and track.
write_session() {  # runs-recorded flag
  mkdir -p "$dir/Private"
  {
    printf '10000\tSEANCE TRAINING\t2\t%s\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t\r\n' "$1"
    printf '\r\nSessionListeParticipants\t\r\n'
    printf 'ANNA\t000001\t\t\t\t\t\t\r\n'
    printf 'H\xe9l\xe8ne\t000003\t27.145\t\t\t\t\t\r\n'
    for _ in $(seq 18); do printf '(NA)\t\t\t\t\t\t\t\r\n'; done
    printf '\r\nSessionPiste\t\r\nSamedi\tPiste des Ours\t5\t\r\n'
  } >"$dir/Private/Session.trng"
}

# Runs the viewer: <dialog> <screenshot name or -> <steps...> keep|confirm.
run_dialog() {
  local dialog=$1 shot=$2
  shift 2
  local last=${*: -1}
  rm -f "$report"
  (cd "$dir" && LC_ALL=C.UTF-8 wine "$viewer" "$dialog" report.txt "$@") &
  local pid=$!
  for _ in $(seq 200); do
    grep -q '^[0-9]' "$report" 2>/dev/null && break
    sleep 0.1
  done
  if [ "$last" = keep ]; then
    sleep 0.5
    [ "$shot" = - ] || e2e_screenshot "$shot"
    e2e_robot close '#32770'
  fi
  wait "$pid" || fail "$dialog: the viewer exited with an error"
}

# ---- Track dialog.
write_session 0
before=$(md5sum <"$dir/Private/Session.trng")
run_dialog track "session-dialog-track-$edition" keep
expect_report "4101=Samedi" "track"
expect_report "4103=Piste des Ours" "track"
expect_report "4104=120" "track"
expect_report "4105=18.250" "track"
expect_report "4106=Hélène" "track"
expect_report "4107=Grenoble" "track"
expect_report "4108=5" "track"
expect_report "result=0" "track closed"
[ "$(md5sum <"$dir/Private/Session.trng")" = "$before" ] || fail "track: closing wrote the file"

run_dialog track - "set:4101:Ma Session" confirm
expect_report "4101=" "track: a label holding Session is cleared"
run_dialog track - "set:4101:Dimanche été" "select:4102:1" "set:4108:1" confirm
expect_report "4103=Ring Nord" "track"
expect_report "4108=1" "track: the box keeps what was typed"
expect_report "result=1" "track confirmed"
expect_session $'Dimanche été\tRing Nord\t2\t' "track"

# ---- Participants list dialog.
write_session 0
before=$(md5sum <"$dir/Private/Session.trng")
run_dialog participants "session-dialog-participants-$edition" keep
expect_report "4201=(2)" "participants"
expect_report "4202=ANNA|Hélène" "participants"
expect_report "4203=ANNA|BRUNO|Hélène|DORA" "participants"
expect_report "4205=->" "participants: removing is allowed"
[ "$(md5sum <"$dir/Private/Session.trng")" = "$before" ] || fail "participants: closing wrote the file"

run_dialog participants - "select:4203:3" "click:4204" "click:4204" "select:4202:0" "click:4205" confirm
expect_report "4201=(2)" "participants"
expect_report "4202=Hélène|DORA" "participants"
expect_report "result=1" "participants confirmed"
expect_session $'10000\tSEANCE TRAINING\t2\t0\t1\t' "participants: header"
expect_session $'Hélène\t000003\t27.145\t' "participants: the frequency stays"
expect_session $'DORA\t000004\t\t\t\t\t\t' "participants: added with his transponder"
session_text | grep -q $'^ANNA\t' && fail "participants: ANNA was not removed"

write_session 1
run_dialog participants "session-dialog-participants-recorded-$edition" keep
expect_report "4205=-> [disabled]" "participants: a run is recorded"

# ---- Race parameters dialog.
write_session 0
before=$(md5sum <"$dir/Private/Session.trng")
run_dialog parameters "session-dialog-parameters-$edition" keep
expect_report "4405=1" "parameters: default minutes"
expect_report "4407=5" "parameters: default countdown"
[ "$(md5sum <"$dir/Private/Session.trng")" = "$before" ] || fail "parameters: closing wrote the file"
grep -q '^4401=.*\[checked\]' "$report" || fail "parameters: laps+time is checked"
grep -q '^4403=.*\[checked\]' "$report" || fail "parameters: time is checked"
grep -q '^4406=.*\[hidden\]' "$report" || fail "parameters: the lap target is hidden"
grep -q '^4410=.*\[disabled\]' "$report" || fail "parameters: the laps end rule is disabled"

run_dialog parameters "session-dialog-parameters-laps-$edition" \
  "click:4402" "click:4404" "set:4406:0" "set:4407:5000" "set:4405:900" keep
expect_report "4407=3600" "parameters: countdown held to 3600"
expect_report "4406=0" "parameters: 0 laps stays in the box"
grep -q '^4405=.*\[hidden\]' "$report" || fail "parameters: the minutes are hidden in a lap run"

run_dialog parameters - "click:4402" "click:4404" "set:4406:0" "set:4407:5000" confirm
expect_report "result=1" "parameters confirmed"
expect_session $'CLASSEMENTMeilleurTour\tDUREESERIETours\t1\t1\t3600\tDEPARTDecale\tFINTEMPSFinirTour\tFINTOURFaireTousLesTours\t' "parameters"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "session dialogs of the $edition edition passed"
