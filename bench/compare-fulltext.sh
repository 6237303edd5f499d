#!/usr/bin/env bash
# Full-text search and what an install prepares, side by side with their peers in one run:
#  1. `lexora-cli install` of Debian's gcide (import, suggestion and full-text indexes): wall,
#     CPU and peak memory; the sizes of the dictionary and of its full-text index;
#  2. `lexora-cli search TEXT gcide.pvm` (the first query after the install included) against
#     sdcv's full-text search (`sdcv -n "|TEXT"`) on a StarDict copy of the same source;
#  3. the same search over ten installed dictionaries against sdcv's on gcide alone;
#  4. the first misspelled lookup after the install against an exact lookup, from the command
#     line (a process each) and in the window (whose lookup thread loads the word help at start);
#  5. the window: per keystroke over a 1,000,000-word dictionary while its indexes are built in
#     the background and after, and its start over gcide alone against its start over the ten
#     installed dictionaries (time and peak memory).
# Usage: bench/compare-fulltext.sh [BUILD_FOLDER]   (default: build; only read)
# Environment: RUNS (timed rounds, default 7), TEXT (default "move swiftly").
# Everything is made in a temporary folder that is removed at the end.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/peer_common.sh"
peer_tools "${1:-}"
"$here/../scripts/install-deps.sh" dict-gcide dict-wn dict-foldoc dict-jargon \
  dict-freedict-eng-fra dict-freedict-fra-eng dict-freedict-eng-spa dict-freedict-spa-eng \
  dict-freedict-eng-ita dict-freedict-ita-eng time >/dev/null

peer_scratch
mkdir -p plain/dic/gcide
installed="$XDG_DATA_HOME/lexora/dictionaries"

echo "=== installing gcide"
/usr/bin/time -f "install gcide: %e s wall, %U s user, %S s system, peak %M KB" \
  "$cli" install /usr/share/dictd/gcide.index >/dev/null
sizes() { stat -c %s "$installed/gcide".{pvm,pdw,pdi} | paste -sd+ | bc; }
echo "gcide: dictionary $(sizes) bytes, full-text index $(stat -c %s "$installed/gcide.pfx") bytes"
python3 "$here/../scripts/dictd_to_stardict.py" /usr/share/dictd/gcide.index plain/dic/gcide >/dev/null

python3 - "$cli" "${RUNS:-7}" "${TEXT:-move swiftly}" "$installed" <<'PY'
import os, statistics, subprocess, sys, time
cli, runs, text, installed = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
gcide = os.path.join(installed, "gcide.pvm")

def run(argv):
    start = time.perf_counter()
    proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    out = proc.stdout.read()
    _, status, usage = os.wait4(proc.pid, 0)
    return time.perf_counter() - start, usage.ru_utime + usage.ru_stime, out

first = run([cli, "search", text, gcide])
print("first search after the install: %.1f ms wall, %d lines" %
      (first[0] * 1e3, first[2].count(b"\n")))
sdcv = ["sdcv", "-n", "-x", "-0", "-1", "--data-dir", "plain", "|" + text]
print("sdcv: %d lines" % run(sdcv)[2].count(b"\n"))

def timed(commands):
    times = {name: [] for name in commands}
    for round_number in range(runs + 1):
        for name, argv in commands.items():
            wall, cpu, _ = run(argv)
            if round_number > 0:
                times[name].append((wall, cpu))
    return {name: (statistics.median(t[0] for t in ts), statistics.median(t[1] for t in ts))
            for name, ts in times.items()}

def table(results, base):
    print("%-36s %10s %10s %8s" % ("", "wall ms", "CPU ms", "/ base"))
    for name, (wall, cpu) in results.items():
        print("%-36s %10.1f %10.1f %8.3f" % (name, wall * 1e3, cpu * 1e3, wall / results[base][0]))

print("=== full-text search for %r on gcide" % text)
table(timed({"sdcv |text (gcide)": sdcv, "lexora-cli search (gcide)": [cli, "search", text, gcide]}),
      "sdcv |text (gcide)")

print("=== installing nine more")
for name in ("wn", "foldoc", "jargon", "freedict-eng-fra", "freedict-fra-eng",
             "freedict-eng-spa", "freedict-spa-eng", "freedict-eng-ita", "freedict-ita-eng"):
    subprocess.run([cli, "install", "/usr/share/dictd/%s.index" % name], check=True,
                   stdout=subprocess.DEVNULL)
table(timed({"sdcv |text (gcide)": sdcv, "lexora-cli search (10 installed)": [cli, "search", text]}),
      "sdcv |text (gcide)")

print("=== first misspelled lookup after the install against an exact lookup")
first_miss = run([cli, "lookup", gcide, "runing"])
print("first miss: %.1f ms wall" % (first_miss[0] * 1e3))
table(timed({"lookup running (exact)": [cli, "lookup", gcide, "running"],
             "lookup runing (misspelled)": [cli, "lookup", gcide, "runing"]}),
      "lookup running (exact)")
PY

bench_window="$build/bin/lexora_window_bench"
if [ -x "$bench_window" ]; then
  export QT_QPA_PLATFORM=offscreen
  echo "=== the window: per keystroke over 1,000,000 words"
  "$bench_window" keys "$scratch" "${KEYS:-2000}"
  echo "=== the window: the first misspelled lookup after its start against an exact one"
  "$bench_window" miss "$installed/gcide.pvm" "${RUNS:-7}"
  echo "=== the window: start over gcide alone, then over the ten installed dictionaries"
  for round in 1 2 3; do
    /usr/bin/time -f "  peak %M KB" "$bench_window" start "$installed/gcide.pvm"
    /usr/bin/time -f "  peak %M KB" "$bench_window" start "$installed"/*.pvm
  done
fi
