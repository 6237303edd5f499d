#!/usr/bin/env bash
# Runs every fuzz target for SECONDS seconds on its seed corpus (tests/fuzz/corpus/<target>).
# New inputs go to BUILD/fuzz-corpus/<target>, crashes to BUILD/fuzz-artifacts/; the seeds in
# the repository are left as they are. Usage: scripts/run-fuzz.sh [BUILD] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-60}
status=0
for target in fuzz_reader fuzz_writer fuzz_render fuzz_import_tsv fuzz_import_dictd \
    fuzz_import_stardict fuzz_settings; do
  work="$build/fuzz-corpus/$target"
  mkdir -p "$work" "$build/fuzz-artifacts"
  echo "== $target for ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$build/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$target-" \
      "$work" "tests/fuzz/corpus/$target" 2>"$build/fuzz-artifacts/$target.log"; then
    echo "$target FAILED; see $build/fuzz-artifacts/$target.log"
    tail -40 "$build/fuzz-artifacts/$target.log"
    status=1
  else
    grep -E "stat::number_of_executed_units|Done" "$build/fuzz-artifacts/$target.log" | tail -2
  fi
done
exit $status
