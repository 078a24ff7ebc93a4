#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang and runs each for a bounded time on a corpus
# grown from generated seeds. Exits non-zero on any crash, sanitizer report, leak, hang
# (-timeout), memory blow-up (-rss_limit_mb) or broken property; the input that did it is
# kept in the build folder's artifacts/.
#   VETRINOVA_FUZZ_SECONDS  time per target (60)
#   VETRINOVA_FUZZ_BUILD    build folder (build-fuzz)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_FUZZ_BUILD:-$here/build-fuzz}"
seconds="${VETRINOVA_FUZZ_SECONDS:-60}"

VETRINOVA_PACKAGES_ONLY=1 "$here/scripts/setup.sh" test
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$here/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
fi
cmake --build "$build" -j2

export QT_QPA_PLATFORM=offscreen
rm -rf "$build/seeds"
"$build/make_seeds" "$build/seeds"

# The picture target hands its inputs to the loader as files: in memory where possible.
tmp="$(mktemp -d -p /dev/shm vetrinova-fuzz.XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
export VETRINOVA_FUZZ_TMP="$tmp"

mkdir -p "$build/artifacts" "$build/logs"
status=0
for run in presentation_file:8192 picture:16384; do
  target="${run%%:*}"
  corpus="$build/corpus/$target"
  log="$build/logs/$target.log"
  mkdir -p "$corpus"
  echo "Fuzzing $target for $seconds s"
  if "$build/${target}_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -len_control=0 \
      -max_len="${run##*:}" -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
      "$corpus" "$build/seeds/$target" >"$log" 2>&1; then
    sed -n 's/^stat::\(number_of_executed_units\|average_exec_per_sec\|peak_rss_mb\): */  \1 /p' "$log"
  else
    status=1
    echo "FAILED: $target (log: $log)"
    # The decoders' own complaints about damaged input are noise here.
    grep -v -e '^TIFF' -e '^foo: ' -e '^qt\.' -e '^"' -e 'Uses: ' "$log" | tail -n 60 || true
  fi
done
exit $status
