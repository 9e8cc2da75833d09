#!/usr/bin/env bash
# Save as... and Load session in a folder whose name has letters outside Windows-1252
# ("C:\Zawody Łódź"): the session file is written there and loaded back.
#   unicode_folder_test.sh <en|fr>
set -euo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT

e2e_start_display
e2e_new_prefix
exe="zarvo-training-$edition.exe"
printf 'COM9\t1\tZarvoOrix\r\n' >"$E2E_PROGRAM_DIR/$INTERFACE_FILE_NAME"  # no port: no decoder
folder="$WINEPREFIX/drive_c/Zawody $(printf '\xc5\x81\xc3\xb3d\xc5\xba')"
mkdir -p "$folder"
windows_name='C:\Zawody \u0141\u00f3d\u017a\club'

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
e2e_robot answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

e2e_robot command 1004
robot_line file-u "$windows_name" 10000 >/dev/null || fail "no save dialog"
sleep 0.5
[ -f "$folder/club.trng" ] || { ls -la "$folder" >&2; fail "no club.trng in the folder"; }
cmp -s "$folder/club.trng" "$E2E_PROGRAM_DIR/Private/Session.trng" || fail "the saved file is not the working copy"
e2e_robot no-box "$(text error)" 300 || fail "saving was reported as failed"
title=$(robot_line title classeF)
case "$title" in 'Zarvo:   C:\'*'\club.trng') ;; *) fail "title after Save as: $title" ;; esac
echo "title after Save as: $title"

# Another session in the file, loaded from there.
sed -i 's/SEANCE TRAINING/POLISH CLUB/' "$folder/club.trng"
e2e_robot command 1002
robot_line file-u "$windows_name.trng" 10000 >/dev/null || fail "no open dialog"
e2e_robot answer "$(text question)" no 5000 >/dev/null || fail "no save question"
sleep 0.5
e2e_robot no-box "$(text error)" 300 || fail "loading was reported as failed"
case "$(robot_line tree | head -1)" in
  "POLISH CLUB"*) ;;
  *) fail "the loaded session is not the one of the folder: $(robot_line tree | head -1)" ;;
esac
e2e_screenshot "unicode-folder-$edition"
close_program
echo "unicode folder test ($edition) passed"
