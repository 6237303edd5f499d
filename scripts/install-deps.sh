#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only the missing ones.
# Usage: scripts/install-deps.sh [extra-package ...]
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libdeflate-dev libsqlite3-dev libxml2-dev
  libhunspell-dev hunspell-en-us
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
  xvfb xauth openbox xdotool x11-utils
  clang libclang-rt-14-dev        # libFuzzer and its runtime (make fuzz)
  clang-format                 # make format-check
  librsvg2-bin                 # rsvg-convert draws the PNG icons from the SVG
  desktop-file-utils appstream # validators of the menu entries and the metadata (tests)
  dpkg-dev                     # dpkg-shlibdeps: the package's dependencies (`make deb`)
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
