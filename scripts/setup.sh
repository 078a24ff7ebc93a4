#!/usr/bin/env bash
# Installs what building and testing Vetrinova needs (Debian 12) and builds it.
# Quick when everything is already there: installs only missing packages, builds incrementally.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_BUILD:-$here/build}"

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  fonts-liberation
  xvfb xauth xdotool x11-apps imagemagick
  libjpeg-turbo-progs feh
  desktop-file-utils shared-mime-info
  clang-14 libclang-rt-14-dev llvm-14 clang-format
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# The hardening scripts build elsewhere and need only the packages.
[ "${VETRINOVA_PACKAGES_ONLY:-0}" = 1 ] && exit 0

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${VETRINOVA_CMAKE_ARGS:-}
fi
cmake --build "$build" -j2
