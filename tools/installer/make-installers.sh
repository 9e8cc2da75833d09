#!/usr/bin/env bash
# Makes the Windows installers zarvo-training-en-setup.exe and zarvo-training-fr-setup.exe from a
# built Windows tree: the three components of "cmake --install" (programs, shipped, user) are
# staged apart, the uninstaller's list of shipped files is written, then makensis packs each
# edition with zarvo-training.nsi.
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
for component in programs shipped user; do
  cmake --install "$build" --prefix "$stage/$component" --component "$component" >/dev/null
done
for edition in en fr; do
  [ -f "$stage/programs/zarvo-training-$edition.exe" ] || { echo "not built: zarvo-training-$edition.exe" >&2; exit 1; }
done
[ -n "$(ls -A "$stage/shipped")" ] || { echo "nothing shipped in $stage/shipped" >&2; exit 1; }
# The uninstaller removes what was shipped by name, then the shipped folders that are left empty
# (deepest first): a picture the user added to a shipped folder stays, with its folder.
{
  (cd "$stage/shipped" && find . -type f | sort) | while IFS= read -r file; do
    printf 'Delete "$INSTDIR\\%s"\n' "${file#./}" | sed 's|/|\\|g'
  done
  (cd "$stage/shipped" && find . -mindepth 1 -type d | sort -r) | while IFS= read -r folder; do
    printf 'RMDir "$INSTDIR\\%s"\n' "${folder#./}" | sed 's|/|\\|g'
  done
} >"$stage/shipped-files.nsh"
# The installed size of one edition (its program and every data file), for the Apps list.
size_kb=$(du -sk "$stage/shipped" "$stage/user" "$stage/programs/zarvo-training-en.exe" | awk '{s += $1} END {print s}')

for edition in en fr; do
  makensis -V2 -NOCD -INPUTCHARSET UTF8 \
    "-DEDITION=$edition" "-DVERSION=$version" "-DSTAGE=$stage" "-DSOURCE=$source_dir" \
    "-DSIZE_KB=$size_kb" "-DOUTFILE=$out/zarvo-training-$edition-setup.exe" \
    "$here/zarvo-training.nsi"
  echo "made $out/zarvo-training-$edition-setup.exe ($(du -k "$out/zarvo-training-$edition-setup.exe" | cut -f1) KB)"
done
