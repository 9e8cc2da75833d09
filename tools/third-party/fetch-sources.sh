#!/usr/bin/env bash
# Takes the third-party sources the program compiles from Debian 12's source packages, pinned by
# version and by the SHA-256 of every file fetched, and compares them with (or, with --update,
# copies them into) third_party/. The copies are committed, so a build never needs the network;
# this script shows where every byte of them comes from. Run as root (it adds a deb-src entry).
#   tools/third-party/fetch-sources.sh            check third_party/ against the packages
#   tools/third-party/fetch-sources.sh --update   write the packages' files into third_party/
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
mode=${1:---check}

# bookworm's source index, in a sources file of its own so the machine's lists stay as they are.
src_list=/etc/apt/sources.list.d/zarvo-bookworm-src.sources
if [ ! -f "$src_list" ]; then
  cat >"$src_list" <<'LIST'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
LIST
fi
apt-get update -qq -o Dir::Etc::sourcelist="$src_list" -o Dir::Etc::sourceparts=- \
  -o APT::Get::List-Cleanup=0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# fetch <package>=<version> <file> <sha256> ...: downloads the named files of the source package
# (apt checks them against the signed index) and checks each against the pinned checksum.
fetch() {
  local package=$1
  shift
  # apt-get source downloads every file of the package or stops at the first one it cannot get;
  # only the files named here are needed, so a missing packaging tarball is not fatal.
  apt-get source --download-only "$package" >/dev/null 2>&1 || true
  while [ $# -gt 0 ]; do
    local file=$1 sum=$2
    shift 2
    [ -f "$file" ] || { echo "could not download $file ($package)" >&2; exit 1; }
    echo "$sum  $file" | sha256sum --check --quiet
  done
}

# cpp-httplib: the single header as Debian ships it, with Debian's security patch applied.
fetch cpp-httplib=0.11.4+ds-1+deb12u1 \
  cpp-httplib_0.11.4+ds-1+deb12u1.dsc a4dde747bbde7cc9fa62cdf50d61140a0eaefb7f1383497ef2d48daf3bf5f9ec \
  cpp-httplib_0.11.4+ds.orig.tar.xz 8b1a5df569003b6a4f24c68489bbda5c64aec94697bdc9ebba5d79408b2ae7eb \
  cpp-httplib_0.11.4+ds-1+deb12u1.debian.tar.xz a0adf8a38610806f6d94ba69839438635e5e6580775e28ff31d6a081e34f1484
dpkg-source --no-check -x cpp-httplib_0.11.4+ds-1+deb12u1.dsc httplib >/dev/null

# qrcodegen: the C++ library of the upstream tarball of Debian's source package. Debian's own
# patches (in its packaging tarball) only add a compatibility interface to its shared library.
fetch qr-code-generator=1.8.0-1.1 \
  qr-code-generator_1.8.0-1.1.dsc c883593073ea024fa3d58384c90962e2a7a13b821c398394387162a196e1bb26 \
  qr-code-generator_1.8.0.orig.tar.gz 2ec0a4d33d6f521c942eeaf473d42d5fe139abcfa57d2beffe10c5cf7d34ae60
mkdir qrcodegen
tar -xzf qr-code-generator_1.8.0.orig.tar.gz -C qrcodegen --strip-components=1

# <source in the work folder> <destination under third_party/>
files=(
  httplib/httplib.h cpp-httplib/httplib.h
  httplib/LICENSE cpp-httplib/LICENSE
  qrcodegen/cpp/qrcodegen.hpp qrcodegen/qrcodegen.hpp
  qrcodegen/cpp/qrcodegen.cpp qrcodegen/qrcodegen.cpp
  qrcodegen/Readme.markdown qrcodegen/Readme.markdown
)
status=0
for ((i = 0; i < ${#files[@]}; i += 2)); do
  from=${files[i]} to=$root/third_party/${files[i + 1]}
  if [ "$mode" = --update ]; then
    mkdir -p "$(dirname "$to")"
    cp "$from" "$to"
  elif ! cmp -s "$from" "$to"; then
    echo "third_party/${files[i + 1]} differs from the package's $from" >&2
    status=1
  fi
done
[ "$status" = 0 ] && echo "third_party/ matches the Debian source packages"
exit $status
