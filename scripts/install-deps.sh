#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only the missing ones.
# Usage: scripts/install-deps.sh [--all-languages] [extra-package ...]
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  zlib1g-dev libdeflate-dev libsqlite3-dev libxml2-dev
  libhunspell-dev libicu-dev
  wordnet-base                 # WordNet's irregular forms ("went" -> "go"), read at run time
  hunspell-en-us hunspell-fr hunspell-de-de  # base forms of English, French and German
  liblzo2-dev                  # LZO blocks of MDict dictionaries
  libzip-dev                   # the media archives of DSL dictionaries
  libespeak-ng-dev             # a voice for every word (lexora-cli say, the speaker link)
  qt6-multimedia-dev           # playing recordings and the voice in the window
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
  xvfb xauth openbox xdotool x11-utils
  clang libclang-rt-14-dev        # libFuzzer and its runtime (make fuzz)
  clang-format                 # make format-check
  clang-tidy                   # make lint
  librsvg2-bin                 # rsvg-convert draws the PNG icons from the SVG
  desktop-file-utils appstream # validators of the menu entries and the metadata (tests)
  dpkg-dev                     # dpkg-shlibdeps: the package's dependencies (`make deb`)
  "$@"
)

# The Hunspell dictionaries of the other languages that Lexora guesses from a dictionary's
# title: `scripts/install-deps.sh --all-languages` installs them too.
all_languages=(
  hunspell-es hunspell-it hunspell-pt-pt hunspell-nl hunspell-ru hunspell-vi hunspell-pl
  hunspell-sv hunspell-da hunspell-no hunspell-cs hunspell-hu hunspell-uk hunspell-tr
  hunspell-el hunspell-ro
)
for i in "${!packages[@]}"; do
  if [ "${packages[$i]}" = "--all-languages" ]; then
    unset 'packages[i]'
    packages+=("${all_languages[@]}")
  fi
done

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
