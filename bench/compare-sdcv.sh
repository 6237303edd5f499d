#!/usr/bin/env bash
# Times the same random headwords looked up by `lexora-cli lookup DATA -` and by sdcv on two
# StarDict copies of the same source, a plain .dict and a dictzipped .dict.dz, in one run, and
# prints the ratios. Source: Debian's gcide dictd database, imported with `lexora-cli import
# dictd` and converted by scripts/dictd_to_stardict.py.
# Usage: bench/compare-sdcv.sh [BUILD_FOLDER]   (default: build; only read)
# Environment: RUNS (timed rounds, default 9), WORDS (default 2000), SEED (default 16).
# Without sdcv it says so and stops (it installs gcide, dictzip and time when missing); everything is made in a temporary
# folder that is removed at the end.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/peer_common.sh"
peer_tools "${1:-}"
"$here/../scripts/install-deps.sh" dict-gcide dictzip time >/dev/null
index=/usr/share/dictd/gcide.index

peer_scratch
mkdir -p plain/dic/gcide dz/dic/gcide

echo "=== converting $index"
"$cli" import dictd "$index" gcide.pvm --force
book=$(python3 "$here/../scripts/dictd_to_stardict.py" "$index" plain/dic/gcide)
cp plain/dic/gcide/gcide.ifo plain/dic/gcide/gcide.idx dz/dic/gcide/
dictzip -k plain/dic/gcide/gcide.dict
mv plain/dic/gcide/gcide.dict.dz dz/dic/gcide/
echo "StarDict book: $book; .dict $(stat -c %s plain/dic/gcide/gcide.dict) bytes," \
  ".dict.dz $(stat -c %s dz/dic/gcide/gcide.dict.dz) bytes; Lexora data file $(stat -c %s gcide.pvm) bytes"

# Random headwords, leaving out those that either program would not take as a plain word:
# sdcv reads "*", "?", a leading "/" or "|" as a pattern and a leading "-" as an option;
# Lexora reads "_" as a space and trims white space. Only headwords both books spell alike are
# drawn: Lexora shows gcide's own spelling ("Dasypædal") where the StarDict copy has the index
# key ("Dasypaedal").
"$cli" words gcide.pvm >all-words.txt
grep -v -e '[*?_\\]' -e '^[-/|]' -e '^[[:space:]]' -e '[[:space:]]$' all-words.txt >usable.txt
python3 - "${WORDS:-2000}" "${SEED:-16}" <<'PY'
import random, sys
idx = open("plain/dic/gcide/gcide.idx", "rb").read()
keys, at = set(), 0
while at < len(idx):
    end = idx.index(b"\0", at)
    keys.add(idx[at:end].decode("utf-8", "replace"))
    at = end + 9
words = [w for w in open("usable.txt", encoding="utf-8").read().splitlines() if w in keys]
chosen = random.Random(int(sys.argv[2])).sample(words, int(sys.argv[1]))
open("words.txt", "w", encoding="utf-8").write("\n".join(chosen) + "\n")
open("one-word.txt", "w", encoding="utf-8").write(chosen[0] + "\n")
PY

python3 - "$cli" "${RUNS:-9}" <<'PY'
import os, statistics, subprocess, sys, time
cli, runs = sys.argv[1], int(sys.argv[2])
words = open("words.txt", encoding="utf-8").read().splitlines()
one = words[:1]
sdcv = ["sdcv", "-n", "-x", "-0", "-1"]

def lexora(word_file):
    return [cli, "lookup", "gcide.pvm", "-"], word_file

def stardict(folder, ws):
    return sdcv + ["--data-dir", folder, "--"] + ws, None

commands = {
    "lexora batch": lexora("words.txt"),
    "sdcv .dict batch": stardict("plain", words),
    "sdcv .dict.dz batch": stardict("dz", words),
    "lexora one word": lexora("one-word.txt"),
    "sdcv .dict one word": stardict("plain", one),
    "sdcv .dict.dz one word": stardict("dz", one),
}

def run(argv, stdin_file, out=subprocess.DEVNULL):
    """Wall time and CPU time (user + system, from wait4) of one run."""
    stdin = open(stdin_file, "rb") if stdin_file else subprocess.DEVNULL
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdin=stdin, stdout=out, stderr=subprocess.PIPE)
    err = proc.stderr.read()
    proc.stderr.close()
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    proc.returncode = 0  # reaped above
    if stdin_file:
        stdin.close()
    if status != 0:
        sys.exit("failed: %s\n%s" % (" ".join(argv[:6]), err.decode()))
    return wall, usage.ru_utime + usage.ru_stime

# Both must find every word.
with open("lexora.json", "wb") as f:
    argv, stdin = lexora("words.txt")
    run(argv[:-1] + ["-", "--json"], stdin, f)
inexact = open("lexora.json", encoding="utf-8").read().count('"exact":false')
for folder in ("plain", "dz"):
    with open("sdcv-%s.txt" % folder, "wb") as f:
        run(*stardict(folder, words), out=f)
missing = {}
for folder in ("plain", "dz"):
    with open("sdcv-%s.txt" % folder, encoding="utf-8", errors="replace") as f:
        missing[folder] = sum(line.startswith("Nothing similar to") for line in f)
print("check: Lexora inexact %d; sdcv words not found: .dict %d, .dict.dz %d"
      % (inexact, missing["plain"], missing["dz"]))
if inexact or any(missing.values()):
    sys.exit("the dictionaries do not hold the same words")

# Rounds run every command once, in turn, so that the machine's load falls on all alike.
times = {name: [] for name in commands}
for round_number in range(runs + 1):
    for name, (argv, stdin) in commands.items():
        for _ in range(5 if "one word" in name else 1):  # short runs: more samples
            result = run(argv, stdin)
            if round_number > 0:  # the first round only warms the page cache
                times[name].append(result)

def med(name, i):
    return statistics.median(t[i] for t in times[name])

print("%-24s %10s %10s" % ("command (%d words)" % len(words), "wall ms", "CPU ms"))
for name in commands:
    print("%-24s %10.2f %10.2f" % (name, med(name, 0) * 1e3, med(name, 1) * 1e3))
print("median of %d rounds; ratios Lexora / sdcv (wall, CPU):" % runs)
for what, a, b in (("batch vs .dict.dz", "lexora batch", "sdcv .dict.dz batch"),
                   ("batch vs .dict", "lexora batch", "sdcv .dict batch"),
                   ("one word vs .dict", "lexora one word", "sdcv .dict one word")):
    print("  %-20s %6.2f %6.2f" % (what, med(a, 0) / med(b, 0), med(a, 1) / med(b, 1)))
PY
echo "=== peak memory of each batch (/usr/bin/time -v, maximum resident set size)"
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'; }
mapfile -t words <words.txt
echo "lexora batch:        $(peak "$cli" lookup gcide.pvm - <words.txt) KiB"
echo "sdcv .dict batch:    $(peak sdcv -n -x -0 -1 --data-dir plain -- "${words[@]}") KiB"
echo "sdcv .dict.dz batch: $(peak sdcv -n -x -0 -1 --data-dir dz -- "${words[@]}") KiB"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
