#!/usr/bin/env bash
# Installs what building and running Vetrinova need, builds the program and the demo
# presentation, and starts it on the demo.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_BUILD:-$here/build}"
"$here/scripts/setup.sh" run
exec "$build/vetrinova" "$build/demo/Demo.v69"
