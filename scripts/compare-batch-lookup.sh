#!/usr/bin/env bash
# Times a batch lookup of 10,000 words with `lexora-cli lookup DATA -` against sdcv's batch mode
# on the same entries: Debian's gcide dictd database imported for Lexora and converted to a
# StarDict dictionary for sdcv by scripts/dictd_to_stardict.py.
# Usage: scripts/compare-batch-lookup.sh [BUILD_FOLDER]   (default: build; only read)
# Environment: RUNS (timed runs per command, default 10), WORDS (default 10000).
# Everything is made in a temporary folder that is removed at the end; nothing else is touched.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
cli="$build/bin/lexora-cli"
runs=${RUNS:-10}
count=${WORDS:-10000}
[ -x "$cli" ] || { echo "no $cli: build lexora-cli first" >&2; exit 1; }

"$here/install-deps.sh" dict-gcide sdcv hyperfine >/dev/null
index=/usr/share/dictd/gcide.index

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
# Neither program may see the user's settings or dictionaries.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
export XDG_CACHE_HOME="$scratch/home/.cache" XDG_DATA_HOME="$scratch/home/.local/share"
export LEXORA_REGISTRY="$scratch/registry.db" LANG=C.UTF-8 LC_ALL=C.UTF-8
unset STARDICT_DATA_DIR NO_COLOR
export SHELL=/bin/bash  # script(1) runs its command with $SHELL
mkdir -p "$HOME" stardict/dic/gcide

echo "=== converting $index"
"$cli" import dictd "$index" gcide.pvm
book=$(python3 "$here/dictd_to_stardict.py" "$index" stardict/dic/gcide)
echo "StarDict book: $book"

# Every Nth headword of Lexora's word list, leaving out words that either program would not
# take as a plain word: sdcv reads "*", "?", a leading "/" or "|" as a pattern search and a
# leading "-" as an option; Lexora reads "_" as a space and trims white space.
"$cli" words gcide.pvm >all-words.txt
grep -v -e '[*?_\\]' -e '^[-/|]' -e '^[[:space:]]' -e '[[:space:]]$' all-words.txt >usable.txt
step=$(( $(wc -l <usable.txt) / count ))
awk -v s="$step" -v n="$count" '(NR - 1) % s == 0 && k < n { print; ++k }' usable.txt >words.txt
head -n 1 words.txt >one-word.txt
# The same words in a fixed scattered order: consecutive words then rarely share a data block.
python3 -c 'import random, sys
w = open(sys.argv[1]).read().splitlines()
random.Random(20240601).shuffle(w)
open(sys.argv[2], "w").write("\n".join(w) + "\n")' words.txt shuffled.txt
echo "word list: $(wc -l <words.txt) words, every ${step}th of $(wc -l <usable.txt)"

# Both programs must find every word as it is.
inexact=$("$cli" lookup gcide.pvm - --json <words.txt | grep -c '"exact":false' || true)
sdcv_args=(-n -x -0 -1 --data-dir "$scratch/stardict" -u "$book")
mapfile -t words <words.txt
sdcv "${sdcv_args[@]}" -- "${words[@]}" >sdcv-check.txt
headers=$(grep -c -F -x -e "-->$book" sdcv-check.txt || true)
missing=$(grep -c '^Nothing similar to' sdcv-check.txt || true)
echo "check: Lexora inexact $inexact; sdcv entries shown $headers, words not found $missing"
if [ "$inexact" != 0 ] || [ "$missing" != 0 ]; then
  echo "the two dictionaries do not hold the same words" >&2
  exit 1
fi
"$cli" lookup gcide.pvm - <words.txt >lexora-plain.txt
echo "output of one batch: Lexora $(wc -c <lexora-plain.txt) bytes, sdcv $(wc -c <sdcv-check.txt) bytes"

# Commands (bash, run in $scratch). sdcv's batch mode takes the words as arguments of one -n
# run; its line mode (no -n, words on stdin) is timed too. A terminal is given by script(1),
# whose own copying of the output is part of both programs' times.
q_book=$(printf '%q' "$book")
sd="sdcv -n -x -0 -1 --data-dir $scratch/stardict -u $q_book"
lx="$cli lookup gcide.pvm"
declare -a names cmds
add() { names+=("$1"); cmds+=("$2"); }
add lexora-plain        "$lx - <words.txt >/dev/null"
add sdcv-plain          "mapfile -t w <words.txt; $sd -- \"\${w[@]}\" >/dev/null"
add sdcv-lines-plain    "sdcv -x -0 -1 --data-dir $scratch/stardict -u $q_book <words.txt >/dev/null"
add lexora-shuffled     "$lx - <shuffled.txt >/dev/null"
add sdcv-shuffled       "mapfile -t w <shuffled.txt; $sd -- \"\${w[@]}\" >/dev/null"
add lexora-terminal     "script -qec '$lx - <words.txt' /dev/null >/dev/null"
add sdcv-terminal       "script -qec 'mapfile -t w <words.txt; $sd -c -- \"\${w[@]}\"' /dev/null >/dev/null"
add lexora-one-word     "$lx - <one-word.txt >/dev/null"
add sdcv-one-word       "$sd -- \"\$(cat one-word.txt)\" >/dev/null"
add read-word-list      "mapfile -t w <words.txt"

echo "=== timing ($runs runs each, median)"
for i in "${!names[@]}"; do
  hyperfine --shell=bash --warmup 2 --runs "$runs" --export-json "${names[$i]}.json" \
    --command-name "${names[$i]}" "${cmds[$i]}" >/dev/null 2>"${names[$i]}.err" || {
    cat "${names[$i]}.err" >&2; exit 1; }
done

python3 - "$count" "${names[@]}" <<'EOF'
import json, sys
count = int(sys.argv[1])
median = {}
for name in sys.argv[2:]:
    with open(name + ".json") as f:
        median[name] = json.load(f)["results"][0]["median"]
print("%-18s %12s %14s" % ("command", "median (ms)", "per word (µs)"))
for name in sys.argv[2:]:
    per = "" if "one-word" in name or name == "read-word-list" else "%.1f" % (median[name] / count * 1e6)
    print("%-18s %12.1f %14s" % (name, median[name] * 1e3, per))
for who in ("lexora", "sdcv"):
    whole = median[who + "-plain"]
    marginal = (whole - median[who + "-one-word"]) / (count - 1)
    print("%s plain, less start-up: %.1f µs per word" % (who, marginal * 1e6))
ratio = median["lexora-plain"] / median["sdcv-plain"]
print("lexora/sdcv, plain batch: %.2f" % ratio)
EOF
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
