#!/usr/bin/env bash
# Makes the user guides data/Guides/HelpTrainingGB.pdf and data/Guides/HelpTrainingFR.pdf from
# docs/guide/en.md and fr.md (pandoc to HTML with a table of contents, weasyprint to PDF), with the
# screenshots of docs/guide/images/ (refreshed from the end-to-end tests by
# tools/guide-screenshots.sh). The PDFs are committed; run this again after changing the guides.
#   tools/make-guides.sh
set -euo pipefail
cd "$(dirname "$0")/.."
guide=docs/guide
out=data/Guides
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_guide() {  # <edition> <pdf name>
  local image
  for image in $(grep -o '](images/[^)]*)' "$guide/$1.md" | sed 's/^](//; s/)$//'); do
    [ -f "$guide/$image" ] || { echo "missing picture $guide/$image (tools/guide-screenshots.sh)" >&2; exit 1; }
  done
  # Without "smart" typography: the menu items stay as the program writes them ("Save as...").
  pandoc "$guide/$1.md" --from markdown-smart --standalone --toc --toc-depth=2 --css "$PWD/$guide/guide.css" \
    --resource-path="$guide" --metadata pagetitle="Zarvo Training" -o "$work/$1.html"
  weasyprint --base-url "$PWD/$guide/" "$work/$1.html" "$out/$2" 2> >(grep -v -e '^WARNING: Ignored' >&2 || true)
  echo "made $out/$2: $(pdfinfo "$out/$2" | sed -n 's/^Pages: *//p') pages, $(du -k "$out/$2" | cut -f1) KB"
}
make_guide en HelpTrainingGB.pdf
make_guide fr HelpTrainingFR.pdf
