#!/usr/bin/env bash
# Installs, on Debian 12 as root, everything the build and the tests need; quick when all is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev     # native build, libFuzzer
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools         # the Windows editions
  wine wine64 xvfb imagemagick fonts-liberation fonts-wine socat   # end-to-end tests
  nsis                                               # the Windows installers
  pandoc weasyprint poppler-utils                    # the user guides (PDF) and their test
  espeak-ng sox                                      # spoken sound files
  python3
  strace                                             # the file-replacement test watches fsync
  cups printer-driver-cups-pdf                       # printing to a PDF queue under Wine
  nlohmann-json3-dev                                 # tests read the live results' JSON
  chromium chromium-driver python3-selenium          # the live results page and the HTML report in a real browser
  zbar-tools                                         # the QR code of the address, decoded
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
