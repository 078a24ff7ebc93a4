#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what clang-format makes of it
# (.clang-format at the top). Prints the files to reformat with `clang-format -i`.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here" || exit 2
command -v clang-format >/dev/null || { echo "clang-format is missing (scripts/setup.sh installs it)"; exit 2; }
status=0
while IFS= read -r f; do
  [ -f "$f" ] || continue
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "not formatted: $f"
    status=1
  fi
done < <(git ls-files -co --exclude-standard '*.cpp' '*.h' 2>/dev/null || find . -path ./build -prune -o -name '*.cpp' -print -o -name '*.h' -print)
exit $status
