#!/usr/bin/env bash
# Refreshes the pictures of the user guides (docs/guide/images/<edition>/) from the screenshots of
# the end-to-end tests (1600x900), then tools/make-guides.sh makes the PDFs from them. Run first:
#   ctest --preset native -R 'e2e\.(en|fr)\.(journey|startup-orix|installer)$'
#   ctest --preset native -R 'e2e\.(en|fr)\.(database_editors|settings_dialogs|decoder_dialogs|smartphone_import|lap_graphs)$'
#   ctest --preset native -R 'e2e\.(en|fr)\.(runs_database|run_synthesis)$'
#   tools/guide-screenshots.sh [<artifacts folder, default build/windows/e2e-artifacts>]
# Dialogs are cut out at their place on the 1600x900 screen (the session dialogs at fixed places,
# the others found by their active title bar); a message box is found as what differs from the
# screenshot taken after it was answered.
set -euo pipefail
cd "$(dirname "$0")/.."
shots=${1:-build/windows/e2e-artifacts}

# The rectangle (WxH+X+Y) where two screenshots differ, right of the session tree.
changed_area() {
  local box
  box=$(convert "$1" "$2" -crop 1390x760+210+45 +repage -compose difference -composite \
    -threshold 1% -format "%@" info:)
  local w h x y
  IFS='x+' read -r w h x y <<<"$box"
  echo "${w}x${h}+$((x + 210))+$((y + 45))"
}
# The rectangle (WxH+X+Y) of the dialog whose title bar is active, its template being <height> dialog
# units high: Arial 10 gives 1.875 pixels a unit vertically, plus the title bar and the frames.
dialog_box() {
  window_box "$1" $(($2 * 15 / 8 + 25))
}
# The rectangle (WxH+X+Y) of the window whose title bar is active, <height> pixels high in all.
window_box() {
  local box w h x y
  box=$(convert "$1" -fill black +opaque 'srgb(50,150,250)' -fill white -opaque 'srgb(50,150,250)' \
    -format "%@" info:)
  IFS='x+' read -r w h x y <<<"$box"
  [ "$w" -gt 100 ] && [ "$w" -lt 1600 ] || { echo "no dialog title bar in $1" >&2; exit 1; }
  echo "$((w + 6))x$2+$((x - 3))+$((y - 3))"
}
# save <source> <edition> <name> [convert options...]: a small 8-bit PNG.
save() {
  local source=$1 edition=$2 name=$3
  shift 3
  [ -f "$source" ] || { echo "missing screenshot $source" >&2; exit 1; }
  convert "$source" "$@" +repage -strip -colors 256 "PNG8:docs/guide/images/$edition/$name.png"
}

for edition in en fr; do
  j="$shots/journey-$edition"
  mkdir -p "docs/guide/images/$edition"
  save "$shots/startup-$edition-orix-report.png" $edition decoder-report \
    -crop "$(changed_area "$shots/startup-$edition-orix-report.png" "$shots/startup-$edition-orix.png")"
  save "$j-06-run-ready.png" $edition main-window -resize 1100x
  save "$j-01-new-session.png" $edition new-session -crop 205x175+0+0
  save "$j-03-track-dialog.png" $edition track-dialog -crop 606x426+497+237
  save "$j-04-participants-dialog.png" $edition participants-dialog -crop 646x516+477+192
  save "$j-05-parameters-dialog.png" $edition parameters-dialog -crop 606x588+497+156
  save "$j-08-running.png" $edition running -resize 1100x
  save "$j-09-run-ended.png" $edition results-table -crop 1360x275+205+45 -resize 1100x
  save "$shots/installer-$edition-03-remove-data-question.png" $edition uninstall-question \
    -crop "$(changed_area "$shots/installer-$edition-03-remove-data-question.png" "$shots/installer-$edition-02-uninstaller.png")"
  # The database editors, the settings, the interface and driver details, the smartphone import.
  e="$shots/editors-$edition"
  save "$e-01-circuits-damaged-picture.png" $edition circuits-editor -crop "$(dialog_box "$e-01-circuits-damaged-picture.png" 222)"
  save "$e-04-drivers.png" $edition drivers-editor -crop "$(dialog_box "$e-04-drivers.png" 272)"
  save "$e-06-cars.png" $edition cars-editor -crop "$(dialog_box "$e-06-cars.png" 330)" -resize 1100x
  save "$e-03-frequencies.png" $edition frequencies-editor -crop "$(dialog_box "$e-03-frequencies.png" 222)"
  s="$shots/settings-$edition"
  save "$s-sound-dialog.png" $edition sound-dialog -crop "$(dialog_box "$s-sound-dialog.png" 232)"
  save "$s-display-dialog.png" $edition display-dialog -crop "$(dialog_box "$s-display-dialog.png" 349)"
  d="$shots/decoder-dialogs-$edition"
  save "$d-interface-wired.png" $edition interface-dialog -crop "$(dialog_box "$d-interface-wired.png" 236)"
  save "$d-details-scanning.png" $edition details-dialog -crop "$(dialog_box "$d-details-scanning.png" 204)"
  p="$shots/smartphone-$edition-02-import-dialog.png"
  save "$p" $edition import-dialog -crop "$(dialog_box "$p" 276)"
  # The runs archive, the run synthesis window (grown to its 980 x 650 client) and its page.
  r="$shots/runs-$edition-dialog.png"
  save "$r" $edition runs-dialog -crop "$(dialog_box "$r" 165)"
  r="$shots/synthesis-$edition-02-car-chosen-and-edited.png"
  save "$r" $edition synthesis-window -crop "$(window_box "$r" 726)" -resize 1100x
  save "$shots/synthesis-$edition-page-1.png" $edition printed-page
  # The three views of a run, as the lap-time views' viewer paints them.
  for view in data histo curve-hover; do
    save "$shots/graphs-$edition-$view.png" $edition "analysis-${view%-hover}" -crop 628x438+349+46
  done
done
du -sh docs/guide/images
