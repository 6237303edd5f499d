#!/bin/sh
# The completion script and the manual page keep up with lexora-cli: every command that
# `lexora-cli --help` lists, and every option of its usage line, is completed after the command
# and named in the manual page, which also gives every exit status.
# Usage: cli_docs_test.sh LEXORA_CLI COMPLETION MANUAL_PAGE_SOURCE
cli=$1
completion=$2
manual=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

complete_words() {  # the completions of the words given, the last one being completed
  bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _lexora_cli
    printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" lexora-cli "$@" 2>&1
}

"$cli" --help | sed -n 's/^  //p' > "${TMPDIR:-/tmp}/lexora-usage.$$"
[ -s "${TMPDIR:-/tmp}/lexora-usage.$$" ] || fail "--help listed no command"
while read -r name rest; do
  complete_words "$name" | grep -qx "$name" || fail "the command $name is not completed"
  grep -q "^\.BI* \"*$name" "$manual" || fail "the manual page has no entry for $name"
  for option in $(printf '%s\n' "$rest" | grep -oE '(^|[[ ])--?[a-z][a-z-]*' | tr -d '[ '); do
    words="$name"
    [ "$name" = import ] && words="import tsv a b"
    # shellcheck disable=SC2086
    complete_words $words - | grep -qx -- "$option" ||
      fail "$name: the option $option is not completed"
    escaped=$(printf '%s' "$option" | sed 's/-/\\\\-/g')
    grep -q -- "$escaped" "$manual" || fail "$name: the manual page does not name $option"
  done
done < "${TMPDIR:-/tmp}/lexora-usage.$$"
rm -f "${TMPDIR:-/tmp}/lexora-usage.$$"

section=$(sed -n '/^\.SH EXIT STATUS/,/^\.SH /p' "$manual")
for status in 0 1 2 3; do
  printf '%s\n' "$section" | grep -qx "\.B $status" || fail "the exit status $status is not described"
done

[ $failures -eq 0 ] && echo "completion and manual page: all commands and options covered"
[ $failures -eq 0 ]
