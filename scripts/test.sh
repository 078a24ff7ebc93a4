#!/usr/bin/env bash
# Builds Vetrinova and runs the whole test suite headless; exits non-zero on any failure.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_BUILD:-$here/build}"
"$here/scripts/setup.sh" test
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j2 --timeout 600
