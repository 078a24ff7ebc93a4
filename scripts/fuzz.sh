#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang and runs each for a bounded time on a corpus
# grown from generated seeds and from every input that ever failed (fuzz/regressions/TARGET/).
# The picture target runs with the program's own limits: inputs up to 1 MB, no single
# allocation above the loader's allocation limit, a memory ceiling for the whole process and
# a time limit per input. Exits non-zero on any crash, sanitizer report, leak, hang, memory
# blow-up or broken property; the input that did it is copied to fuzz/regressions/TARGET/
# (commit it: from then on every run tries it first).
# The mutations follow a fixed seed, so that a run on the same code passes or fails the same
# way; a longer search for new faults takes another seed (0: a random one each run).
#   VETRINOVA_FUZZ_SECONDS  time per target (60)
#   VETRINOVA_FUZZ_SEED     the mutations' seed (1)
#   VETRINOVA_FUZZ_BUILD    build folder (build-fuzz)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_FUZZ_BUILD:-$here/build-fuzz}"
seconds="${VETRINOVA_FUZZ_SECONDS:-60}"
seed="${VETRINOVA_FUZZ_SEED:-1}"
# Megabytes one decoded picture may take: the loader's own limit.
allocation_mb="$(sed -n 's/.*allocationLimitMB = \([0-9]*\);.*/\1/p' "$here/pictures/decode/picture.h")"
[ -n "$allocation_mb" ] || { echo "no allocationLimitMB in pictures/decode/picture.h"; exit 2; }

VETRINOVA_PACKAGES_ONLY=1 "$here/scripts/setup.sh" test
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
fi
cmake --build "$build" -j2

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
#        target             longest input  per-input seconds
for run in "presentation_file 65536 10" "picture 1048576 20"; do
  read -r target max_len timeout <<<"$run"
  corpus="$build/corpus/$target"
  regressions="$here/fuzz/regressions/$target"
  artifacts="$build/artifacts/$target"
  log="$build/logs/$target.log"
  rm -rf "$artifacts"
  mkdir -p "$corpus" "$regressions" "$artifacts"
  echo "Fuzzing $target for $seconds s (inputs up to $max_len bytes, $timeout s each)"
  if "$build/${target}_fuzz" -max_total_time="$seconds" -seed="$seed" -timeout="$timeout" \
      -rss_limit_mb=2048 -malloc_limit_mb="$allocation_mb" -max_len="$max_len" -len_control=0 \
      -print_final_stats=1 -artifact_prefix="$artifacts/" \
      "$corpus" "$build/seeds/$target" "$regressions" >"$log" 2>&1; then
    sed -n 's/^stat::\(number_of_executed_units\|average_exec_per_sec\|peak_rss_mb\): */  \1 /p' "$log"
  else
    status=1
    echo "FAILED: $target (log: $log)"
    # The decoders' own complaints about damaged input are noise here.
    grep -v -e '^TIFF' -e '^foo: ' -e '^qt\.' -e '^"' -e 'Uses: ' "$log" | tail -n 40 || true
  fi
  for found in "$artifacts"/*; do
    [ -f "$found" ] || continue
    cp "$found" "$regressions/"
    echo "kept $(basename "$found") in fuzz/regressions/$target/: commit it"
  done
done
exit $status
