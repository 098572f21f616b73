#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing.
set -euo pipefail
# The DejaVu faces, italic and oblique ones included, are what the program and its render tests draw with.
# Office files are read and written through libzip, libxlsxwriter, freexl, SQLite and mdbtools.
# xmllint, Python with openpyxl, smilint (smitools) and pdfinfo/pdftotext (poppler-utils) are the
# independent readers the tests check generated files with.
# Xvfb, xdotool, xclip and ImageMagick drive the program under a private X server in the check scripts.
packages=(qt6-base-dev libpugixml-dev libjpeg-dev ninja-build cmake g++ libgtest-dev libbenchmark-dev
          fontconfig fonts-dejavu-core fonts-dejavu-extra
          libzip-dev libxlsxwriter-dev libfreexl-dev libsqlite3-dev mdbtools-dev
          libxml2-utils python3 python3-openpyxl smitools poppler-utils
          xvfb xdotool xclip imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
