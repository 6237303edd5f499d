#!/usr/bin/env bash
# Runs every fuzz target for SECONDS seconds on its seed corpus (tests/fuzz/corpus/<target>),
# as many at once as there are cores. New inputs go to BUILD/fuzz-corpus/<target>, crashes to
# BUILD/fuzz-artifacts/; the seeds in the repository are left as they are.
# Usage: scripts/run-fuzz.sh [BUILD] [SECONDS] [AT_ONCE]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-asan}
seconds=${2:-60}
at_once=${3:-$(nproc)}
targets=(fuzz_reader fuzz_writer fuzz_render fuzz_import_tsv fuzz_import_dictd
  fuzz_import_stardict fuzz_import_dsl fuzz_import_mdict fuzz_settings fuzz_source_file
  fuzz_suggestion_index)
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
rm -f "$artifacts"/*.failed

run_one() {
  local target=$1
  local work="$build/fuzz-corpus/$target"
  mkdir -p "$work"
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$build/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
      "$work" "tests/fuzz/corpus/$target" 2>"$artifacts/$target.log"; then
    touch "$artifacts/$target.failed"
  fi
}

for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= at_once)); do wait -n || true; done
  echo "== $target for ${seconds}s"
  run_one "$target" &
done
wait

status=0
for target in "${targets[@]}"; do
  if [[ -e "$artifacts/$target.failed" ]]; then
    echo "$target FAILED; see $artifacts/$target.log"
    tail -40 "$artifacts/$target.log"
    status=1
  else
    echo "$target: $(grep -E "stat::number_of_executed_units" "$artifacts/$target.log" | tail -1)"
  fi
done
exit $status
