#!/usr/bin/env bash
# The four database editors of one edition through the real program under Wine, opened from the
# Database menu: circuits (a picture chosen with the file dialog, a damaged one drawing nothing,
# the record cleared, the new circuit offered by the track dialog afterwards), frequencies,
# drivers (a refused name with its message, the transponder, the runs databases created, kept
# after "No" and deleted) and cars (setup fields). Every "Ok" is checked byte for byte from
# outside; "Cancel" after changes leaves every file as it was. Screenshots:
# <artifacts>/editors-<edition>-*.png.
#   database_editors_test.sh <en|fr>
set -Eeuo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT
trap 'trap - ERR; fail "line $LINENO: $BASH_COMMAND"' ERR
export LC_ALL=C.UTF-8

program_test_begin editors

# The editors' captions and the texts this test reads.
etext() {
  case "$edition:$1" in
    en:circuits) echo "Circuits Database" ;;
    fr:circuits) echo "Base de données Circuits" ;;
    en:drivers) echo "Drivers Database" ;;
    fr:drivers) echo "Base de données Pilotes" ;;
    en:cars) echo "Cars Database" ;;
    fr:cars) echo "Base de données Voitures" ;;
    en:frequencies) echo "RadioFrequencies Database" ;;
    fr:frequencies) echo "Base de données Fréquences radio" ;;
    en:session-word) echo "Error: the name entered must not contain the word 'Session'" ;;
    fr:session-word) echo "Erreur: le nom saisi ne doit pas contenir le mot 'Session'" ;;
    en:runs-line) echo "BRUNO: 1 run(s)" ;;
    fr:runs-line) echo "BRUNO : 1 run(s)" ;;
    *) echo "no text $edition:$1" >&2; return 1 ;;
  esac
}

circuits_file="$dir/BaseDonnéesCircuits.bd"
drivers_file="$dir/BaseDonnéesPilotes.bd"
cars_file="$dir/BaseDonnéesVoitures.bd"
frequencies_file="$dir/BaseDonnéesFréquences.bd"
runs="$dir/Base données runs"
# Every database and runs database, to tell that nothing changed.
all_files() { (cd "$dir" && md5sum BaseDonn*.bd "Base données runs"/*); }
# Expects a file to hold exactly the bytes printf makes of the format.
expect_bytes() {  # what file printf-format
  local expected
  expected=$(printf "$3" | od -c)
  [ "$expected" = "$(od -c <"$2")" ] || fail "$1: the file holds $(sed -n l "$2" | head -c 600)"
}

# ---- The program folder: one circuit whose picture is damaged, two drivers (BRUNO's archive
# holds a run), one frequency, no car; a picture to choose; no decoder (COM9 does not open).
mkdir -p "$dir/Photos"
python3 - "$dir/Photos/piste.bmp" <<'EOF'
import struct, sys
# 120 x 80, 24 bits: four vertical bands, red, green, blue, yellow.
w, h = 120, 80
row = b"".join(bytes(((0, 0, 255), (0, 200, 0), (255, 0, 0), (0, 255, 255))[x * 4 // w]) for x in range(w))
pixels = row * h
header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
open(sys.argv[1], "wb").write(header + info + pixels)
EOF
printf 'BM this is not a bitmap' >"$dir/Photos/damaged.bmp"
printf 'Piste des Ours\t120\t18.250\t18250\tMARC\t3\tGrenoble\tPhotos\\damaged.bmp\t\r\n' >"$circuits_file"
printf 'ANNA\t\t\t\t\t\t\t\t\t\t000001\t\t\t\r\nBRUNO\t\t\t\t\t\t\t\t\t\t000002\t\t\t\r\n' >"$drivers_file"
printf '27.145\r\n' >"$frequencies_file"
: >"$cars_file"
printf '0\t0\t\r\n' >"$runs/ANNA.bdr"
python3 - "$runs/BRUNO.bdr" <<'EOF'
import sys
slot = "Start 2026/12/07 10:00:00 - Duration 0:05:00\tBRUNO\t0\t0\t"
slot = (slot + "1\t" * 5105)[:10210]
open(sys.argv[1], "wb").write(b"1\t0\t\r\n" + slot.encode() + b"\r\n")
EOF
bruno_archive=$(md5sum <"$runs/BRUNO.bdr")
printf 'COM9\t1\tZarvoOrix\r\n' >"$dir/$INTERFACE_FILE_NAME"

start_program "$exe"
e2e_robot wait-window classeF 30000 || fail "no main window"
robot_line answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning

# Opens an editor from the menu and waits for it.
open_editor() {  # menu-id caption
  e2e_robot command "$1"
  e2e_robot in "$2" text 1 >/dev/null || fail "no editor titled $2"
}
close_editor() {  # caption button-id
  e2e_robot in "$1" click "$2"
  e2e_robot wait-gone '#32770' 5000 || fail "$1 stayed open"
}

# ---- Circuits: add one with its details and a picture; clear the first one's record; "Ok".
c=$(etext circuits)
open_editor 1007 "$c"
e2e_robot no-box "$(text error)" 500 || fail "the damaged picture was reported"
expect_equal "circuits list" "Piste des Ours" "$(robot_line in "$c" list 3004)"
expect_equal "number" "1" "$(robot_line in "$c" list 3003)"
expect_equal "record" "18.250" "$(robot_line in "$c" text 3009)"
shot circuits-damaged-picture
e2e_robot in "$c" set 3005 "Ring Nord"
e2e_robot in "$c" press 3001
expect_equal "circuits after Add" "Piste des Ours|Ring Nord" "$(robot_line in "$c" list 3004)"
expect_equal "selected circuit" "Ring Nord" "$(robot_line in "$c" text 3006)"
expect_equal "number of the new circuit" "2" "$(robot_line in "$c" list 3003)"
expect_equal "the New box is emptied" "" "$(robot_line in "$c" text 3005)"
e2e_robot in "$c" set 3008 250
e2e_robot in "$c" set 3012 7
e2e_robot in "$c" set 3007 Nantes
e2e_robot in "$c" dblclick left 600 120
got=$(robot_line file 'C:\Program Files\Zarvo Training\Photos\piste.bmp' 10000) || fail "no file dialog"
case "$got" in *"filter=$( [ "$edition" = en ] && echo Image || echo Images ) (.bmp)"*) ;; *) fail "file dialog: $got" ;; esac
shot circuits-picture
e2e_robot in "$c" choose 3004 0
e2e_robot in "$c" press 3011
expect_equal "record cleared" "" "$(robot_line in "$c" text 3009)"
e2e_robot in "$c" dblclick right 600 120  # the damaged picture's path is emptied
close_editor "$c" 1
expect_bytes "circuits file" "$circuits_file" \
  'Piste des Ours\t120\t\t0\t\t3\tGrenoble\t\t\r\nRing Nord\t250\t\t0\t\t7\tNantes\tC:\\Program Files\\Zarvo Training\\Photos\\piste.bmp\t\r\n'
[ ! -e "$dir/Photos/BaseDonnéesCircuits.bd" ] || fail "the circuits file was written where the file dialog went"

# The track dialog offers the new circuit at once.
e2e_robot tree-select 11000
tree_menu 11000 || fail "no menu on the track"
expect_equal "circuits offered" "Piste des Ours|Ring Nord" "$(robot_line in "$(text track-dialog)" list 4102)"
close_editor "$(text track-dialog)" 2

# "Cancel" after changes writes nothing.
before=$(all_files)
open_editor 1007 "$c"
e2e_robot in "$c" choose 3004 0
e2e_robot in "$c" press 3002
e2e_robot in "$c" set 3005 Zeta
e2e_robot in "$c" press 3001
e2e_robot in "$c" set 3007 Lyon
expect_equal "circuits before Cancel" "Ring Nord|Zeta" "$(robot_line in "$c" list 3004)"
close_editor "$c" 2
expect_equal "files after Cancel (circuits)" "$before" "$(all_files)"

# ---- Frequencies: five characters are refused, six added; one removed; "Ok".
f=$(etext frequencies)
open_editor 1010 "$f"
e2e_robot in "$f" set 3405 40.68
e2e_robot in "$f" press 3401
e2e_robot in "$f" set 3405 2.4Ghz
expect_equal "five characters refused" "27.145" "$(robot_line in "$f" list 3404)"
e2e_robot in "$f" press 3401
e2e_robot in "$f" set 3405 40.685
e2e_robot in "$f" press 3401
expect_equal "frequencies" "2.4Ghz|27.145|40.685" "$(robot_line in "$f" list 3404)"
e2e_robot in "$f" choose 3404 1
e2e_robot in "$f" press 3402
expect_equal "frequencies after Remove" "2.4Ghz|40.685" "$(robot_line in "$f" list 3404)"
shot frequencies
close_editor "$f" 1
expect_bytes "frequencies file" "$frequencies_file" '2.4Ghz\r\n40.685\r\n'
before=$(all_files)
open_editor 1010 "$f"
e2e_robot in "$f" set 3405 35.050
e2e_robot in "$f" press 3401
close_editor "$f" 2
expect_equal "files after Cancel (frequencies)" "$before" "$(all_files)"

# ---- Drivers: a name with "Session" is refused with its message; CARLA added with her details;
# ANNA (empty archive) and BRUNO (one run) removed; "No" keeps BRUNO's archive.
d=$(etext drivers)
open_editor 1008 "$d"
expect_equal "drivers" "ANNA|BRUNO" "$(robot_line in "$d" list 3104)"
e2e_robot in "$d" set 3105 "Session 2"
e2e_robot in "$d" click 3101
expect_equal "refused name" "$(etext session-word)" "$(robot_line answer "$(text error)" ok 5000)"
e2e_robot in "$d" set 3105 CARLA
e2e_robot in "$d" press 3101
expect_equal "selected driver" "CARLA" "$(robot_line in "$d" text 3106)"
e2e_robot in "$d" set 3107 "12 rue des Pins"
e2e_robot in "$d" set 3110 Annecy
e2e_robot in "$d" set 3116 12345
e2e_robot in "$d" set 3116 123456
countries=$(robot_line in "$d" list 3111)
index=$(echo "$countries" | tr '|' '\n' | grep -nx France | cut -d: -f1)
[ -n "$index" ] || fail "no France in the country box: $countries"
e2e_robot in "$d" choose 3111 $((index - 1))
e2e_robot in "$d" dblclick left 600 100
robot_line file 'C:\Program Files\Zarvo Training\Photos\piste.bmp' 10000 >/dev/null || fail "no file dialog for the photo"
shot drivers
e2e_robot in "$d" choose 3104 0
e2e_robot in "$d" press 3102
e2e_robot in "$d" choose 3104 0
e2e_robot in "$d" press 3102
expect_equal "drivers after Remove" "CARLA" "$(robot_line in "$d" list 3104)"
expect_equal "transponder kept" "123456" "$(robot_line in "$d" text 3116)"
e2e_robot in "$d" click 1
e2e_robot box "$(text question)" 5000 >/dev/null || fail "no question before deleting BRUNO's runs"
shot drivers-question
got=$(robot_line answer "$(text question)" no 5000) || fail "no question before deleting BRUNO's runs"
case "$got" in *"$(etext runs-line)"*) ;; *) fail "question: $got" ;; esac
case "$got" in *ANNA*) fail "ANNA's empty archive was asked about: $got" ;; esac
e2e_robot wait-gone '#32770' 5000 || fail "the drivers editor stayed open"
expect_bytes "drivers file" "$drivers_file" \
  'CARLA\t12 rue des Pins\t\t\tAnnecy\tFrance\t\t\t\t\t123456\t\tC:\\Program Files\\Zarvo Training\\Photos\\piste.bmp\t\r\n'
[ ! -e "$runs/ANNA.bdr" ] || fail "ANNA's empty archive was kept"
expect_equal "BRUNO's archive after No" "$bruno_archive" "$(md5sum <"$runs/BRUNO.bdr")"
expect_bytes "CARLA's new archive" "$runs/CARLA.bdr" '0\t0\t\r\n'

# "Cancel" after adding and removing: no runs database created or deleted.
before=$(all_files)
open_editor 1008 "$d"
e2e_robot in "$d" set 3105 DORA
e2e_robot in "$d" press 3101
e2e_robot in "$d" choose 3104 0
e2e_robot in "$d" press 3102
close_editor "$d" 2
expect_equal "files after Cancel (drivers)" "$before" "$(all_files)"
[ ! -e "$runs/DORA.bdr" ] || fail "Cancel created DORA's archive"

# ---- Cars: one car with setup fields from the three columns; "Ok".
k=$(etext cars)
open_editor 1009 "$k"
e2e_robot in "$k" set 3205 Buggy
e2e_robot in "$k" press 3201
e2e_robot in "$k" set 3207 "MBX8 Eco"
e2e_robot in "$k" set 3208 "OS 21"
e2e_robot in "$k" set 3213 "Embrayage 3 masses"
e2e_robot in "$k" set 3233 5.5
e2e_robot in "$k" set 3254 Savox
e2e_robot in "$k" dblclick left 500 150
robot_line file 'C:\Program Files\Zarvo Training\Photos\piste.bmp' 10000 >/dev/null || fail "no file dialog for the car"
shot cars
close_editor "$k" 1
setup="MBX8 Eco\\tOS 21\\t\\t\\t\\t\\tEmbrayage 3 masses\\t"
for _ in $(seq 3214 3232); do setup+="\\t"; done
setup+="5.5\\t"
for _ in $(seq 3234 3253); do setup+="\\t"; done
setup+="Savox\\t"
expect_bytes "cars file" "$cars_file" \
  "Buggy\\t${setup}C:\\\\Program Files\\\\Zarvo Training\\\\Photos\\\\piste.bmp\\t\\r\\n"
before=$(all_files)
open_editor 1009 "$k"
e2e_robot in "$k" choose 3204 0
e2e_robot in "$k" press 3202
e2e_robot close '#32770'  # the close box, as "Cancel"
e2e_robot wait-gone '#32770' 5000 || fail "the close box left the cars editor open"
expect_equal "files after the close box (cars)" "$before" "$(all_files)"

close_program
echo "database editors of the $edition edition passed"
