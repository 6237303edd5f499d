#!/bin/sh
# run_validator.sh TOOL [ARG...] -- FILE...
# Runs a validator on each file; fails when it fails or reports a warning or an error.
# Exits with 77 (skipped) when the validator is not installed.
tool=$1
shift
if [ -z "$tool" ] || ! command -v "$tool" >/dev/null 2>&1; then
  echo "validator '$tool' is not installed; skipped"
  exit 77
fi
args=
while [ $# -gt 0 ] && [ "$1" != "--" ]; do args="$args $1"; shift; done
[ "$1" = "--" ] && shift
status=0
for file in "$@"; do
  # shellcheck disable=SC2086
  out=$("$tool" $args "$file" 2>&1)
  rc=$?
  printf '%s %s %s: exit %s\n%s\n' "$tool" "$args" "$file" "$rc" "$out"
  if [ $rc -ne 0 ]; then
    status=1
  elif printf '%s\n' "$out" | grep -Eq '(warning|error):|^[WE]: '; then
    echo "$file: warnings or errors reported"
    status=1
  fi
done
exit $status
