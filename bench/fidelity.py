#!/usr/bin/env python3
"""How much of what a dictd database says reaches the page.

For N random entries of each installed dictd database (/usr/share/dictd/*.index) this imports
the database with lexora-cli, renders each entry's page and reads it as a browser reads HTML
(tags are tags, character references decoded). It prints three figures per database:

  words   the source's words that are on the page (each word counted as often as it occurs)
  links   the source's {cross-references} that became one link to the whole target
  heads   headwords found, as the same headword, when typed as the source spells them

and lists the entries that fall short. Source notes ("[1913 Webster]") and sense numbers
("1.", "n 2:"), which the page shows as pictures, are not counted as words. Usage: bench/fidelity.py [--cli build/bin/lexora-cli] [-n 200] [--seed 21] [--show 5]
[DATABASE.index ...]
"""

import argparse
import collections
import glob
import gzip
import html.parser
import json
import os
import random
import re
import subprocess
import sys
import tempfile
import unicodedata

DIGITS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
# A sense number ("1.", "2)", WordNet's "n 1:"): the page marks a sense with its picture and
# spells the word class out ("noun").
SENSE_NUMBER = re.compile(r"(?m)^(\s*)(?:[a-z]{1,3} )?\d{0,3}[.):](?=\s)")
SOURCE_NOTE = re.compile(r"^\s*\[[^\]]*(Webster|PJC|WordNet|Century|Chambers|Johnson)[^\]]*\]\s*$")
# gcide's signs for accented letters ("[a^]", "['e]", "[ae]"): their letters only.
GCIDE_SIGN = re.compile(r"\[([=.~'`\"^\-*,]?[A-Za-z]{1,2}\^?|[a-z]{2,5})\]")
REFERENCE = re.compile(r"\{([^{}]*)\}")
LETTERS = {"æ": "ae", "Æ": "AE", "œ": "oe", "Œ": "OE", "ð": "th", "þ": "th", "ŋ": "ng"}


def number(digits):
    value = 0
    for c in digits:
        value = value * 64 + DIGITS.index(c)
    return value


def fold(text):
    """Letters without their marks, lower case: how two spellings are compared."""
    # A link word's no-break spaces and hyphens read as a lookup reads them.
    text = text.replace("\u00a0", " ").replace("\u2011", "-")
    # gcide's stress marks, shown as primes inside a respelled word, do not split it.
    text = re.sub(r"(?<=\w)[\u2032\u2033](?=\w)", "", text)
    text = unicodedata.normalize("NFKD", text)
    return "".join(LETTERS.get(c, c) for c in text if not unicodedata.combining(c)).lower()


# gcide's named signs: the letters of those that are letters ("[imac]" is ī); the others
# ("[root]", "[deg]", Greek letter names) are signs, not words.
GCIDE_NAMED = {"imac": "i", "aum": "a", "add": "a", "udd": "u", "asl": "a", "eth": "th",
               "thorn": "th", "th": "th", "ng": "ng", "yogh": "y", "dsdot": "d", "zdot": "z",
               "ae": "ae", "oe": "oe"}


def gcide_letters(text):
    def letters(match):
        code = match.group(1)
        if code.isalpha() and code.islower() and (len(code) > 2 or code in ("th", "ng")):
            return GCIDE_NAMED.get(code, " ")
        return "".join(c for c in code if c.isalpha())
    text = GCIDE_SIGN.sub(letters, text)
    # Stress and syllable marks inside a word.
    return re.sub(r"(?<=\w)[\"`*](?=\w)", "", text)


def words_of(text):
    return re.findall(r"\w+", fold(text))


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.text = []
        self.links = []

    def handle_starttag(self, tag, attrs):
        if tag == "a":
            self.links.append(dict(attrs).get("href", ""))
        if tag in ("br", "p"):
            self.text.append(" ")

    def handle_data(self, data):
        self.text.append(data)


def read_database(index_file):
    body_file = index_file[: -len(".index")] + ".dict.dz"
    opener = gzip.open if os.path.exists(body_file) else open
    if not os.path.exists(body_file):
        body_file = index_file[: -len(".index")] + ".dict"
    with opener(body_file, "rb") as f:
        body = f.read()
    texts = collections.defaultdict(list)
    with open(index_file, encoding="utf-8", errors="replace") as f:
        for line in f:
            fields = line.rstrip("\n").split("\t")
            if len(fields) < 3 or fields[0].startswith("00-database") or fields[0].startswith("00database"):
                continue
            offset, length = number(fields[1]), number(fields[2])
            text = body[offset : offset + length].decode("utf-8", errors="replace")
            if text not in texts[fields[0]]:
                texts[fields[0]].append(text)
    return texts


# Where the headword of a first line ends: at its pronunciation ("/.../", "[...]"), its word
# class ("<n>") or a TAB; with the second pattern also at a comma or an opening bracket.
HEAD_END = r" /(?=\S)| <| \[| \\|\t"
HEAD_END_SHORT = HEAD_END + r"| \(|,"


def squeezed(word):
    return re.sub(r"\W", "", fold(word))


def first_line(text):
    return next((l.strip() for l in text.split("\n") if l.strip()), "")


def spelling(key, text, gcide):
    """The headword as the text's first line writes it; the key when the line does not."""
    first = first_line(text)
    if gcide:
        for form in first.split("\\")[1::2]:
            spelled = re.sub(r"[\"`*]", "", decode_gcide(form))
            if squeezed(spelled) == squeezed(key.replace("'", "")):
                return spelled, True
        return key, False
    # "zwischen (zwei) Membranen /.../", "seine Besitztümer / seinen Besitz verloren haben /.../"
    # spell the whole key; "hack, n." does with its first word.
    for end in (HEAD_END, HEAD_END_SHORT):
        parts = re.split(end, first)
        spelled = parts[0].strip()
        # A full stop is the headword's own before a pronunciation or when the key has it.
        if not (end == HEAD_END and len(parts) > 1) and not key.rstrip().endswith("."):
            spelled = spelled.rstrip(".")
        if squeezed(spelled) == squeezed(key):
            return spelled, True
    return key, False


def owner(text, gcide, key=None):
    """The word that the first line of a text names: the entry that holds the text."""
    first = first_line(text)
    if gcide and "\\" in first:
        return re.sub(r"[\"`*]", "", decode_gcide(first.split("\\")[1]))
    spelled, named = spelling(key, text, False) if key is not None else ("", False)
    return spelled if named else re.split(HEAD_END_SHORT, first)[0].strip().rstrip(".")


def decode_gcide(text):
    marks = {"^": "\u0306", "=": "\u0304", ".": "\u0307", "~": "\u0303", "'": "\u0301",
             "`": "\u0300", '"': "\u0308", "-": "\u0331", "*": "\u030a", ",": "\u0327"}

    def sign(match):
        code = match.group(1)
        if len(code) == 2 and code[1] == "^":
            return unicodedata.normalize("NFC", code[0] + marks["^"])
        if len(code) == 2 and code[0] in marks:
            return unicodedata.normalize("NFC", code[1] + marks[code[0]])
        return {"ae": "æ", "AE": "Æ", "oe": "œ"}.get(code, match.group(0))
    return GCIDE_SIGN.sub(sign, text)


def run(cli, args, stdin=None):
    return subprocess.run([cli] + args, input=stdin, capture_output=True, text=True).stdout


def measure(cli, index_file, n, seed, show, scratch):
    name = os.path.basename(index_file)[: -len(".index")]
    gcide = name == "gcide"
    data = os.path.join(scratch, name + ".pvm")
    run(cli, ["import", "dictd", index_file, data, "--split"])
    volumes = sorted(glob.glob(os.path.join(scratch, name + "*.pvm")))
    texts = read_database(index_file)
    keys = sorted(texts)
    random.Random(seed).shuffle(keys)
    keys = keys[:n]
    shortfalls = []
    totals = collections.Counter()
    spellings = {k: spelling(k, texts[k][0], gcide) for k in keys}
    spelled = {k: w for k, (w, _) in spellings.items()}
    # A key that its text does not spell (an index key in lower case) is found in any case.
    exactly = {w: from_text for w, from_text in spellings.values()}
    answers = []
    for line in run(cli, ["lookup"] + volumes + ["-", "--json"], "\n".join(spelled[k] for k in keys) + "\n").splitlines():
        try:
            answers.append(json.loads(line))
        except ValueError:
            pass
    def same(headword, word):
        return headword == word or (not exactly.get(word, True) and fold(headword) == fold(word))
    found = {a["word"]: any(r.get("exact") and same(r.get("headword", ""), a["word"])
                            for r in a["results"]) for a in answers}
    for key in keys:
        # The page of the entry that holds the text: the word its first line names (an index
        # line may point into another entry's text), else the key's own.
        page = Page()
        for word in dict.fromkeys([owner(t, gcide, key) for t in texts[key]] + [spelled[key]]):
            for volume in volumes:
                rendered = json.loads(run(cli, ["render", volume, word, "--json"]) or "{}")
                if rendered.get("sign") == 0:
                    page.feed(rendered["page"])
                    break
        shown = collections.Counter(words_of("".join(page.text)))
        targets = collections.Counter(fold(h) for h in page.links)
        source_words = collections.Counter()
        refs = []
        pronunciations = set()
        for text in texts[key]:
            # gcide's syllabified word between backslashes repeats the headword.
            text = gcide_letters(re.sub(r"\\[^\\\n]*\\", " ", text)) if gcide else text
            # The headline repeats the headword, which the page shows once at its top, and so
            # does a pronunciation that several texts of the entry share.
            text = re.sub(r"^\s*" + re.escape(owner(text, False, key)), " ", text, count=1)
            said = re.match(r"\s*/[^/\n]+/", text)
            if said and said.group(0).strip() in pronunciations:
                text = text[said.end():]
            elif said:
                pronunciations.add(said.group(0).strip())
            kept = "\n".join(l for l in text.split("\n") if not SOURCE_NOTE.match(l))
            kept = SENSE_NUMBER.sub(r"\1", kept)
            source_words.update(words_of(kept.replace("{", "").replace("}", "")))
            # A target wrapped at its hyphen ("{Saint-\n Bernard's-lily}") is one word.
            refs += [re.sub(r"(?<=[A-Za-z])- ", "-", re.sub(r"\s+", " ", r)).strip()
                     for r in REFERENCE.findall(kept)]
        have = sum(min(c, shown[w]) for w, c in source_words.items())
        linked = sum(1 for r in refs if fold(r) in targets)
        head = found.get(spelled[key], False)
        totals.update(words=sum(source_words.values()), words_on=have, refs=len(refs),
                      refs_on=linked, heads=1, heads_on=int(head))
        if have < sum(source_words.values()) or linked < len(refs) or not head:
            lost = [w for w, c in source_words.items() if shown[w] < c][:8]
            missed = [r for r in refs if fold(r) not in targets][:4]
            shortfalls.append(f"  {key!r}: words lost {lost}, links missed {missed}"
                              + ("" if head else f", '{spelled[key]}' not found as itself"))
    def share(on, of):
        return f"{100.0 * totals[on] / totals[of]:.1f}%" if totals[of] else "–"
    print(f"| {name} | {share('words_on', 'words')} | {share('refs_on', 'refs')} | "
          f"{share('heads_on', 'heads')} |", flush=True)
    for s in shortfalls[:show]:
        print(s, file=sys.stderr)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cli", default=os.path.join(here, "..", "build", "bin", "lexora-cli"))
    parser.add_argument("-n", type=int, default=200)
    parser.add_argument("--seed", type=int, default=21)
    parser.add_argument("--show", type=int, default=5, help="short entries listed per database")
    parser.add_argument("databases", nargs="*")
    args = parser.parse_args()
    databases = args.databases or sorted(glob.glob("/usr/share/dictd/*.index"))
    if not databases:
        print("no dictd databases in /usr/share/dictd", file=sys.stderr)
        return 1
    print("| dictionary | source words on the page | {references} as one link | headwords found as spelled |")
    print("|---|---|---|---|")
    with tempfile.TemporaryDirectory() as scratch:
        env_registry = os.path.join(scratch, "registry.sqlite")
        os.environ["LEXORA_REGISTRY"] = env_registry
        for index_file in databases:
            measure(args.cli, index_file, args.n, args.seed, args.show, scratch)
    return 0


if __name__ == "__main__":
    sys.exit(main())
