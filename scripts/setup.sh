#!/usr/bin/env bash
# Installs what Vetrinova needs on Debian 12 and builds it; quick when everything is there
# (installs only missing packages, builds incrementally).
#   scripts/setup.sh run   what building and running need; builds the program and the demo
#   scripts/setup.sh test  that, and everything the tests, benchmark and hardening need;
#                          builds everything
# VETRINOVA_PACKAGES_ONLY=1 installs without building (the hardening scripts build elsewhere).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_BUILD:-$here/build}"
mode="${1:-test}"

run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libexiv2-dev zlib1g-dev libjpeg62-turbo-dev libpng-dev
  qt6-image-formats-plugins qt6-translations-l10n
  # SVG's image plugin; HEIF and AVIF (Debian 12's libheif1 has its decoders and encoders,
  # libde265, dav1d, x265 and aom, linked in: there are no plugin packages to add)
  libqt6svg6 libheif-dev
  fonts-liberation
)
test_packages=(
  xvfb xauth xdotool x11-apps x11-utils x11-xserver-utils openbox imagemagick
  libjpeg-turbo-progs feh
  desktop-file-utils shared-mime-info
  clang-14 libclang-rt-14-dev llvm-14 clang-format
)
case "$mode" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq \
    "${missing[@]}" >/dev/null
fi
[ "${VETRINOVA_PACKAGES_ONLY:-0}" = 1 ] && exit 0

# Configured every time (it is quick): tools the test mode has just installed get found.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${VETRINOVA_CMAKE_ARGS:-} \
  >/dev/null
if [ "$mode" = run ]; then
  cmake --build "$build" -j2 --target vetrinova vetrinova_demo
else
  cmake --build "$build" -j2
fi
