#!/usr/bin/env bash
# Refreshes the pictures of the user guides (docs/guide/images/<edition>/) from the screenshots of
# the end-to-end tests (1600x900), then tools/make-guides.sh makes the PDFs from them. Run first:
#   ctest --preset native -R 'e2e\.(en|fr)\.(journey|startup-orix|installer)$'
#   tools/guide-screenshots.sh [<artifacts folder, default build/windows/e2e-artifacts>]
# Dialogs are cut out at their place on the 1600x900 screen; a message box is found as what differs
# from the screenshot taken after it was answered.
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
done
du -sh docs/guide/images
