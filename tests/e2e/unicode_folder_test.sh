#!/usr/bin/env bash
# Files named with letters outside Windows-1252, in a folder "C:\Zawody Łódź": Save as...
# "Łódź Ωμέγα" typed without ".trng" (the file written is the one named, checked from Linux; the
# same name again brings the dialog's overwrite question), Load session of it, Save and Load of a
# display file "Ωμέγα.scrn", and a driver's photo "Łódź Ωμέγα.bmp" chosen with the picture
# chooser (the drivers file holds a Windows-1252 path that opens that very picture, and the editor
# draws it). Screenshots: <artifacts>/unicode-folder-<edition>-*.png.
#   unicode_folder_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8

program_test_begin unicode-folder
case "$edition" in
  en) display_title="Display options"; drivers_title="Drivers Database" ;;
  fr) display_title="Options d'affichage"; drivers_title="Base de données Pilotes" ;;
esac
lodz=$(printf '\xc5\x81\xc3\xb3d\xc5\xba')          # Łódź
omega=$(printf '\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1')  # Ωμέγα
folder="$WINEPREFIX/drive_c/Zawody $lodz"
session_file="$folder/$lodz $omega.trng"
windows_folder='C:\Zawody \u0141\u00f3d\u017a'
windows_omega='\u03a9\u03bc\u03ad\u03b3\u03b1'
mkdir -p "$folder"
# A 120 x 80 picture of one colour, red.
python3 - "$folder/$lodz $omega.bmp" <<'EOF'
import struct, sys
w, h = 120, 80
pixels = bytes((0, 0, 255)) * w * h
header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
open(sys.argv[1], "wb").write(header + info + pixels)
EOF
printf 'ANNA\t\t\t\t\t\t\t\t\t\t000001\t\t\t\r\n' >"$dir/BaseDonnéesPilotes.bd"
printf '0\t0\t\r\n' >"$dir/Base données runs/ANNA.bdr"
printf 'COM9\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"  # no port: no decoder
in_dialog() { local title=$1; shift; robot_line in "$title" "$@"; }
wait_closed() {
  local _
  for _ in $(seq 50); do e2e_robot no-box "$1" 100 >/dev/null 2>&1 && return 0; done
  fail "$1 stayed open"
}
# Nothing but the files this test makes in the folder: no short-named or half-named twin.
expect_folder() {
  expect_equal "files of the folder" "$1" "$(cd "$folder" && ls | sort | tr '\n' '|')"
}

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
e2e_robot answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

# ---- Save as..., the name typed without its extension.
e2e_robot command 1004
robot_line file-u "$windows_folder\\\u0141\u00f3d\u017a $windows_omega" 10000 >/dev/null ||
  fail "no save dialog"
sleep 0.5
[ -f "$session_file" ] || { ls -la "$folder" >&2; fail "no '$lodz $omega.trng' in the folder"; }
cmp -s "$session_file" "$dir/Private/Session.trng" || fail "the saved file is not the working copy"
expect_folder "$lodz $omega.bmp|$lodz $omega.trng|"
e2e_robot no-box "$(text error)" 300 || fail "saving was reported as failed"
title=$(robot_line title classeF)
expect_equal "title after Save as" "Zarvo:   C:\\Zawody $lodz\\$lodz $omega.trng" "$title"
shot saved-as

# The same name again, still without its extension: the dialog asks before replacing the file.
printf 'older\r\n' >"$session_file"
e2e_robot command 1004
e2e_robot file-u "$windows_folder\\\u0141\u00f3d\u017a $windows_omega" 10000 >"$E2E_WORK/again" &
file_pid=$!
question=$(robot_line answer Error yes 8000) || fail "no overwrite question for '$lodz $omega'"
wait "$file_pid" || fail "second Save as: $(cat "$E2E_WORK/again")"
case "$question" in "File already exists."*) ;; *) fail "overwrite question: $question" ;; esac
sleep 0.5
cmp -s "$session_file" "$dir/Private/Session.trng" || fail "the file was not replaced"
expect_folder "$lodz $omega.bmp|$lodz $omega.trng|"

# ---- Load session: another session in that file, loaded from there.
sed -i 's/SEANCE TRAINING/POLISH CLUB/' "$session_file"
e2e_robot command 1002
robot_line file-u "$windows_folder\\\u0141\u00f3d\u017a $windows_omega.trng" 10000 >/dev/null ||
  fail "no open dialog"
e2e_robot answer "$(text question)" no 5000 >/dev/null || fail "no save question"
sleep 0.5
e2e_robot no-box "$(text error)" 300 || fail "loading was reported as failed"
case "$(robot_line tree | head -1)" in
  "POLISH CLUB"*) ;;
  *) fail "the loaded session is not the one of the folder: $(robot_line tree | head -1)" ;;
esac
cmp -s "$session_file" "$dir/Private/Session.trng" || fail "the working copy is not the loaded file"
shot loaded

# ---- Display options: Save "Ωμέγα" (".scrn" added), then Load it back with another width.
e2e_robot command 1013
in_dialog "$display_title" text 3704 >/dev/null || fail "no display options"
in_dialog "$display_title" click 3708
robot_line file-u "$windows_folder\\$windows_omega" 10000 >/dev/null || fail "no display save dialog"
sleep 0.5
scrn="$folder/$omega.scrn"
[ -f "$scrn" ] || { ls -la "$folder" >&2; fail "no '$omega.scrn' in the folder"; }
cmp -s "$scrn" "$dir/$DISPLAY_FILE_NAME" || fail "'$omega.scrn' is not the dialog's copy"
expect_folder "$lodz $omega.bmp|$lodz $omega.trng|$omega.scrn|"
sed -i '10s/^[0-9]*\t/77\t/' "$scrn"
in_dialog "$display_title" click 3707
robot_line file-u "$windows_folder\\$windows_omega.scrn" 10000 >/dev/null || fail "no display open dialog"
sleep 0.3
e2e_robot no-box "$(text error)" 300 || fail "loading '$omega.scrn' was reported as failed"
expect_equal "Lane's width from '$omega.scrn'" "77" "$(in_dialog "$display_title" text 3704)"
shot display-loaded
in_dialog "$display_title" click 2
wait_closed "$display_title"

# ---- The drivers editor: ANNA's photo chosen in the folder.
e2e_robot command 1008
in_dialog "$drivers_title" text 1 >/dev/null || fail "no drivers editor"
e2e_robot in "$drivers_title" dblclick left 600 100
robot_line file-u "$windows_folder\\\u0141\u00f3d\u017a $windows_omega.bmp" 10000 >/dev/null ||
  fail "no file dialog for the photo"
sleep 0.5
e2e_robot no-box "$(text error)" 300 || fail "choosing the photo was reported as failed"
shot photo
read -r ox oy <<<"$(robot_line in "$drivers_title" origin)"
colour=$(convert "$ZARVO_E2E_ARTIFACTS/unicode-folder-$edition-$(printf %02d "$step")-photo.png" \
  -depth 8 -format "%[pixel:p{$((ox + 600)),$((oy + 100))}]" info:)
case "$colour" in "srgb(255,0,0)" | "rgb(255,0,0)") ;; *) fail "the photo is not drawn: $colour" ;; esac
e2e_robot in "$drivers_title" click 1
wait_closed "$drivers_title"
photo=$(tr -d '\r' <"$dir/BaseDonnéesPilotes.bd" | cut -f13)
echo "photo path stored ($edition): $photo"
# Plain Windows-1252 (every byte of it ASCII here), and it names the chosen picture.
LC_ALL=C grep -q '^[ -~]*$' <<<"$photo" || fail "the stored photo path is not plain: $photo"
case "$photo" in *'?'*) fail "the stored photo path lost letters: $photo" ;; esac
unix=$(winepath -u "$photo" 2>/dev/null) || fail "the stored photo path does not open: $photo"
cmp -s "$unix" "$folder/$lodz $omega.bmp" || fail "'$photo' is not the chosen picture"

close_program
echo "figures ($edition): the scenario took $(($(date +%s) - begin)) s"
echo "unicode folder test ($edition) passed"
