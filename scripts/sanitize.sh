#!/usr/bin/env bash
# Builds Vetrinova and its tests with AddressSanitizer and UndefinedBehaviorSanitizer in a
# build folder of their own and runs all but the real-window tests, headless. Any report stops the test program and
# fails the run: memory errors, leaks, undefined behaviour (nothing is recovered from).
#   VETRINOVA_ASAN_BUILD  build folder (build-asan)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_ASAN_BUILD:-$here/build-asan}"

VETRINOVA_PACKAGES_ONLY=1 "$here/scripts/setup.sh" test
if [ ! -f "$build/build.ninja" ]; then
  # Unoptimised: quicker to build, and every report points at the line that did it.
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVETRINOVA_SANITIZE=ON >/dev/null
fi
# Everything, so that the tests of the program's files (packaging, the demo) run too.
cmake --build "$build" -j2

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:abort_on_error=1:print_summary=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:print_summary=1"
cd "$build"
ctest -E '^e2e\.' --output-on-failure -j2 --timeout 900
