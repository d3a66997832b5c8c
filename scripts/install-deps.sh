#!/usr/bin/env bash
# Installs the Debian packages the game, its tools, its tests, its lint and its Debian package
# need.
# Does nothing when everything is already present.
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libfreetype-dev libfontconfig-dev fontconfig
  libopenmpt-dev libpng-dev zlib1g-dev libcurl4-openssl-dev libcairo2-dev
  libgtest-dev libbenchmark-dev
  libcpp-httplib-dev libsqlite3-dev libboost-dev libssl-dev libpq-dev postgresql nginx-light
  wrk chromium
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation2 fonts-freefont-ttf
  fonts-league-spartan fonts-noto-mono fonts-roboto-unhinted fonts-comfortaa fonts-yanone-kaffeesatz
  python3 xvfb xauth
  dpkg-dev appstream desktop-file-utils groff-base
  clang libclang-rt-14-dev libfuzzer-14-dev
  clang-tidy clang-format clang-tools
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
