#!/usr/bin/env bash
# Builds Vetrinova and starts it on the bundled demo presentation.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VETRINOVA_BUILD:-$here/build}"
"$here/scripts/setup.sh"
demo="$build/demo/Demo.v69"
if [ -f "$demo" ]; then
  exec "$build/vetrinova" "$demo"
fi
exec "$build/vetrinova"
