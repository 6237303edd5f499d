#!/usr/bin/env python3
"""Converts a dictd database into a StarDict dictionary (for the batch-lookup comparison).

Usage: dictd_to_stardict.py INDEXFILE OUTFOLDER [--bookname NAME]

INDEXFILE is a dictd index (`word TAB offset TAB length`, numbers in dictd's base64 with the
alphabet A-Za-z0-9+/); its text file NAME.dict.dz (gzip) or NAME.dict lies beside it.
OUTFOLDER receives NAME.ifo, NAME.idx and NAME.dict (plain text, sametypesequence=m).

- The 00-database-* / 00database* entries are left out; 00-database-short names the book
  unless --bookname is given.
- Index lines with the same headword (byte for byte) become one entry whose texts are joined
  by a blank line, in index order; a StarDict word list holds no two equal words.
- Index lines that point at the same text share that text in the .dict file.
- The word list is sorted as StarDict requires: ASCII case-insensitive byte order first, plain
  byte order to break ties.
- Headwords of 256 bytes or more (the format's limit) and lines whose text lies past the end
  of the text file are skipped and counted on stderr.
Python standard library only.
"""

import argparse
import gzip
import os
import struct
import sys

_B64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
_B64_VALUE = {c: i for i, c in enumerate(_B64)}
# ASCII letters folded to lower case; every other byte (non-ASCII too) stays as it is.
_ASCII_LOWER = bytes.maketrans(b"ABCDEFGHIJKLMNOPQRSTUVWXYZ", b"abcdefghijklmnopqrstuvwxyz")
MAX_WORD_BYTES = 255


def decode_b64_number(text):
    """dictd's base64 number: most significant digit first."""
    if not text:
        raise ValueError("empty number")
    value = 0
    for c in text:
        digit = _B64_VALUE.get(c)
        if digit is None:
            raise ValueError("bad base64 digit %r" % c)
        value = value * 64 + digit
    return value


def stardict_key(word):
    """Sort key for StarDict's word order: ASCII case-insensitive compare, then byte compare."""
    return (word.translate(_ASCII_LOWER), word)


def is_meta_entry(word):
    return word.startswith(b"00-database-") or word.startswith(b"00database")


def text_file_for(index_file):
    base = index_file[:-len(".index")] if index_file.endswith(".index") else index_file
    for candidate in (base + ".dict.dz", base + ".dict"):
        if os.path.isfile(candidate):
            return candidate
    return None


def read_text(path):
    if path.endswith(".dz") or path.endswith(".gz"):
        with gzip.open(path, "rb") as f:
            return f.read()
    with open(path, "rb") as f:
        return f.read()


def short_title(text):
    """The 00-database-short text without its headword line and surrounding space."""
    lines = [line.strip() for line in text.decode("utf-8", "replace").splitlines()]
    lines = [line for line in lines if line]
    if lines and lines[0] == "00-database-short" and len(lines) > 1:
        lines = lines[1:]
    return lines[0] if lines else ""


def convert(index_file, out_folder, bookname=None):
    text_path = text_file_for(index_file)
    if text_path is None:
        raise SystemExit("%s: no .dict.dz or .dict file beside it" % index_file)
    body = read_text(text_path)

    entries = {}  # headword bytes -> list of (offset, length), index order
    skipped = 0
    title = None
    with open(index_file, "rb") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip(b"\r\n")
            if not line:
                continue
            fields = line.split(b"\t")
            if len(fields) < 3:
                print("%s:%d: skipped: not word TAB offset TAB length" % (index_file, number),
                      file=sys.stderr)
                skipped += 1
                continue
            word = fields[0]
            try:
                offset = decode_b64_number(fields[1].decode("ascii"))
                length = decode_b64_number(fields[2].decode("ascii"))
            except (ValueError, UnicodeDecodeError) as e:
                print("%s:%d: skipped: %s" % (index_file, number, e), file=sys.stderr)
                skipped += 1
                continue
            if offset > len(body) or length > len(body) - offset:
                print("%s:%d: skipped: text past the end of %s" % (index_file, number, text_path),
                      file=sys.stderr)
                skipped += 1
                continue
            if is_meta_entry(word):
                if word in (b"00-database-short", b"00databaseshort") and title is None:
                    title = short_title(body[offset:offset + length])
                continue
            if not word or len(word) > MAX_WORD_BYTES or b"\0" in word:
                print("%s:%d: skipped: headword empty, too long or holding NUL" %
                      (index_file, number), file=sys.stderr)
                skipped += 1
                continue
            texts = entries.setdefault(word, [])
            if (offset, length) not in texts:
                texts.append((offset, length))

    if bookname is None:
        bookname = title or os.path.basename(index_file)[:-len(".index")] or "dictionary"
    bookname = bookname.replace("\n", " ").strip()

    # The .dict file: each distinct text (or joined group of texts) once.
    dict_parts = []
    dict_size = 0
    placed = {}  # tuple of (offset, length) -> (dict offset, size)
    idx_entries = []
    for word in sorted(entries, key=stardict_key):
        group = tuple(entries[word])
        where = placed.get(group)
        if where is None:
            data = b"\n\n".join(body[o:o + n].rstrip(b"\n") for o, n in group) + b"\n"
            where = (dict_size, len(data))
            placed[group] = where
            dict_parts.append(data)
            dict_size += len(data)
        idx_entries.append(word + b"\0" + struct.pack(">II", *where))
    if dict_size >= 1 << 32:
        raise SystemExit("%s: the text is too big for 32-bit offsets" % index_file)

    os.makedirs(out_folder, exist_ok=True)
    name = os.path.basename(index_file)[:-len(".index")] or "dictionary"
    base = os.path.join(out_folder, name)
    idx = b"".join(idx_entries)
    with open(base + ".dict", "wb") as f:
        f.writelines(dict_parts)
    with open(base + ".idx", "wb") as f:
        f.write(idx)
    with open(base + ".ifo", "w", encoding="utf-8", newline="\n") as f:
        f.write("StarDict's dict ifo file\n")
        f.write("version=2.4.2\n")
        f.write("bookname=%s\n" % bookname)
        f.write("wordcount=%d\n" % len(idx_entries))
        f.write("idxfilesize=%d\n" % len(idx))
        f.write("sametypesequence=m\n")
    print("%s: %d words, %d texts, %d bytes of text, %d index lines skipped" %
          (base, len(idx_entries), len(placed), dict_size, skipped), file=sys.stderr)
    return bookname


def main():
    parser = argparse.ArgumentParser(description="Convert a dictd database to StarDict.")
    parser.add_argument("index", help="the dictd NAME.index file")
    parser.add_argument("out", help="folder for NAME.ifo, NAME.idx, NAME.dict")
    parser.add_argument("--bookname", help="the book name (default: 00-database-short)")
    args = parser.parse_args()
    print(convert(args.index, args.out, args.bookname))


if __name__ == "__main__":
    main()
