#!/bin/sh
# install_test.sh BUILD_DIR COMPLETION_SCRIPT [CMAKE]
# Installs the build into a scratch prefix and checks that everything lands where a desktop,
# `man` and bash look for it, and that the installed lexora-cli finds its pictures and samples
# in the installed data folder (and the built one in the build tree).
set -u
build=$1
completion=$2
cmake=${3:-cmake}
prefix=$(mktemp -d "${TMPDIR:-/tmp}/lexora-install-XXXXXX") || exit 1
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { [ -e "$prefix/$1" ] || fail "not installed: $1"; }

"$cmake" --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || {
  cat "$prefix.log"; rm -f "$prefix.log"; echo "FAIL: cmake --install"; exit 1; }
rm -f "$prefix.log"

for f in bin/lexora bin/lexora-util bin/lexora-cli \
    share/lexora/meaning.gif share/lexora/word.gif share/lexora/syn-ant.gif \
    share/lexora/Idiom.gif share/lexora/Lexora.htm \
    share/lexora/samples/en-vi.pvm share/lexora/samples/en-vi.pdw share/lexora/samples/en-vi.pdi \
    share/lexora/samples/vi-en.pvm \
    share/applications/lexora.desktop share/applications/lexora-util.desktop \
    share/metainfo/io.github.lexora.Lexora.metainfo.xml \
    share/icons/hicolor/scalable/apps/lexora.svg \
    share/man/man1/lexora.1.gz share/man/man1/lexora-util.1.gz share/man/man1/lexora-cli.1.gz \
    share/bash-completion/completions/lexora-cli; do
  need "$f"
done
if [ -d "$build/packaging/icons" ]; then
  for size in 16 32 48 64 128 256; do need "share/icons/hicolor/${size}x${size}/apps/lexora.png"; done
fi
for f in bin/lexora bin/lexora-util bin/lexora-cli; do
  [ -x "$prefix/$f" ] || fail "not executable: $f"
done

# Every picture a rendered page names must exist, in the folder the programs are meant to use.
check_pictures() {  # check_pictures PROGRAM DATA EXPECTED_FOLDER
  page=$("$1" render "$2" man) || { fail "$1 render $2 man exited $?"; return; }
  pictures=$(printf '%s' "$page" | grep -o 'file://[^"'"'"' )>]*' | sort -u)
  [ -n "$pictures" ] || fail "$1 render: the page names no picture"
  for url in $pictures; do
    path=${url#file://}
    case "$path" in
      "$3"*) ;;
      *) fail "$1 render: $path is not in $3" ;;
    esac
    [ -f "$path" ] || fail "$1 render: $path does not exist"
  done
}
check_pictures "$prefix/bin/lexora-cli" "$prefix/share/lexora/samples/en-vi.pvm" \
  "$(cd "$prefix/share/lexora" && pwd -P)/"
check_pictures "$build/bin/lexora-cli" "$build/bin/samples/en-vi.pvm" \
  "$(cd "$build/bin" && pwd -P)/"

# The installed lookup on both samples.
out=$("$prefix/bin/lexora-cli" lookup "$prefix/share/lexora/samples/en-vi.pvm" man) ||
  fail "lookup man exited $?"
printf '%s' "$out" | grep -q 'người đàn ông' || fail "lookup man: unexpected output: $out"
"$prefix/bin/lexora-cli" lookup "$prefix/share/lexora/samples/vi-en.pvm" "$(
  "$prefix/bin/lexora-cli" words "$prefix/share/lexora/samples/vi-en.pvm" --count 1)" >/dev/null ||
  fail "lookup in vi-en exited $?"

# --version and --help behave as on other tools: stdout, status 0.
version=$("$prefix/bin/lexora-cli" --version) || fail "--version exited $?"
printf '%s' "$version" | grep -Eq '^lexora-cli [0-9]+\.[0-9]+' || fail "--version printed: $version"
"$prefix/bin/lexora-cli" --help | grep -q 'lookup' || fail "--help does not list the commands"

# The completion script loads and completes a command and an option.
if command -v bash >/dev/null 2>&1; then
  got=$(bash -c '. "$1"; COMP_WORDS=(lexora-cli imp); COMP_CWORD=1; _lexora_cli; echo "${COMPREPLY[*]}"' \
    _ "$completion" 2>&1)
  [ "$got" = "import" ] || fail "completing 'imp' gave '$got'"
  got=$(bash -c '. "$1"; COMP_WORDS=(lexora-cli import tsv a b --ti); COMP_CWORD=5; _lexora_cli; echo "${COMPREPLY[*]}"' \
    _ "$completion" 2>&1)
  [ "$got" = "--title" ] || fail "completing 'import tsv a b --ti' gave '$got'"
fi

[ $failures -eq 0 ] && echo "installed into $prefix: all checks passed"
[ $failures -eq 0 ]
