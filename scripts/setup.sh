#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing.
set -euo pipefail
# The DejaVu faces, italic and oblique ones included, are what the program and its render tests draw with.
# pdfinfo and pdftotext (poppler-utils) read the printed PDF pages back in the tests.
packages=(qt6-base-dev libpugixml-dev libjpeg-dev ninja-build cmake g++ libgtest-dev libbenchmark-dev
          fontconfig fonts-dejavu-core fonts-dejavu-extra poppler-utils)
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
