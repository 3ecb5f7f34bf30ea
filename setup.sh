#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the program needs.
# Safe to run again: only missing packages are installed. Needs root (or sudo).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-translations-l10n qt6-l10n-tools
  libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev liblzma-dev libmpg123-dev
  fonts-dejavu-core
  desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
