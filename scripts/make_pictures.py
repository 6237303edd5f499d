#!/usr/bin/env python3
"""Draws the four 16x16 line-mark pictures of entry pages and writes them as GIF89a files.

Usage: scripts/make_pictures.py [OUTPUT_DIR]   (default: resources/pictures beside this script)

Each picture is drawn as a character grid; '.' is transparent, other characters name palette
colours. The GIF writer below is self-contained (LZW with variable code width).
"""
import os
import struct
import sys

PALETTE = {
    '.': (255, 255, 255),  # transparent
    'k': (40, 40, 40),
    'w': (255, 255, 255),
    'b': (30, 90, 200),    # meaning: blue
    'r': (200, 40, 40),    # word class: red
    'g': (30, 140, 60),    # synonym: green
    'p': (130, 50, 160),   # idiom: purple
    'l': (150, 190, 240),
    'o': (240, 170, 170),
}

# A meaning mark: a blue pointer, like a list bullet.
MEANING = """
................
................
....bb..........
....bbbb........
....bbbbbb......
....bbbbbbbb....
....bbbbbbbbbb..
....bbbbbbbbbbb.
....bbbbbbbbbbb.
....bbbbbbbbbb..
....bbbbbbbb....
....bbbbbb......
....bbbb........
....bb..........
................
................
"""

# A word-class mark: a red tag with a hole.
WORD = """
................
................
.....rrrrrrrrr..
....rrrrrrrrrr..
...rrrrrrrrrrr..
..rrrwwrrrrrrr..
..rrrwwrrrrrrr..
...rrrrrrrrrrr..
....rrrrrrrrrr..
.....rrrrrrrrr..
................
................
................
................
................
................
"""

# A synonym mark: two green arrows pointing at each other's start.
SYNONYM = """
................
................
..........g.....
..........gg....
..gggggggggggg..
..gggggggggggg..
..........gg....
..........g.....
.....g..........
....gg..........
..gggggggggggg..
..gggggggggggg..
....gg..........
.....g..........
................
................
"""

# An idiom mark: a purple speech bubble with three dots.
IDIOM = """
................
................
...pppppppppp...
..pppppppppppp..
..pppppppppppp..
..ppwwpwwpwwpp..
..ppwwpwwpwwpp..
..pppppppppppp..
..pppppppppppp..
...pppppppppp...
....ppp.........
....pp..........
....p...........
................
................
................
"""

PICTURES = {
    'meaning.gif': MEANING,
    'word.gif': WORD,
    'syn-ant.gif': SYNONYM,
    'Idiom.gif': IDIOM,
}


def grid(art):
    rows = [r for r in art.strip('\n').split('\n')]
    assert len(rows) == 16, len(rows)
    for r in rows:
        assert len(r) == 16, r
    return rows


def lzw(indices, min_code_size):
    """GIF LZW: variable-width codes, packed little-endian bit first."""
    clear = 1 << min_code_size
    end = clear + 1
    out_bits = []

    def emit(code, width):
        for i in range(width):
            out_bits.append((code >> i) & 1)

    table = {(i,): i for i in range(clear)}
    next_code = end + 1
    width = min_code_size + 1
    emit(clear, width)
    current = ()
    for index in indices:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table = {(i,): i for i in range(clear)}
            next_code = end + 1
            width = min_code_size + 1
        current = (index,)
    if current:
        emit(table[current], width)
    emit(end, width)
    data = bytearray()
    for i in range(0, len(out_bits), 8):
        byte = 0
        for j, bit in enumerate(out_bits[i:i + 8]):
            byte |= bit << j
        data.append(byte)
    return bytes(data)


def gif(rows):
    used = sorted(set(''.join(rows)), key=lambda c: (c != '.', c))
    size_bits = 1
    while (1 << size_bits) < len(used):
        size_bits += 1
    table_size = 1 << size_bits
    colours = [PALETTE[c] for c in used] + [(0, 0, 0)] * (table_size - len(used))
    index_of = {c: i for i, c in enumerate(used)}
    pixels = [index_of[c] for row in rows for c in row]
    min_code_size = max(2, size_bits)

    out = bytearray(b'GIF89a')
    out += struct.pack('<HHBBB', 16, 16, 0x80 | (size_bits - 1), 0, 0)
    for rgb in colours:
        out += bytes(rgb)
    transparent = index_of.get('.', 0)
    out += bytes([0x21, 0xF9, 4, 0x01, 0, 0, transparent, 0])
    out += b'\x2c' + struct.pack('<HHHHB', 0, 0, 16, 16, 0)
    out.append(min_code_size)
    data = lzw(pixels, min_code_size)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += b'\x00\x3b'
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'resources', 'pictures')
    os.makedirs(target, exist_ok=True)
    for name, art in PICTURES.items():
        with open(os.path.join(target, name), 'wb') as f:
            f.write(gif(grid(art)))


if __name__ == '__main__':
    main()
