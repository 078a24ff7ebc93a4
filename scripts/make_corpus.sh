#!/usr/bin/env bash
# Writes a benchmark folder of photo-like pictures, the same files on every run:
#   scripts/make_corpus.sh FOLDER N [--camera | --phone | --phone-bare | --avif] [--size WxH]
#                          [--quality Q] [--jobs J] [--seed S] [--distinct K]
# N JPEG photos (4000x3000 by default, every fifth with EXIF orientation 6), three PNGs and
# three files that are not pictures; with --camera, 80 % of the photos carry camera tags and a
# 160x120 EXIF thumbnail; with --phone they are HEIC grids of 512-pixel tiles with a 320-pixel
# thumbnail as phones write them, with --phone-bare the same without thumbnail. With
# --distinct K only K photos are made and the others are hard links to them (large folders in
# minutes). Builds the generator in build-bench/ when needed.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_BENCH_BUILD:-$here/build-bench}"
if [ $# -lt 2 ]; then
  echo "usage: $0 FOLDER N [--camera | --phone | --phone-bare] [--size WxH] [--quality Q] [--jobs J] [--seed S] [--distinct K]" >&2
  exit 2
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" -j2 --target vetrinova_make_corpus >/dev/null
exec "$build/bench/vetrinova_make_corpus" "$@"
