#!/usr/bin/env bash
# Runs, on the same folder(s) and in one run, Vetrinova's benchmark, feh's thumbnail index and
# `djpeg -scale 1/8` over every photo, and prints the ratios against the targets. A folder
# whose photos mostly carry camera thumbnails (scripts/make_corpus.sh --camera) is held to the
# camera-like goals; a folder of HEIC photos (--phone) to the phone goals: picture 1 and the
# strip within 0.3 s per 100 photos plus picture 1's decode (photos without thumbnails: within
# what decoding them costs on every core), a click showing the picture within 0.1 s and sharp
# within 0.6 s. The benchmark uses a thumbnail cache of its own, empty at the
# first start.
#   scripts/compare.sh FOLDER... [-- BENCHMARK OPTIONS]
# e.g. scripts/compare.sh /tmp/c50 /tmp/c200 -- --screen 1920x1080 --edge 0 --percent 10
# With several folders (50, 200, 1000 photos) it also checks that the cost per photo stays
# the same. Needs feh and djpeg (libjpeg-turbo-progs); builds the benchmark in build-bench/.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_BENCH_BUILD:-$here/build-bench}"

folders=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  folders+=("$1")
  shift
done
[ "${1:-}" = "--" ] && shift
bench_options=("$@")
if [ ${#folders[@]} -eq 0 ]; then
  echo "usage: $0 FOLDER... [-- BENCHMARK OPTIONS]" >&2
  exit 2
fi
for tool in feh djpeg; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$build" -j2 --target vetrinova_bench >/dev/null
bench="$build/bench/vetrinova_bench"
cores=$(nproc)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wall, user and system seconds of a command, written to the file $1.
timed() {
  local file=$1
  shift
  local TIMEFORMAT='%R %U %S'
  { time "$@" >/dev/null 2>&1 || echo "$1 failed" >&2; } 2>"$file"
}
djpeg_all() {
  for f in "$@"; do
    djpeg -scale 1/8 -outfile /dev/null "$f" 2>/dev/null || true
  done
}
# Field $2 (1-based: total s, per picture ms, peak MB, CPU s, note) of the table row whose name starts
# with $1.
row() {
  awk -F'|' -v what="$1" -v field="$2" \
    'index($2, " " what) == 1 { gsub(/^ +| +$/, "", $(field + 2)); print $(field + 2); exit }' \
    "$3"
}
calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }
verdict() { awk "BEGIN { exit !($1) }" && echo "met" || echo "NOT MET"; }

summary="$work/summary"
: >"$summary"
for folder in "${folders[@]}"; do
  mapfile -t photos < <(find "$folder" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.jpeg' \) | sort)
  mapfile -t phone < <(find "$folder" -maxdepth 1 -type f \( -iname '*.heic' -o -iname '*.avif' \) | sort)
  # Warm file cache for every contender alike.
  cat "${photos[@]}" "${phone[@]}" >/dev/null

  out="$work/bench.txt"
  echo "== $folder: ${#photos[@]} JPEG and ${#phone[@]} HEIC/AVIF files, $cores cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
  "$bench" "$folder" "${bench_options[@]}" >"$out" 2>"$work/bench.err" || {
    cat "$work/bench.err" >&2
    exit 1
  }
  cat "$out"
  peak=$(awk '/^peak memory/ { for (i = 1; i <= NF; ++i) if ($i == "switches") print $(i + 1) }' "$out")
  budget=$(awk '/^peak memory/ { for (i = 1; i <= NF; ++i) if ($i == "budget") print $(i + 1) }' "$out")
  gap=$(calc "$(row "first start: longest the GUI thread" 1 "$out") * 1000")
  n=$(awk '/ pictures;/ { for (i = 1; i <= NF; ++i) if ($i == "pictures;") print $(i - 1) }' "$out" | head -1)
  shown=$(row "presentation on screen, first start" 1 "$out")
  shown_cpu=$(row "presentation on screen, first start" 4 "$out")
  per=$(row "presentation on screen, first start" 2 "$out")

  if [ ${#phone[@]} -gt ${#photos[@]} ]; then
    # Phone photos: no JPEG decoder's limit to hold them to; picture 1's own decode instead.
    first=$(row "picture 1 composed by mostra_pict" 1 "$out")
    # Photos that carry a thumbnail say so in a reference box of that name.
    with=$({ grep -l thmb "${phone[@]}" || true; } | wc -l)
    if [ "$with" -ge $((${#phone[@]} / 2)) ]; then
      allowed=$(calc "0.3 * $n / 100 + $first")
      kind="phone-like"
    else
      kind="phone-like_without_thumbnails"
      fitted_ms=$(row "decode fitted to the picture area (reference), median" 2 "$out")
      allowed=$(calc "1.3 * $n * $fitted_ms / 1000 / $cores")
    fi
    at_once=$(calc "$(row "every picture shown once: first on screen, median" 2 "$out") / 1000")
    sharp=$(calc "$(row "every picture shown once, never the next, median" 2 "$out") / 1000")
    echo
    echo "| $n photos, phone-like, $with with thumbnails | measured | goal | |"
    echo "|---|---:|---:|---|"
    echo "| first start, s (picture 1 composed in $first s) | $shown | <= $allowed | $(verdict "$shown <= $allowed") |"
    echo "| a click: the picture on screen (median), s | $at_once | <= 0.1 | $(verdict "$at_once <= 0.1") |"
    echo "| a click: the picture sharp (median), s | $sharp | <= 0.6 | $(verdict "$sharp <= 0.6") |"
    echo "| peak memory, MB | $peak | <= $budget | $(verdict "$peak <= $budget") |"
    echo "| GUI thread's longest gap in the first start, ms | $gap | < 50 | $(verdict "$gap < 50") |"
    echo
    # Folders with thumbnails and without cost per photo what different work costs: each is
    # held flat only against its own kind.
    echo "$n $per $(calc "$shown_cpu * 1000 / $n") $kind" >>"$summary"
    continue
  fi

  # The decoding limit: libjpeg at 1/8 scale, one photo after another on one core.
  timed "$work/djpeg.time" djpeg_all "${photos[@]}"
  read -r djpeg_s djpeg_u djpeg_y <"$work/djpeg.time"
  djpeg_cpu=$(calc "$djpeg_u + $djpeg_y")
  decoded=$(for f in "${photos[@]}"; do head -c 2 "$f" | od -An -tx1; done | grep -c 'ff d8' || true)

  # feh's thumbnail index of the same folder, written to a file (no display needed). Its
  # index must stay under 32k pixels high, hence a wide index for large folders.
  # Above 2,000 photos feh takes many minutes and its goal is held by the smaller folders.
  if [ ${#photos[@]} -le 2000 ]; then
    timed "$work/feh.time" feh --index --limit-width 6400 --thumb-width 200 --thumb-height 150 \
      -O "$work/index.png" "$folder"
    grep -q failed "$work/feh.time" && { cat "$work/feh.time" >&2; exit 1; }
    read -r feh_s feh_u feh_y < <(tail -1 "$work/feh.time")
    feh_cpu=$(calc "$feh_u + $feh_y")
  else
    feh_s=0 feh_u=0 feh_y=0 feh_cpu=0
  fi

  relaunch=$(row "presentation on screen, new launch" 1 "$out")
  scan=$(calc "$(row "import scan" 1 "$out") * 1000 / $n")
  switch=$(awk '/^switch \/ fitted decode/ { print $(NF - 2) }' "$out" | tr -d ,)
  next=$(awk '/^next click \/ fitted decode/ { print $(NF - 2) }' "$out" | tr -d ,)
  mapped_after=$(row "first start: from Start to both windows mapped" 5 "$out" | awk '{ print $2 }')
  # A camera-like folder: most thumbnails of the first start came from the photos' EXIF data.
  camera=$(awk '/^sources, first start:/ { for (i = 1; i <= NF; ++i) if ($i == "camera,") print $(i - 1) }' "$out")
  limit=$(calc "$djpeg_s / $cores")
  if [ "${camera:-0}" -ge $((n / 2)) ]; then
    kind="camera-like"; limit_goal=0.3; feh_goal=20
  else
    kind="without camera thumbnails"; limit_goal=1.0; feh_goal=""
  fi
  echo
  echo "djpeg -scale 1/8, one core: $djpeg_s s for $decoded photos ($(calc "$djpeg_s * 1000 / ($decoded > 0 ? $decoded : 1)") ms each, CPU $djpeg_cpu s); spread over $cores cores: $limit s"
  [ "$feh_s" = 0 ] || echo "feh --index 200x150: $feh_s s (CPU $feh_cpu s)"
  echo "presentation on screen: $shown s (CPU $shown_cpu s over every thread); new launch $relaunch s"
  echo
  # The wall-clock ratios assume the cores are free; on a loaded machine the processor-time
  # ratios (the work done, spread over the cores as an idle machine would) say more.
  echo "| $n photos, $kind | measured (wall) | measured (CPU) | goal | wall | CPU |"
  echo "|---|---:|---:|---:|---|---|"
  echo "| import scan, for 1000 pictures (s) | $(calc "$scan") | | < 1 | $(verdict "$scan < 1") | |"
  echo "| first start, empty cache / (djpeg 1/8 / cores) | $(calc "$shown / $limit") | $(calc "$shown_cpu / $djpeg_cpu") | <= $limit_goal | $(verdict "$shown / $limit <= $limit_goal") | $(verdict "$shown_cpu / $djpeg_cpu <= $limit_goal") |"
  if [ "$feh_s" = 0 ]; then
    echo "| feh index / first start | not run above 2,000 photos | | | | |"
  elif [ -n "$feh_goal" ]; then
    echo "| feh index / first start | $(calc "$feh_s / $shown") | $(calc "$feh_cpu * $cores / $shown_cpu") | >= $feh_goal | $(verdict "$feh_s / $shown >= $feh_goal") | $(verdict "$feh_cpu * $cores / $shown_cpu >= $feh_goal") |"
  else
    echo "| feh index / first start | $(calc "$feh_s / $shown") | $(calc "$feh_cpu * $cores / $shown_cpu") | | | |"
  fi
  echo "| first start / new launch | $(calc "$shown / $relaunch") | | >= 10 | $(verdict "$shown / $relaunch >= 10") | |"
  echo "| new launch / (djpeg 1/8 / cores) | $(calc "$relaunch / $limit") | | <= 0.1 | $(verdict "$relaunch / $limit <= 0.1") | |"
  echo "| next cell after a second / its fitted decode (median) | $next | | <= 0.1 | $(verdict "$next <= 0.1") | |"
  echo "| any other switch / fitted decode (median) | $switch | | <= 1.3 | $(verdict "$switch <= 1.3") | |"
  echo "| peak memory, MB | $peak | | <= $budget | $(verdict "$peak <= $budget") | |"
  echo "| GUI thread's longest gap in the first start, ms | $gap | | < 50 | $(verdict "$gap < 50") | |"
  echo "| thumbnail decodes finished when both windows were mapped | $mapped_after | | < 3 | $(verdict "$mapped_after < 3") | |"
  echo
  echo "$n $per $(calc "$shown_cpu * 1000 / $n") ${kind// /_}" >>"$summary"
done

# The cost per photo, folders of the same kind against each other.
for kind in $(awk '{ print $4 }' "$summary" | sort -u); do
  awk -v k="$kind" '$4 == k' "$summary" >"$work/kind"
  [ "$(wc -l <"$work/kind")" -gt 1 ] || continue
  echo "== cost per picture of the first start, ${kind//_/ } (within 15 % of each other)"
  awk '{ printf "%6d pictures: %s ms wall, %s ms CPU\n", $1, $2, $3 }' "$work/kind"
  for column in 2 3; do
    awk -v c=$column -v name="$([ $column = 2 ] && echo wall || echo CPU)" \
      'NR == 1 { lo = hi = $c } { if ($c < lo) lo = $c; if ($c > hi) hi = $c }
       END { printf "%s: spread %.0f %% of the smallest: %s\n", name, (hi - lo) * 100 / lo,
             (hi - lo) <= 0.15 * lo ? "met" : "NOT MET" }' "$work/kind"
  done
done
