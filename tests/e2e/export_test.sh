#!/usr/bin/env bash
# The results export under Wine, from the run window and from the command line.
# English edition: a driver's run of his runs database (the one the export sample program stores)
# is opened in the run detail window, "Export run…" pressed and the save dialog given a report
# name in "C:\Zawody Łódź"; the three files are read back and compared with the run's data (the
# sample's expected.json, by the readers of export.*.read_back). The same name again: one question
# lists the three files, "No" keeps them. Then, the English program still running, the French
# edition's command line `/export "club day.trng" "C:\Site Łódź"` writes the three files of the
# sample's session (compared the same way) with exit code 0 and nothing on the error output; a
# session file that cannot be read, a folder that cannot be written and a missing argument each
# give their message on the error output and a non-zero exit code. The running program's working
# copy is not touched. Screenshots: <artifacts>/export-en-*.png.
#   export_test.sh
set -Eeuo pipefail
edition=en
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8
: "${ZARVO_EXPORT_SAMPLE_EN:?the native export sample of the English edition}"
: "${ZARVO_EXPORT_SAMPLE_FR:?the native export sample of the French edition}"

program_test_begin export
in_dialog() { local title=$1; shift; robot_line in "$title" "$@"; }
lodz=$(printf '\xc5\x81\xc3\xb3d\xc5\xba')  # Łódź
lea=$(printf 'L\xc3\xa9a Dubois')
samples="$E2E_WORK/samples"
mkdir -p "$samples"
"$ZARVO_EXPORT_SAMPLE_EN" "$samples/en" >/dev/null
"$ZARVO_EXPORT_SAMPLE_FR" "$samples/fr" >/dev/null

# ---- The driver and the run of his runs database; no decoder.
printf 'L\xe9a Dubois\t\r\n' >"$dir/$(printf 'BaseDonn\xc3\xa9esPilotes.bd')"
cp "$samples/en/$(printf 'Base donn\xc3\xa9es runs')/$lea.bdr" "$dir/$(printf 'Base donn\xc3\xa9es runs')/"
printf 'COM9\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
site="$WINEPREFIX/drive_c/Zawody $lodz"
mkdir -p "$site"

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
working_copy=$(md5sum <"$dir/Private/Session.trng")

e2e_robot command 1011
runs=$(in_dialog "Runs Database" list 3507)
title=${runs#*|}
[ -n "$title" ] && [ "$title" != "$runs" ] || fail "runs of the database: $runs"
in_dialog "Runs Database" choose-text 3507 "$title"
window="Driver's run synthesis"
expect_equal "export button" "enabled=1 visible=1 checked=0" "$(in_dialog "$window" state 6200)"
expect_equal "export button text" "Export run…" "$(in_dialog "$window" text 6200)"
shot run-window

# ---- Export run…: the report's name in a folder with letters outside Windows-1252.
in_dialog "$window" click 6200
e2e_robot wait-window '#32770' 10000 >/dev/null
sleep 1
shot save-dialog
dialog=$(robot_line file-u 'C:\Zawody \u0141\u00f3d\u017a\Lea run' 10000) || fail "no save dialog"
case "$dialog" in *"filter=HTML page (.html)"*) ;; *) fail "save dialog: $dialog" ;; esac
for _ in $(seq 50); do [ -f "$site/Lea run.html" ] && break; sleep 0.1; done
sleep 0.5
expect_equal "files of the folder" "Lea run - classification.csv|Lea run - laps.csv|Lea run.html|" \
  "$(cd "$site" && ls | sort | tr '\n' '|')"
python3 "$here/check_export_files.py" "$samples/en/expected.json" archived \
  "$site/Lea run - classification.csv" "$site/Lea run - laps.csv" "$site/Lea run.html" ||
  fail "the run window's export does not read back as the run"
before=$(cat "$site"/* | md5sum)

# The same name again: one question lists the three files; No keeps them.
in_dialog "$window" click 6200
robot_line file-u 'C:\Zawody \u0141\u00f3d\u017a\Lea run.html' 10000 >/dev/null || fail "no second save dialog"
question=$(robot_line box "Be careful" 10000) || fail "no overwrite question"
shot overwrite-question
e2e_robot answer "Be careful" no 5000 >/dev/null
expect_equal "question" 'These files exist already:\r\nLea run - classification.csv\r\nLea run - laps.csv\r\nLea run.html\r\nReplace them?' "$question"
expect_equal "files kept" "$before" "$(cat "$site"/* | md5sum)"
in_dialog "$window" click 2
sleep 0.5

# ---- The French command line while the English program runs.
cli_folder="$WINEPREFIX/drive_c/Site $lodz"
cp "$samples/fr/club day.trng" "$WINEPREFIX/drive_c/club day.trng"
cli() {  # cli <out> <err> <arguments...>: the exit code of the French edition's command line
  local out=$1 err=$2 status=0
  shift 2
  (cd "$WINEPREFIX/drive_c" && wine "$dir/zarvo-training-fr.exe" "$@") >"$out" 2>"$err" || status=$?
  echo "$status"
}
cli_started=$(date +%s.%N)
status=$(cli "$E2E_WORK/cli.out" "$E2E_WORK/cli.err" /export "club day.trng" "C:\\Site $lodz")
cli_seconds=$(echo "$(date +%s.%N) - $cli_started" | bc)
expect_equal "exit code" 0 "$status"
expect_equal "error output" "" "$(grep -v '^[0-9a-f]*:\(fixme\|err\|warn\):' "$E2E_WORK/cli.err" || true)"
expect_equal "files written" "club day - classement.csv|club day - tours.csv|club day.html|" \
  "$(cd "$cli_folder" && ls | sort | tr '\n' '|')"
python3 "$here/check_export_files.py" "$samples/fr/expected.json" "club day" \
  "$cli_folder/club day - classement.csv" "$cli_folder/club day - tours.csv" "$cli_folder/club day.html" ||
  fail "the command line's export does not read back as the session"
e2e_log "command line export: ${cli_seconds} s"

# Its error output without Wine's own lines, line ends dropped.
message() { grep -av '^[0-9a-f]*:\(fixme\|err\|warn\|trace\):' "$1" | tr -d '\r'; }
status=$(cli "$E2E_WORK/absent.out" "$E2E_WORK/absent.err" /export absent.trng out)
expect_equal "absent session: exit code" 1 "$status"
expect_equal "absent session: message" "Erreur: impossible d'ouvrir le fichier de séance absent.trng" \
  "$(message "$E2E_WORK/absent.err")"
printf 'not a folder' >"$WINEPREFIX/drive_c/blocked"
status=$(cli "$E2E_WORK/blocked.out" "$E2E_WORK/blocked.err" /export "club day.trng" 'C:\blocked')
expect_equal "folder not written: exit code" 1 "$status"
expect_equal "folder not written: message" \
  "Erreur: impossible d'écrire le fichier C:\\blocked\\club day - classement.csv" \
  "$(message "$E2E_WORK/blocked.err")"
status=$(cli "$E2E_WORK/usage.out" "$E2E_WORK/usage.err" /export "club day.trng")
expect_equal "missing argument: exit code" 2 "$status"
case "$(message "$E2E_WORK/usage.err")" in
  "Utilisation : zarvo-training-fr.exe /export <fichier de séance> <dossier>"*) ;;
  *) fail "usage text: $(message "$E2E_WORK/usage.err")" ;;
esac

# The running program goes on, its working copy untouched.
e2e_robot wait-window classeF 1000 || fail "the program ended"
expect_equal "working copy" "$working_copy" "$(md5sum <"$dir/Private/Session.trng")"
shot after-command-line
in_dialog "Runs Database" click 1 >/dev/null 2>&1 || true
sleep 0.5
close_program
echo "export test passed in $(($(date +%s) - begin)) s (command line export ${cli_seconds} s)"
