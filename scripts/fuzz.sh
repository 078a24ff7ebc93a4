#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang and runs each for a bounded time on a corpus
# grown from generated seeds and from every input that ever failed (fuzz/regressions/TARGET/),
# minimised first so that the timed run goes to new inputs, not to replaying old ones.
# The picture target runs with the program's own limits: inputs up to 1 MB, no single
# allocation above the loader's allocation limit, a memory ceiling for the whole process and
# a time limit per input. Exits non-zero on any crash, sanitizer report, leak, hang, memory
# blow-up or broken property; the input that did it is copied to fuzz/regressions/TARGET/
# (commit it: from then on every run tries it first).
# A picture the sanitizers find slow is judged on the release build (bench's
# vetrinova_picture_bench --judge): kept, and the run failed, only when it breaks the
# program's promise of time and memory there; the hostile-file tests replay what is kept.
# The mutations follow a fixed seed, so that a run on the same code passes or fails the same
# way; a longer search for new faults takes another seed (0: a random one each run).
#   VETRINOVA_FUZZ_SECONDS  time per target (60)
#   VETRINOVA_FUZZ_SEED     the mutations' seed (1)
#   VETRINOVA_FUZZ_BUILD    build folder (build-fuzz)
#   VETRINOVA_BUILD         the release build that judges slow inputs (build)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_FUZZ_BUILD:-$here/build-fuzz}"
seconds="${VETRINOVA_FUZZ_SECONDS:-60}"
seed="${VETRINOVA_FUZZ_SEED:-1}"
release="${VETRINOVA_BUILD:-$here/build}"
# Megabytes one decoded picture may take: the loader's own limit.
allocation_mb="$(sed -n 's/.*allocationLimitMB = \([0-9]*\);.*/\1/p' "$here/pictures/decode/picture.h")"
[ -n "$allocation_mb" ] || { echo "no allocationLimitMB in pictures/decode/picture.h"; exit 2; }

VETRINOVA_PACKAGES_ONLY=1 "$here/scripts/setup.sh" test
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
fi
cmake --build "$build" -j2
if [ ! -f "$release/build.ninja" ]; then
  cmake -S "$here" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$release" -j2 --target vetrinova_picture_bench >/dev/null
judge="$release/bench/vetrinova_picture_bench"

export QT_QPA_PLATFORM=offscreen
# Leaks inside third-party libraries that no caller can free, as in the sanitizer run.
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
rm -rf "$build/seeds"
"$build/make_seeds" "$build/seeds"

# The picture target hands its inputs to the loader as files: in memory where possible.
tmp="$(mktemp -d -p /dev/shm vetrinova-fuzz.XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
export VETRINOVA_FUZZ_TMP="$tmp"

mkdir -p "$build/logs"
status=0
# The figures a minute of fuzzing must reach to be worth its minute.
least_inputs=2000
#        target             longest input  per-input seconds
for run in "presentation_file 65536 10" "picture 1048576 60"; do
  read -r target max_len timeout <<<"$run"
  corpus="$build/corpus/$target"
  regressions="$here/fuzz/regressions/$target"
  artifacts="$build/artifacts/$target"
  log="$build/logs/$target.log"
  limits=(-timeout="$timeout" -rss_limit_mb=2048 -malloc_limit_mb="$allocation_mb"
          -max_len="$max_len")
  rm -rf "$artifacts" "$corpus.merged"
  mkdir -p "$corpus" "$corpus.merged" "$regressions" "$artifacts"
  # Only the inputs that reach something no other reaches go on.
  if "$build/${target}_fuzz" -merge=1 "${limits[@]}" "$corpus.merged" \
      "$corpus" "$build/seeds/$target" "$regressions" >"$log.merge" 2>&1; then
    rm -rf "$corpus" && mv "$corpus.merged" "$corpus"
  else
    echo "  (minimising the $target corpus failed: the whole corpus is run; $log.merge)"
    cp -n "$build/seeds/$target"/* "$corpus/"
  fi
  echo "Fuzzing $target for $seconds s ($(ls "$corpus" | wc -l) inputs to start from," \
    "up to $max_len bytes, $timeout s each)"
  if "$build/${target}_fuzz" -max_total_time="$seconds" -seed="$seed" "${limits[@]}" \
      -len_control=0 -report_slow_units=5 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      "$corpus" "$regressions" >"$log" 2>&1; then
    executed="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    echo "  $target: ${executed:-0} inputs executed in $seconds s" \
      "($(sed -n 's/^stat::average_exec_per_sec: *//p' "$log") a second)," \
      "peak $(sed -n 's/^stat::peak_rss_mb: *//p' "$log") MB"
    if [ "${executed:-0}" -lt $((least_inputs * seconds / 60)) ]; then
      echo "  WARNING: fewer than $least_inputs inputs a minute: $target hardly fuzzed"
    fi
  else
    status=1
    echo "FAILED: $target (log: $log)"
    # The decoders' own complaints about damaged input are noise here.
    grep -v -e '^TIFF' -e '^foo: ' -e '^qt\.' -e '^"' -e 'Uses: ' "$log" | tail -n 40 || true
  fi
  for found in "$artifacts"/*; do
    [ -f "$found" ] || continue
    name="$(basename "$found")"
    case "$target:$name" in
      picture:slow-unit-* | picture:timeout-*)
        # Ten times slower under the sanitizers than as shipped: the release build decides.
        if verdict="$("$judge" --judge "$found" 2>/dev/null)"; then
          echo "  slow only under the sanitizers, not kept: $verdict"
          continue
        fi
        status=1
        echo "FAILED: $target: $verdict"
        name="slow-${name##*-}"
        ;;
    esac
    cp "$found" "$regressions/$name"
    echo "kept $name in fuzz/regressions/$target/: commit it"
  done
done
exit $status
