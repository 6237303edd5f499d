#!/usr/bin/env bash
# `make bench`: runs the engine benchmarks and times the import of the gcide dictd database.
# Usage: scripts/run-bench.sh [BUILD_FOLDER]
set -euo pipefail
build=${1:-build}
shift || true
bin="$build/bin"
here=$(cd "$(dirname "$0")" && pwd)

cmake --build "$build" --target lexora_engine_bench lexora_lexicon_bench lexora-cli \
  lexora_window_bench -j "$(nproc)"

echo "=== engine benchmarks (200,000 entries)"
"$bin/lexora_engine_bench" "$@" 2>&1 | grep -v '^$' || exit 1
if [ -x "$bin/render_bench" ]; then
  echo "=== render benchmarks"
  "$bin/render_bench"
fi
cmake --build "$build" --target hostile_page_bench -j "$(nproc)"
echo "=== the viewer on hostile entries (each at most 100 ms)"
"$bin/hostile_page_bench"

echo "=== suggestions, word forms and full-text search (200,000 headwords)"
"$bin/lexora_lexicon_bench" 2>&1 | grep -v '^$' || exit 1

echo "=== import of the whole gcide dictd database"
"$here/install-deps.sh" dict-gcide
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
time "$bin/lexora-cli" import dictd /usr/share/dictd/gcide.index "$scratch/gcide.pvm" \
  2>"$scratch/skipped.txt"
echo "skipped-entry report lines: $(wc -l <"$scratch/skipped.txt")"
"$bin/lexora-cli" info "$scratch/gcide.pvm"

echo "=== full-text search of the whole gcide (a text, then a regular expression)"
export LEXORA_REGISTRY="$scratch/registry.sqlite"
time "$bin/lexora-cli" search "swiftly" "$scratch/gcide.pvm" | wc -l
time "$bin/lexora-cli" search "swift(ly|ness)" "$scratch/gcide.pvm" --regex | wc -l
echo "=== a misspelt lookup in gcide: the suggestion index the import built is read from its file"
time "$bin/lexora-cli" lookup "$scratch/gcide.pvm" runing
time "$bin/lexora-cli" lookup "$scratch/gcide.pvm" runing

echo "=== lookups against sdcv (bench/compare-sdcv.sh)"
"$here/../bench/compare-sdcv.sh" "$build"

echo "=== how much of each installed dictd database reaches the page (bench/fidelity.py)"
python3 "$here/../bench/fidelity.py" --cli "$bin/lexora-cli" -n 200
echo "=== full-text search against sdcv, install-time indexes, the window (bench/compare-fulltext.sh)"
"$here/../bench/compare-fulltext.sh" "$build"
