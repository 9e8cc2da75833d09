#!/usr/bin/env bash
# Makes the Windows installers zarvo-training-en-setup.exe and zarvo-training-fr-setup.exe from a
# built Windows tree: the programs and the data files are staged with "cmake --install", then
# makensis packs each edition with zarvo-training.nsi.
#   tools/installer/make-installers.sh <windows build folder> <output folder> <version>
set -euo pipefail
build=$(cd "${1:?windows build folder}" && pwd)
out=${2:?output folder}
version=${3:?version (major.minor)}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
mkdir -p "$out"
out=$(cd "$out" && pwd)

stage="$build/installer-stage"
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
for edition in en fr; do
  [ -f "$stage/zarvo-training-$edition.exe" ] || { echo "not built: zarvo-training-$edition.exe" >&2; exit 1; }
done
# The installed size of one edition (its program and every data file), for the Apps list.
size_kb=$(du -sk --exclude='zarvo-training-*.exe' "$stage" | cut -f1)
size_kb=$((size_kb + $(du -sk "$stage/zarvo-training-en.exe" | cut -f1)))

for edition in en fr; do
  makensis -V2 -NOCD -INPUTCHARSET UTF8 \
    "-DEDITION=$edition" "-DVERSION=$version" "-DSTAGE=$stage" "-DSOURCE=$source_dir" \
    "-DSIZE_KB=$size_kb" "-DOUTFILE=$out/zarvo-training-$edition-setup.exe" \
    "$here/zarvo-training.nsi"
  echo "made $out/zarvo-training-$edition-setup.exe ($(du -k "$out/zarvo-training-$edition-setup.exe" | cut -f1) KB)"
done
