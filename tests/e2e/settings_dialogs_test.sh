#!/usr/bin/env bash
# The sound and display options of one edition through the real main window under Wine:
# - "Sound": the language and switches changed, "Ok", the file checked byte for byte; "Cancel"
#   writes nothing;
# - "Display": a colour picked in the colour chooser, a font in the font chooser, a column width
#   set to 0, "Ok": the file holds them and the table is redrawn with the colour and without the
#   column (checked by pixels); then "Save" of a display file (".scrn" appended, the overwrite
#   question), a change, "Load" of it, "Cancel": the settings file is left as it was.
# Screenshots: <artifacts>/settings-<edition>-*.png.
#   settings_dialogs_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8

case "$edition" in
  en) sound_title="Sound options"; display_title="Display options"; filter="Display file (.scrn)"
      lane="Lane"; transponder="Transp." ;;
  fr) sound_title="Options du son"; display_title="Options d'affichage"
      filter="Fichier affichage (.scrn)"; lane="Ligne"; transponder="Transp." ;;
  *) echo "unknown edition"; exit 2 ;;
esac

program_test_begin settings
sound_file="$dir/$(printf 'R\xc3\xa9glagesSons.rg')"
display_file="$dir/$DISPLAY_FILE_NAME"
shot() { sleep 0.4; e2e_screenshot "settings-$edition-$1"; }
# Waits until no dialog or box with that title is shown.
wait_closed() {
  local _
  for _ in $(seq 50); do e2e_robot no-box "$1" 100 >/dev/null 2>&1 && return 0; done
  fail "$1 stayed open"
}
in_dialog() { local title=$1; shift; robot_line in "$title" "$@"; }
# Field <n> (1-based, tab-separated) of line <line> of the display settings file.
display_field() { sed -n "$1p" "$display_file" | cut -f"$2"; }
# The colour of a pixel of a screenshot, as "r g b".
pixel() {
  convert "$ZARVO_E2E_ARTIFACTS/settings-$edition-$1.png" -depth 8 -format "%[pixel:p{$2,$3}]" info: |
    tr -c '0-9,' ' ' | tr ',' ' ' | xargs
}
# near <"r g b" expected> <"r g b" got>: the X server may round a channel by one or two.
near() {
  local a b i
  read -ra a <<<"$1"
  read -ra b <<<"$2"
  [ "${#b[@]}" -eq 3 ] || return 1
  for i in 0 1 2; do
    [ $((a[i] - b[i])) -le 2 ] && [ $((b[i] - a[i])) -le 2 ] || return 1
  done
}
expect_pixel() { near "$2" "$3" || fail "$1: expected $2, got $3"; }

# No decoder: the port is missing, which the program reports before its warning.
printf 'COM9\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

# ---- Sound options: the shipped file has every sound on, in English.
e2e_robot command 1012
expect_equal "English shown" "enabled=1 visible=1 checked=1" "$(in_dialog "$sound_title" state 3601)"
expect_equal "lap signal shown" "enabled=1 visible=1 checked=1" "$(in_dialog "$sound_title" state 3605)"
shot sound-dialog
for id in 3602 3605 3609 3604 3604; do in_dialog "$sound_title" click "$id"; done
expect_equal "start signal checked again" "enabled=1 visible=1 checked=1" \
  "$(in_dialog "$sound_title" state 3604)"
in_dialog "$sound_title" click 1
wait_closed "$sound_title"
printf 'SONLANGUEFrancais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\nSONPASSAGEnon\r\nSONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREnon\r\n' \
  >"$E2E_WORK/sound-expected"
cmp "$E2E_WORK/sound-expected" "$sound_file" || fail "sound settings file: $(od -c "$sound_file" | head)"
e2e_robot no-box "$(text error)" 300 || fail "a message after the sound options"

e2e_robot command 1012
expect_equal "French shown" "enabled=1 visible=1 checked=1" "$(in_dialog "$sound_title" state 3602)"
expect_equal "lap signal off" "enabled=1 visible=1 checked=0" "$(in_dialog "$sound_title" state 3605)"
in_dialog "$sound_title" click 3601
in_dialog "$sound_title" click 3606
in_dialog "$sound_title" click 2
wait_closed "$sound_title"
cmp -s "$E2E_WORK/sound-expected" "$sound_file" || fail "Cancel changed the sound settings file"

# ---- Display options: the table as the shipped settings draw it.
read -r ox oy <<<"$(robot_line origin)"
bg_x=$((ox + 230)) bg_y=$((oy + 600))     # the empty part of the table
edge_x=$((ox + 1480)) edge_y=$((oy + 134)) # the heading band's right end, under Transp.
shot table-before
expect_pixel "table background before" "236 241 246" "$(pixel table-before $bg_x $bg_y)"
near "214 220 230" "$(pixel table-before $edge_x $edge_y)" && fail "no heading band under Transp."

e2e_robot command 1013
expect_equal "column shown" "$lane" "$(in_dialog "$display_title" text 3703)"
expect_equal "its width" "70" "$(in_dialog "$display_title" text 3704)"
shot display-dialog
read -r dx dy <<<"$(in_dialog "$display_title" origin)"

# A click inside the table background's swatch opens the colour chooser on its colour.
in_dialog "$display_title" lclick 220 155
expect_equal "chooser starts on the swatch's red" "236" "$(in_dialog Color text 706)"
for field in "706 10" "707 20" "708 30"; do in_dialog Color set $field; done
in_dialog Color click 1
wait_closed Color
# A click inside the headings sample opens the font chooser (sizes 8 to 16).
in_dialog "$display_title" lclick 345 415
in_dialog Font choose-text 1136 "Liberation Serif"
in_dialog Font choose-text 1137 "Bold"
in_dialog Font choose-text 1138 "14"
in_dialog Font click 1
wait_closed Font
# Transp. set to 0; "-" at 0 changes nothing.
in_dialog "$display_title" select 3703 8
expect_equal "Transp. width" "110" "$(in_dialog "$display_title" text 3704)"
in_dialog "$display_title" click 3705
expect_equal "plus one" "111" "$(in_dialog "$display_title" text 3704)"
in_dialog "$display_title" set 3704 0
in_dialog "$display_title" click 3706
expect_equal "minus at 0" "0" "$(in_dialog "$display_title" text 3704)"
shot display-dialog-changed
expect_pixel "swatch repainted" "10 20 30" "$(pixel display-dialog-changed $((dx + 220)) $((dy + 155)))"
in_dialog "$display_title" click 1
wait_closed "$display_title"
e2e_robot no-box "$(text error)" 300 || fail "a message after the display options"

expect_equal "table colour in the file" "1971210" "$(display_field 9 3)"
expect_equal "Transp. width in the file" "0" "$(display_field 10 9)"
expect_equal "headings face" "Liberation Serif" "$(display_field 2 3)"
expect_equal "headings weight" "700" "$(display_field 4 3)"
expect_equal "headings size (14 points)" "-19" "$(display_field 3 3)"
shot table-after
expect_pixel "table background after" "10 20 30" "$(pixel table-after $bg_x $bg_y)"
expect_pixel "no Transp. column: the window shows there" "214 220 230" \
  "$(pixel table-after $edge_x $edge_y)"

# ---- Save, change, Load, Cancel.
cp "$display_file" "$E2E_WORK/settings-after-ok"
e2e_robot command 1013
expect_equal "the column chosen last" "$transponder" "$(in_dialog "$display_title" text 3703)"
in_dialog "$display_title" click 3708
saved=$(robot_line file mine 10000) || fail "no save dialog"
grep -qxF "filter=$filter" <<<"$saved" || fail "save dialog: $saved"
grep -qF 'name=' <<<"$saved" && grep -qF '*.scrn' <<<"$saved" || fail "proposed name: $saved"
[ -f "$dir/mine.scrn" ] || fail "no mine.scrn: $(ls "$dir")"
cmp -s "$dir/mine.scrn" "$display_file" || fail "mine.scrn is not the dialog's copy"
# Saving again under the same name asks before replacing it.
in_dialog "$display_title" click 3708
e2e_robot file mine 10000 >"$E2E_WORK/second-save" &
file_pid=$!
question=$(robot_line answer Error yes 8000) || fail "no overwrite question"
wait "$file_pid" || fail "second save: $(cat "$E2E_WORK/second-save")"
case "$question" in "File already exists."*) ;; *) fail "overwrite question: $question" ;; esac

in_dialog "$display_title" select 3703 0
in_dialog "$display_title" set 3704 5
in_dialog "$display_title" lclick 220 95
for field in "706 255" "707 0" "708 0"; do in_dialog Color set $field; done
in_dialog Color click 1
wait_closed Color
in_dialog "$display_title" select 3703 4
in_dialog "$display_title" click 3707
robot_line file mine.scrn 10000 >/dev/null || fail "no open dialog"
expect_equal "Load chooses Lane" "$lane" "$(in_dialog "$display_title" text 3703)"
expect_equal "Lane's width from the file" "70" "$(in_dialog "$display_title" text 3704)"
shot display-dialog-loaded
expect_pixel "window swatch from the file" "214 220 230" \
  "$(pixel display-dialog-loaded $((dx + 220)) $((dy + 95)))"
in_dialog "$display_title" click 2
wait_closed "$display_title"
cmp -s "$E2E_WORK/settings-after-ok" "$display_file" || fail "Cancel after Load changed the settings file"

close_program
echo "settings dialogs of the $edition edition passed in $(($(date +%s) - begin)) s"
