#!/usr/bin/env bash
# `make run`: shows a sample lookup from the bundled sample dictionaries.
set -euo pipefail
build=${1:-build}
bin="$build/bin"
echo "Sample dictionaries are being built; nothing to show yet."
