#!/usr/bin/env bash
# The Windows installer of one edition under Wine, in a fresh prefix: access rights that cannot
# be set stop the installation; a silent install puts the program and its uninstaller (with its
# Apps-list entry) in a programs folder of their own that only administrators may change, every
# data file in the data folder that users may change, and the Start-menu entry; the shortcut
# starts the installed program, which finds its data, writes its working copy and opens its help
# document through the shell. Installing again replaces what was shipped and keeps the user's
# data, as does the other edition installed into the same folder; the silent uninstalls remove
# each program, and the last one what was shipped, keeping the user's data; an installation
# through its pages ends without starting the program; the uninstaller's question removes the
# data when the user says so. Screenshots: <artifacts>/installer-<edition>-*.png.
# Wine's icacls sets and shows no rights, its netsh keeps no firewall rule: stand-ins record what
# the installer asks of them (the live results' firewall rule added and removed; a refusal of
# netsh does not stop the installation).
#   installer_test.sh <en|fr>     (ZARVO_INSTALLERS: folder of the setup programs, default the
#                                  Windows build folder)
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8
# Shortcuts made in the prefix must not become menu entries of this machine's desktop.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES,winemenubuilder.exe=d"
# The installer's icacls is the stand-in put into the prefix's system folder.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;icacls.exe=n;netsh.exe=n"

other=$([ "$edition" = en ] && echo fr || echo en)
installers=${ZARVO_INSTALLERS:-$ZARVO_WINDOWS_BUILD_DIR}
setup="$installers/zarvo-training-$edition-setup.exe"
other_setup="$installers/zarvo-training-$other-setup.exe"
[ -f "$setup" ] && [ -f "$other_setup" ] || fail "no installers in $installers"
edition_name() { [ "$1" = en ] && echo "Zarvo Training (English)" || echo "Zarvo Training (Français)"; }
help_pdf() { [ "$1" = en ] && echo HelpTrainingGB.pdf || echo HelpTrainingFR.pdf; }
uninstall_key() { echo "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ZarvoTraining-$1"; }
# reg prints in the console (OEM) code page.
reg_value() { wine reg query "$(uninstall_key "$1")" /v "$2" 2>/dev/null | iconv -f CP850 -t UTF-8 | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }
# A silent uninstall that ends when it is done: "_?=" (the folder, unquoted, last) keeps the
# uninstaller from running a copy of itself in the background; cmd reads the line from a file
# because Wine would quote the argument.
uninstall_silently() {
  printf '"C:\\Program Files\\Zarvo Training\\Programmes\\uninstall-%s.exe" /S _?=C:\\Program Files\\Zarvo Training\\Programmes\r\n' "$1" \
    >"$WINEPREFIX/drive_c/robot/uninstall.bat"
  wine cmd /c 'C:\robot\uninstall.bat' >/dev/null || fail "the silent uninstall of $1 failed"
}
step=0
shot() {
  step=$((step + 1))
  sleep 0.3
  e2e_screenshot "$(printf 'installer-%s-%02d-%s' "$edition" "$step" "$1")"
}

# ---- A fresh prefix without the program; the robot where the shell can start it.
e2e_start_display
e2e_make_template
E2E_WORK=$(mktemp -d /tmp/zarvo-e2e.XXXXXX)
cp -a "$ZARVO_WINE_TEMPLATE" "$E2E_WORK/prefix"
export WINEPREFIX="$E2E_WORK/prefix"
E2E_PROGRAM_DIR="$WINEPREFIX/drive_c/Program Files/Zarvo Training"
dir="$E2E_PROGRAM_DIR"
e2e_start_wineserver
[ ! -e "$dir" ] || fail "the fresh prefix already holds the program folder"
record_pdf_opening
cp "$ZARVO_WINDOWS_BUILD_DIR/tests/e2e/zarvo-fake-icacls.exe" "$WINEPREFIX/drive_c/windows/system32/icacls.exe"
icacls_log="$WINEPREFIX/drive_c/robot/icacls.log"
icacls_fail="$WINEPREFIX/drive_c/robot/icacls-fail.txt"
cp "$ZARVO_WINDOWS_BUILD_DIR/tests/e2e/zarvo-fake-netsh.exe" "$WINEPREFIX/drive_c/windows/system32/netsh.exe"
netsh_log="$WINEPREFIX/drive_c/robot/netsh.log"
netsh_fail="$WINEPREFIX/drive_c/robot/netsh-fail.txt"
# The firewall rule of an edition's program, as netsh is asked to remove and to add it.
firewall_rule() {
  printf '"C:\\windows\\system32\\netsh.exe" advfirewall firewall %s rule name="%s" program="C:\\Program Files\\Zarvo Training\\Programmes\\zarvo-training-%s.exe"' \
    "$1" "$(edition_name "$2")" "$2"
}
firewall_add() {
  printf '"C:\\windows\\system32\\netsh.exe" advfirewall firewall add rule name="%s" dir=in action=allow program="C:\\Program Files\\Zarvo Training\\Programmes\\zarvo-training-%s.exe" profile=private enable=yes' \
    "$(edition_name "$1")" "$1"
}
netsh_calls() { tr -d '\r' <"$netsh_log" 2>/dev/null || true; }
programs="$dir/Programmes"
uninstall_key_exists() { wine reg query "$(uninstall_key "$1")" >/dev/null 2>&1; }

# ---- Rights that cannot be set (the users' modify right on the data folder) stop the install.
printf '(OI)(CI)M' >"$icacls_fail"
status=0
wine "$setup" /S || status=$?
[ "$status" -ne 0 ] || fail "the installation reported success without its access rights"
[ ! -e "$programs/zarvo-training-$edition.exe" ] && [ ! -e "$dir/zarvo-training-$edition.exe" ] ||
  fail "the program was installed without its access rights"
[ ! -e "$dir/BaseDonnéesPilotes.bd" ] || fail "the data was installed without its access rights"
! uninstall_key_exists "$edition" || fail "an installation without its access rights is in the Apps list"
[ -z "$(netsh_calls)" ] || fail "an installation without its access rights asked the firewall: $(netsh_calls)"
rm -f "$icacls_fail" "$icacls_log"

# ---- Silent install.
begin=$(date +%s)
wine "$setup" /S
echo "figures ($edition): silent install in $(($(date +%s) - begin)) s"
stage=$(mktemp -d "$E2E_WORK/stage.XXXX")
cmake --install "$ZARVO_WINDOWS_BUILD_DIR" --prefix "$stage" >/dev/null
shipped_stage=$(mktemp -d "$E2E_WORK/shipped.XXXX")
cmake --install "$ZARVO_WINDOWS_BUILD_DIR" --prefix "$shipped_stage" --component shipped >/dev/null
shipped_files=$(cd "$shipped_stage" && find . -type f | sort)
[ -f "$programs/zarvo-training-$edition.exe" ] || fail "the program was not installed"
[ ! -e "$programs/zarvo-training-$other.exe" ] || fail "the other edition was installed too"
cmp -s "$stage/zarvo-training-$edition.exe" "$programs/zarvo-training-$edition.exe" || fail "the installed program is not the built one"
[ -z "$(cd "$dir" && find . -maxdepth 1 -type f -iname '*.exe')" ] || fail "a program among the data: $(ls "$dir")"
expect_equal "the programs folder" "uninstall-$edition.exe zarvo-training-$edition.exe" "$(ls "$programs" | tr '\n' ' ' | sed 's/ $//')"
# What the installer asked of icacls, in order: the programs folder given to the administrators
# (owner, older rights reset, no rights from the data folder: the system and administrators full
# control, users read and execute), then the users' modify right on the data folder and what is
# made in it, all by well-known SIDs and by the system folder's icacls.
icacls_calls=$(tr -d '\r' <"$icacls_log")
echo "$icacls_calls"
prog='"C:\Program Files\Zarvo Training\Programmes"'
expect_equal "icacls calls" "$(printf '%s\n' \
  "\"C:\\windows\\system32\\icacls.exe\" $prog /setowner *S-1-5-32-544 /T /C /Q" \
  "\"C:\\windows\\system32\\icacls.exe\" $prog /reset /T /C /Q" \
  "\"C:\\windows\\system32\\icacls.exe\" $prog /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /C /Q" \
  "\"C:\\windows\\system32\\icacls.exe\" \"C:\\Program Files\\Zarvo Training\" /grant *S-1-5-32-545:(OI)(CI)M /C /Q")" \
  "$icacls_calls"
# The live results' firewall rule: any older one removed, then the program allowed in on
# private networks.
expect_equal "netsh calls" "$(firewall_rule delete "$edition")
$(firewall_add "$edition")" "$(netsh_calls)"
rm -f "$netsh_log"
data_files=$(cd "$stage" && find . -type f ! -name '*.exe' | sort)
[ "$(echo "$data_files" | wc -l)" -gt 80 ] || fail "too few data files staged"
while IFS= read -r file; do
  cmp -s "$stage/$file" "$dir/$file" || fail "data file not installed as built: $file"
done <<<"$data_files"
[ -d "$dir/Base données runs" ] || fail "no runs archive folder"
[ -f "$dir/Guides/$(help_pdf "$edition")" ] || fail "no help document"
[ -f "$programs/uninstall-$edition.exe" ] || fail "no uninstaller"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zarvo Training"
shortcut="$menu/$(edition_name "$edition").lnk"
[ -f "$shortcut" ] || fail "no Start-menu entry: $(ls "$menu" 2>&1)"
expect_equal "Apps list name" "$(edition_name "$edition")" "$(reg_value "$edition" DisplayName)"
expect_equal "Apps list publisher" "Zarvo" "$(reg_value "$edition" Publisher)"
version=$(sed -n 's/^project(ZarvoTraining VERSION \([0-9.]*\).*/\1/p' "$ZARVO_SOURCE_DIR/CMakeLists.txt")
expect_equal "Apps list version" "$version" "$(reg_value "$edition" DisplayVersion)"
expect_equal "uninstall command" "\"C:\\Program Files\\Zarvo Training\\Programmes\\uninstall-$edition.exe\"" "$(reg_value "$edition" UninstallString)"

# ---- The Start-menu entry starts the installed program, which finds its data (no error box)
# and writes its working copy; Help asks the shell to open the edition's guide.
[ ! -e "$dir/Private/Session.trng" ] || fail "a working copy was installed"
wine start /unix "$shortcut"
e2e_robot wait-window classeF 30000 || fail "the shortcut started no program"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
e2e_robot no-box "$(text error)" 500 || fail "the installed program misses a data file"
[ -f "$dir/Private/Session.trng" ] || fail "no working copy written"
shot started-from-menu
e2e_robot command 1016
expect_equal "document the shell was asked to open" \
  "C:\\Program Files\\Zarvo Training\\Guides\\$(help_pdf "$edition")" "$(pdf_opened)"
e2e_robot no-box "$(text error)" 300 || fail "Help reported an error"
# Started by the shell, the program is no child of ours: its window is watched instead.
e2e_robot close classeF
expect_equal "save question" "$(text quit-question)" "$(robot_line answer "$(text question)" no 10000)"
e2e_robot wait-gone classeF 10000 || fail "the program did not end"
# Its COM1 is the prefix's default device, which answers nothing: closing the port must not hold
# the program's end.
timeout 20 wineserver -w || fail "the program's process stayed after its window closed"

# ---- The user's data: databases, a runs archive, a saved session, settings.
helene=$(printf 'H\xc3\xa9l\xc3\xa8ne')
printf 'ANNA\t\t\t\t\t\t\t\t\t\t001001\t\t\t\r\n' >"$dir/BaseDonnéesPilotes.bd"
printf 'Piste des Ours\t120\t18.250\t18250\tMARC\t3\tGrenoble\t\t\r\n' >"$dir/BaseDonnéesCircuits.bd"
printf '1\t0\t\r\n' >"$dir/Base données runs/$helene.bdr"
printf 'SEANCE\tclub\t\r\n' >"$dir/club.trng"
printf 'COM3\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"
printf 'x' >>"$dir/RéglagesSons.rg"
printf 'x' >>"$dir/$DISPLAY_FILE_NAME"
user_files=("BaseDonnéesPilotes.bd" "BaseDonnéesCircuits.bd" "Base données runs/$helene.bdr" "club.trng"
  "$INTERFACE_FILE_NAME" "RéglagesSons.rg" "$DISPLAY_FILE_NAME" "Private/Session.trng")
printf 'BM' >"$dir/images/ma-piste.bmp"  # a picture of the user's among the shipped ones
user_files+=("images/ma-piste.bmp")
snapshot() { (cd "$dir" && md5sum "${user_files[@]}"); }
user_data=$(snapshot)
# What was shipped and is changed or gone on the disk (as an older version would have it).
printf 'older' >>"$dir/sons/10secondes.wav"
printf 'older' >>"$dir/images/logo.bmp"
printf 'older' >>"$dir/Guides/$(help_pdf "$edition")"
printf 'older' >>"$dir/BaseDonnéesPays.bd"
rm "$dir/sons/FinCourseVoiture1.wav"
# A library put beside the programs (by a standard user, before the folder was the
# administrators'), which the program would load.
printf 'MZ' >"$programs/version.dll"
shipped_as_built() {
  while IFS= read -r file; do
    cmp -s "$shipped_stage/$file" "$dir/$file" || fail "$1: shipped file not as built: $file"
  done <<<"$shipped_files"
}

# ---- Installing again (an upgrade) replaces what was shipped and keeps the user's data; so does
# the other edition installed into the same folder.
# netsh refusing the rule this time: the installation goes on all the same.
printf 'add rule' >"$netsh_fail"
wine "$setup" /S || fail "installing again failed with $? (netsh refusing the firewall rule)"
rm -f "$netsh_fail"
expect_equal "netsh calls of the upgrade" "$(firewall_rule delete "$edition")
$(firewall_add "$edition")" "$(netsh_calls)"
rm -f "$netsh_log"
shipped_as_built "after installing again"
[ ! -e "$programs/version.dll" ] || fail "a foreign file stays beside the programs"
expect_equal "user data after installing again" "$user_data" "$(snapshot)"
printf 'older' >>"$dir/sons/10secondes.wav"
wine "$other_setup" /S || fail "installing the other edition failed with $?"
shipped_as_built "after installing the other edition"
expect_equal "user data after installing both editions" "$user_data" "$(snapshot)"
[ -f "$programs/zarvo-training-$edition.exe" ] && [ -f "$programs/zarvo-training-$other.exe" ] || fail "both editions are not installed"
[ -f "$menu/$(edition_name "$other").lnk" ] || fail "no Start-menu entry for the other edition"
expect_equal "Apps list name of the other edition" "$(edition_name "$other")" "$(reg_value "$other" DisplayName)"

# ---- Silent uninstalls: the other edition first (this one keeps working), then this one.
uninstall_silently "$other"
rm -f "$programs/uninstall-$other.exe"  # (run with "_?=" from its folder, it cannot delete itself)
[ ! -e "$programs/zarvo-training-$other.exe" ] || fail "the other edition was not uninstalled"
[ -f "$programs/zarvo-training-$edition.exe" ] || fail "uninstalling the other edition removed this one"
shipped_as_built "after uninstalling the other edition"
[ -z "$(reg_value "$other" DisplayName)" ] || fail "the other edition stays in the Apps list"
uninstall_silently "$edition"
rm -f "$programs/uninstall-$edition.exe"
rmdir "$programs" 2>/dev/null || true
[ ! -e "$programs" ] || fail "the programs folder stays: $(ls "$programs")"
[ ! -e "$shortcut" ] && [ ! -e "$menu" ] || fail "the Start-menu entry stays"
[ -z "$(reg_value "$edition" DisplayName)" ] || fail "the program stays in the Apps list"
# Each edition's install added its rule, each uninstall removed it.
expect_equal "netsh calls of the other install and both uninstalls" "$(firewall_rule delete "$other")
$(firewall_add "$other")
$(firewall_rule delete "$other")
$(firewall_rule delete "$edition")" "$(netsh_calls)"
# The user's data stays, and only it: nothing that was shipped, no shipped folder left empty.
expect_equal "user data after the silent uninstalls" "$user_data" "$(snapshot)"
left=$(cd "$dir" && find . -mindepth 1 | sort | tr '\n' ' ')
while IFS= read -r file; do
  [ ! -e "$dir/$file" ] || fail "shipped file kept by the uninstall: $file"
done <<<"$shipped_files"
[ ! -e "$dir/sons" ] && [ ! -e "$dir/Guides" ] || fail "a shipped folder stays: $left"
echo "left after the silent uninstalls: $left"

# ---- Reinstalled over the kept data through the installer's pages: its last page ends it
# without starting the program (it would run as the administrator who installs).
wine "$setup" &
installer=$!
setup_title="$(edition_name "$edition") $version "
e2e_robot box "$setup_title" 30000 >/dev/null || fail "no installer window: $(robot_line windows)"
finish=$([ "$edition" = en ] && echo '&Finish' || echo '&Fermer')
for _ in $(seq 100); do [ "$(robot_line in "$setup_title" text 1)" = "$finish" ] && break; sleep 0.3; done
expect_equal "the installer's last page" "$finish" "$(robot_line in "$setup_title" text 1)"
shot finish-page
e2e_robot in "$setup_title" click 1
wait "$installer" || fail "the installation through its pages failed"
! e2e_robot wait-window classeF 4000 2>/dev/null || fail "the installer's last page started the program"
expect_equal "user data after reinstalling" "$user_data" "$(snapshot)"
shipped_as_built "after reinstalling"

# ---- Uninstalled with the user's "Yes" to removing the data.
wine "$programs/uninstall-$edition.exe" &
uninstaller=$!
# The uninstaller's window title ends with a blank, its message box's does not.
box_title="$(edition_name "$edition")$([ "$edition" = en ] && echo ': uninstall' || echo ' : désinstallation')"
title="$box_title "
e2e_robot box "$title" 30000 >/dev/null || fail "no uninstaller window: $(robot_line windows)"
e2e_robot in "$title" wait-state 1 enabled 10000 || fail "the uninstaller offers no Uninstall button"
shot uninstaller
e2e_robot in "$title" click 1
question=$(robot_line box "$box_title" 20000) || fail "no question about the data"
case "$question" in *"$([ "$edition" = en ] && echo 'remove your data' || echo 'supprimer vos données')"*) ;; *) fail "question: $question" ;; esac
shot remove-data-question
robot_line answer "$box_title" yes 5000 >/dev/null
e2e_robot in "$title" wait-state 1 enabled 20000 || fail "the uninstaller did not finish"
e2e_robot in "$title" click 1
wait "$uninstaller" || true
for _ in $(seq 50); do [ ! -e "$dir" ] && break; sleep 0.2; done
[ ! -e "$dir" ] || fail "the data was kept after Yes: $(ls "$dir")"
echo "installer ($edition) passed"
