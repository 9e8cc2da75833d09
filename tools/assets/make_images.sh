#!/usr/bin/env bash
# Makes the pictures of the program with ImageMagick:
#   data/images/   bitmaps read from files at run time (logo, finish flag, lamps, print button)
#   resources/     the icons and bitmaps compiled into the programs (program icon, Start / Stop /
#                  Clear buttons, menu bitmaps, session tree icons)
# Bitmaps are 24-bit BMP (BMP3), which LoadImage reads; icons hold 16, 32 and 48 pixel images.
# Usage: tools/assets/make_images.sh [images folder] [resources folder]
set -euo pipefail
cd "$(dirname "$0")/../.."
images=${1:-data/images}
resources=${2:-resources}
mkdir -p "$images" "$resources"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bold=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
[ -f "$bold" ] || { echo "fonts-liberation is missing ($bold)"; exit 1; }

navy='rgb(24,54,110)'
amber='rgb(255,196,0)'
window='rgb(214,220,230)'  # the main window's background in the shipped display settings
face='rgb(240,240,240)'    # button and dialog face

# bmp <input image> <output.bmp>: flattened, no alpha, 24 bits.
bmp() {
  convert "$1" -background "$face" -alpha remove -alpha off -type TrueColor "BMP3:$2"
}

# A chequered pattern, black and white: checker <width> <height> <square> <output>
checker() {
  convert -size "${1}x${2}" xc: -fx "(floor(i/${3}) + floor(j/${3})) % 2" -type TrueColor "$4"
}

# ----------------------------------------------------------------------------------------------
# data/images
# ----------------------------------------------------------------------------------------------

# Logo, 200 x 50 (the table draws its left 196 columns, the printout all 200): a navy badge with
# a small chequered flag, "Zarvo" in white and "TRAINING" in amber.
checker 18 18 6 "$work/flag18.png"
convert -size 200x50 "xc:$window" \
  -fill "$navy" -draw "roundrectangle 1,1 194,48 9,9" \
  -fill "rgb(60,100,170)" -draw "roundrectangle 4,4 191,14 5,5" \
  -fill "$navy" -draw "rectangle 4,10 191,14" \
  "$work/flag18.png" -geometry +10+16 -composite \
  -fill white -draw "rectangle 8,14 9,44" \
  -font "$bold" -fill white -pointsize 27 -annotate +36+31 "Zarvo" \
  -font "$bold" -fill "$amber" -pointsize 12 -kerning 2 -annotate +38+44 "TRAINING" \
  "$work/logo.png"
bmp "$work/logo.png" "$images/logo.bmp"

# Finish flag, drawn scaled to (screen width / 64) x 16 beside each finished driver: a chequer
# that fills the whole picture, with a dark edge, so it reads at any size.
checker 32 16 4 "$work/finish.png"
convert "$work/finish.png" -fill none -stroke "rgb(40,40,40)" -draw "rectangle 0,0 31,15" \
  "$work/finish-edged.png"
bmp "$work/finish-edged.png" "$images/drapeauArrivee.bmp"

# lamp <colour> <light> <output>: a round lamp, 24 x 24, on the dialog face.
lamp() {
  convert -size 24x24 "xc:$face" \
    -fill "rgb(90,90,90)" -draw "circle 11.5,11.5 11.5,0.5" \
    -fill "$1" -draw "circle 11.5,11.5 11.5,2.5" \
    -fill "$2" -draw "circle 9,8.5 9,5.5" \
    "$work/lamp.png"
  bmp "$work/lamp.png" "$3"
}
lamp "rgb(200,20,20)" "rgb(255,150,150)" "$images/voyantRouge.bmp"
lamp "rgb(20,170,40)" "rgb(160,255,170)" "$images/voyantVert.bmp"

# Scan lamp, four frames shown in turn while a transponder is being read: a transponder chip
# with one to four waves lit.
for frame in 1 2 3 4; do
  args=(-size 40x24 "xc:$face" -fill "rgb(30,30,30)" -draw "roundrectangle 1,7 11,17 2,2"
        -fill "$amber" -draw "rectangle 4,10 8,14")
  for wave in 1 2 3 4; do
    r=$((4 + wave * 6))
    if [ "$wave" -le "$frame" ]; then colour="rgb(0,140,220)"; else colour="rgb(200,205,210)"; fi
    args+=(-fill none -stroke "$colour" -strokewidth 2
           -draw "arc $((6 - r)),$((12 - r)) $((6 + r)),$((12 + r)) -40,40")
  done
  convert "${args[@]}" "$work/scan$frame.png"
  bmp "$work/scan$frame.png" "$images/voyantScanPuce$frame.bmp"
done

# Print button picture, 32 x 32: a printer with a sheet of paper.
convert -size 32x32 "xc:$face" \
  -fill white -stroke "rgb(60,60,60)" -draw "rectangle 9,3 22,13" \
  -stroke none -fill "rgb(120,120,120)" -draw "rectangle 11,6 20,7" -draw "rectangle 11,9 18,10" \
  -fill "rgb(70,80,95)" -stroke "rgb(30,30,30)" -draw "roundrectangle 3,12 28,24 3,3" \
  -fill white -stroke "rgb(60,60,60)" -draw "rectangle 8,20 23,29" \
  -stroke none -fill "rgb(0,200,60)" -draw "rectangle 23,15 25,16" \
  "$work/print.png"
bmp "$work/print.png" "$images/impression.bmp"

# ----------------------------------------------------------------------------------------------
# resources: icons
# ----------------------------------------------------------------------------------------------

# icon <256 x 256 drawing> <output.ico>: 48, 32 and 16 pixel images with transparency.
icon() {
  convert "$1" -background none -define icon:auto-resize=48,32,16 "$2"
}

# Program icon: a stopwatch in front of a chequered flag.
checker 150 110 25 "$work/iconflag.png"
convert -size 256x256 xc:none \
  "$work/iconflag.png" -geometry +92+14 -composite \
  -fill none -stroke "rgb(40,40,40)" -strokewidth 6 -draw "rectangle 92,14 242,124" \
  -fill "$navy" -stroke none -draw "rectangle 112,4 134,30" -draw "rectangle 100,0 146,14" \
  -fill "$navy" -draw "circle 123,150 123,48" \
  -fill white -draw "circle 123,150 123,66" \
  -fill "$navy" -draw "circle 123,150 123,140" \
  -stroke "$navy" -strokewidth 12 -draw "line 123,150 123,84" \
  -stroke "rgb(220,30,30)" -strokewidth 10 -draw "line 123,150 170,118" \
  "$work/program.png"
icon "$work/program.png" "$resources/zarvo.ico"

# Session tree: the track, the drivers, the run parameters, the runs.
convert -size 256x256 xc:none \
  -fill none -stroke "rgb(70,70,70)" -strokewidth 56 -draw "roundrectangle 40,60 216,196 68,68" \
  -stroke white -strokewidth 6 -draw "roundrectangle 40,60 216,196 68,68" \
  -stroke none -fill "rgb(40,160,60)" -draw "roundrectangle 82,102 174,154 26,26" \
  "$work/track.png"
icon "$work/track.png" "$resources/tree_track.ico"

convert -size 256x256 xc:none \
  -fill "rgb(220,40,40)" -draw "circle 128,100 128,16" \
  -fill "$navy" -draw "rectangle 44,96 212,116" \
  -fill "rgb(160,210,255)" -draw "roundrectangle 80,70 196,104 12,12" \
  -fill "$navy" -draw "roundrectangle 48,170 208,252 50,50" \
  -fill white -draw "rectangle 120,176 136,252" \
  "$work/drivers.png"
icon "$work/drivers.png" "$resources/tree_drivers.ico"

convert -size 256x256 xc:none \
  -fill "rgb(90,100,115)" -stroke none \
  -draw "roundrectangle 20,40 236,68 12,12" -draw "roundrectangle 20,114 236,142 12,12" \
  -draw "roundrectangle 20,188 236,216 12,12" \
  -fill "$amber" -stroke "rgb(60,60,60)" -strokewidth 6 \
  -draw "circle 80,54 80,26" -draw "circle 170,128 170,100" -draw "circle 110,202 110,174" \
  "$work/parameters.png"
icon "$work/parameters.png" "$resources/tree_parameters.ico"

checker 180 120 30 "$work/runflag.png"
convert -size 256x256 xc:none \
  -fill "rgb(60,60,60)" -draw "rectangle 28,20 44,250" \
  "$work/runflag.png" -geometry +44+28 -composite \
  -fill none -stroke "rgb(40,40,40)" -strokewidth 6 -draw "rectangle 44,28 224,148" \
  "$work/sessions.png"
icon "$work/sessions.png" "$resources/tree_sessions.ico"

# ----------------------------------------------------------------------------------------------
# resources: bitmaps of the Start, Stop and Clear buttons (36 x 36)
# ----------------------------------------------------------------------------------------------

button() {  # button <colour> <output> <symbol drawing arguments...>
  local colour=$1 out=$2
  shift 2
  convert -size 144x144 "xc:$face" \
    -fill "rgb(60,60,60)" -draw "circle 72,72 72,4" \
    -fill "$colour" -draw "circle 72,72 72,12" \
    -fill white -stroke none "$@" \
    -resize 36x36 "$work/button.png"
  bmp "$work/button.png" "$out"
}
button "rgb(20,160,50)" "$resources/start.bmp" -draw "polygon 54,38 54,106 110,72"
button "rgb(210,30,30)" "$resources/stop.bmp" -draw "rectangle 46,46 98,98"
button "rgb(40,90,170)" "$resources/clear.bmp" \
  -stroke white -strokewidth 14 -draw "line 48,48 96,96" -draw "line 96,48 48,96"

# ----------------------------------------------------------------------------------------------
# resources: menu bitmaps, 13 x 13, drawn at 52 x 52 and reduced
# ----------------------------------------------------------------------------------------------

menu() {  # menu <output> <drawing arguments...>
  local out=$1
  shift
  convert -size 52x52 "xc:$face" "$@" -resize 13x13 "$work/menu.png"
  bmp "$work/menu.png" "$out"
}
dark='rgb(50,50,50)'
# New session: a blank page with a folded corner.
menu "$resources/menu_new.bmp" -fill white -stroke "$dark" -strokewidth 4 \
  -draw "polygon 10,4 32,4 42,14 42,48 10,48" -fill "rgb(200,200,200)" -draw "polygon 32,4 32,14 42,14"
# Save: a floppy disk.
menu "$resources/menu_save.bmp" -fill "$navy" -draw "roundrectangle 4,4 48,48 4,4" \
  -fill white -draw "rectangle 12,6 40,20" -fill "rgb(200,200,200)" -draw "rectangle 12,30 40,48"
# Import smartphone: a phone.
menu "$resources/menu_import.bmp" -fill "$dark" -draw "roundrectangle 12,2 40,50 6,6" \
  -fill "rgb(120,200,255)" -draw "rectangle 16,8 36,40" -fill white -draw "circle 26,45 26,43"
# Quit: a red cross.
menu "$resources/menu_quit.bmp" -stroke "rgb(200,20,20)" -strokewidth 10 \
  -draw "line 10,10 42,42" -draw "line 42,10 10,42"
# Circuits: a track loop.
menu "$resources/menu_circuits.bmp" -fill none -stroke "$dark" -strokewidth 10 \
  -draw "roundrectangle 8,12 44,40 14,14" -stroke "rgb(40,160,60)" -strokewidth 4 \
  -draw "roundrectangle 8,12 44,40 14,14"
# Drivers: a helmet.
menu "$resources/menu_drivers.bmp" -fill "rgb(220,40,40)" -draw "circle 26,26 26,4" \
  -fill "rgb(160,210,255)" -draw "rectangle 14,18 44,30" -fill "$dark" -draw "rectangle 4,40 48,48"
# Cars: a car seen from the side.
menu "$resources/menu_cars.bmp" -fill "rgb(40,90,170)" -draw "roundrectangle 2,20 50,38 6,6" \
  -draw "polygon 14,20 20,8 34,8 42,20" -fill "$dark" -draw "circle 14,40 14,32" \
  -draw "circle 38,40 38,32"
# Frequencies: an antenna and its waves.
menu "$resources/menu_frequencies.bmp" -stroke "$dark" -strokewidth 5 -draw "line 26,20 26,50" \
  -fill none -stroke "rgb(0,140,220)" -draw "arc 14,8 38,32 200,340" -draw "arc 4,0 48,40 205,335"
# Runs synthesis: a bar chart.
menu "$resources/menu_runs.bmp" -fill "rgb(40,90,170)" -draw "rectangle 6,30 16,48" \
  -fill "rgb(40,160,60)" -draw "rectangle 21,14 31,48" -fill "rgb(220,120,0)" \
  -draw "rectangle 36,22 46,48"
# Sound: a loudspeaker.
menu "$resources/menu_sound.bmp" -fill "$dark" -draw "rectangle 4,18 16,34" \
  -draw "polygon 16,18 30,6 30,46 16,34" -fill none -stroke "$dark" -strokewidth 4 \
  -draw "arc 24,12 44,40 -60,60"
# Display: a screen.
menu "$resources/menu_display.bmp" -fill "$dark" -draw "roundrectangle 2,4 50,38 4,4" \
  -fill "rgb(120,200,255)" -draw "rectangle 7,9 45,33" -fill "$dark" \
  -draw "rectangle 22,38 30,44" -draw "rectangle 12,44 40,48"
# Interface: a serial plug.
menu "$resources/menu_interface.bmp" -fill "rgb(90,100,115)" \
  -draw "polygon 4,12 48,12 42,36 10,36" -fill white -draw "circle 14,20 14,17" \
  -draw "circle 26,20 26,17" -draw "circle 38,20 38,17" -draw "circle 20,28 20,25" \
  -draw "circle 32,28 32,25"

echo "pictures written to $images and $resources"
