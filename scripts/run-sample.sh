#!/usr/bin/env bash
# `make run`: shows a sample lookup in the bundled sample dictionaries, in the terminal.
# Usage: scripts/run-sample.sh [BUILD_FOLDER]
set -euo pipefail
build=${1:-build}
bin="$build/bin"
cli="$bin/lexora-cli"
samples="$bin/samples"

for name in en-vi vi-en; do
  if [ ! -f "$samples/$name.pvm" ]; then
    echo "run-sample: $samples/$name.pvm is missing; build first (make)" >&2
    exit 1
  fi
done

# The run's own settings store, so that a person's own settings are never touched.
export LEXORA_REGISTRY="$build/run-registry.sqlite"

for name in en-vi vi-en; do
  echo "=== $samples/$name.pvm"
  "$cli" info "$samples/$name.pvm"
  echo
done
echo "=== lexora-cli lookup dog / người"
"$cli" lookup "$samples/en-vi.pvm" dog
"$cli" lookup "$samples/vi-en.pvm" "người"
echo

# With a display, the desktop program opens on both samples (English–Vietnamese first: the
# working dictionary; Vietnamese–English the reverse one), with a settings store inside the
# build folder so that a person's own settings are never touched.
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  if [ ! -s "$LEXORA_REGISTRY" ] || ! "$cli" dicts | grep -q 'en-vi.pvm'; then
    "$cli" dicts add "$(realpath "$samples/en-vi.pvm")"
    "$cli" dicts add "$(realpath "$samples/vi-en.pvm")"
  fi
  echo "Opening lexora (settings: $LEXORA_REGISTRY)"
  exec "$bin/lexora"
fi
