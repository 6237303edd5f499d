#!/usr/bin/env bash
# Times imports with their peak memory: all of Debian's gcide (dict-gcide) and a generated
# 100,000-entry HTML StarDict dictionary.
# Usage: scripts/bench-import.sh [BUILD_FOLDER]
set -euo pipefail
build=${1:-build}
cmake --build "$build" -j2 --target lexora-cli lexora-make-html-stardict >/dev/null
cli="$build/bin/lexora-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

measure() {
  local name=$1
  shift
  /usr/bin/time -f "%e %U %M" -o "$work/time" "$@" >"$work/out" 2>/dev/null
  read -r wall user kb <"$work/time"
  printf '%-28s %6.2f s wall  %6.2f s user  %5d MB peak  (%s)\n' "$name" "$wall" "$user" $((kb / 1024)) \
    "$(head -1 "$work/out")"
}

if [ -f /usr/share/dictd/gcide.index ]; then
  measure "import dictd gcide" "$cli" import dictd /usr/share/dictd/gcide.index "$work/gcide.pvm" --force
else
  echo "dict-gcide is not installed; skipping gcide (apt-get install dict-gcide)"
fi
"$build/bin/lexora-make-html-stardict" "$work" 100000 >/dev/null
measure "import stardict 100k HTML" "$cli" import stardict "$work/html.ifo" "$work/html.pvm" --force
