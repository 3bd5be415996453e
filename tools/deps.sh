#!/usr/bin/env bash
# Installs what building and testing Dormix needs, with apt, and only what is
# missing: a machine that already has everything is left untouched.
set -euo pipefail

packages=(
  make cmake g++ googletest python3 librapidcheck-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-i686
  wine wine32:i386 fonts-wine
  xvfb xauth xdotool x11-utils imagemagick
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
  libasound2-plugins:i386
  nsis zip
  wixl msitools python3-yaml python3-jsonschema
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
