#!/usr/bin/env python3
"""Writes VestroFile.ico: a yellow folder with a blue arrow going into it, 32x32 and 16x16,
16 colours (4 bits per pixel) each. The artwork is the pixel maps below; run this script after
changing them:  python3 make_icon.py [output path]
"""
import struct
import sys
from pathlib import Path

# The standard 16-colour Windows palette, and the letters the pixel maps use for it.
PALETTE = [
    ("k", 0x000000), ("m", 0x800000), ("d", 0x008000), ("o", 0x808000),
    ("n", 0x000080), ("p", 0x800080), ("t", 0x008080), ("s", 0xC0C0C0),
    ("a", 0x808080), ("r", 0xFF0000), ("g", 0x00FF00), ("y", 0xFFFF00),
    ("b", 0x0000FF), ("f", 0xFF00FF), ("c", 0x00FFFF), ("w", 0xFFFFFF),
]
INDEX = {letter: index for index, (letter, _) in enumerate(PALETTE)}
TRANSPARENT = "."

ICON_32 = """
..............nnnnnn............
..............nbbbbn............
..............nbcbbn............
..............nbcbbn............
..............nbcbbn............
..oooooooo....nbcbbn............
.oyyyyyyyyo...nbcbbn............
oyywwwwwwyyo..nbcbbn............
oywyyyyyyyyyoonbcbbnooooooooo...
oywyyyyyyyyyyynbcbbnyyyyyyyyyo..
oywyyyyyyyyyyynbcbbnyyyyyyyyyo..
oywyyyyyyyyyynnbcbbnnyyyyyyyyo..
oywyyyyyyyyynbbbcbbbbnyyyyyyyo..
oywyyyyyyyynbbbbcbbbbbnyyyyyyo..
oyoooooooonbbbbbcbbbbbbnooooooo.
oywwwwwwwwnbbbbbbbbbbbbnwwwwwwyo
oywyyyyyyyynbbbbbbbbbbnyyyyyyyyo
oywyyyyyyyyynbbbbbbbbnyyyyyyyyyo
oywyyyyyyyyyynbbbbbbnyyyyyyyyyyo
oywyyyyyyyyyyynbbbbnyyyyyyyyyyyo
oywyyyyyyyyyyyynbbnyyyyyyyyyyyyo
oywyyyyyyyyyyyyynnyyyyyyyyyyyyyo
oywyyyyyyyyyyyyyyyyyyyyyyyyyyyyo
oywyyyyyyyyyyyyyyyyyyyyyyyyyyyyo
oywyyyyyyyyyyyyyyyyyyyyyyyyyyyyo
oywyyyyyyyyyyyyyyyyyyyyyyyyyyyyo
oywyyyyyyyyyyyyyyyyyyyyyyyyyyyyo
oyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyo
oyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyo
oooooooooooooooooooooooooooooooo
.kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk
................................
"""

ICON_16 = """
.......nnn......
.......nbn......
.oooo..nbn......
oyyyyo.nbn......
oywyyyonbnoooo..
oywyynnnbnnnyyo.
oyooonbbbbbnooo.
oywwwwnbbbnwwwyo
oywyyyynbnyyyyyo
oywyyyyynyyyyyyo
oywyyyyyyyyyyyyo
oywyyyyyyyyyyyyo
oyyyyyyyyyyyyyyo
oooooooooooooooo
.kkkkkkkkkkkkkkk
................
"""


def rows_of(art, size):
    rows = [line for line in art.strip("\n").split("\n")]
    if len(rows) != size or any(len(row) != size for row in rows):
        raise ValueError(f"the {size}x{size} pixel map is not {size} rows of {size} pixels")
    return rows


def padded(row_bytes):
    return row_bytes + b"\0" * (-len(row_bytes) % 4)


def image_bytes(art, size):
    """One icon image: BITMAPINFOHEADER, palette, 4-bit colour bits, 1-bit transparency mask."""
    rows = rows_of(art, size)
    colour_rows = []
    mask_rows = []
    for row in reversed(rows):  # bitmaps are stored bottom-up
        indices = [0 if pixel == TRANSPARENT else INDEX[pixel] for pixel in row]
        colour = bytes((indices[x] << 4) | indices[x + 1] for x in range(0, size, 2))
        colour_rows.append(padded(colour))
        mask_bits = 0
        for pixel in row:
            mask_bits = (mask_bits << 1) | (1 if pixel == TRANSPARENT else 0)
        mask_rows.append(padded(mask_bits.to_bytes(size // 8, "big")))
    bits = b"".join(colour_rows) + b"".join(mask_rows)
    # The height counts the colour bits and the mask together, as icons require.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(bits), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16, 0)
                       for _, rgb in PALETTE)
    return header + palette + bits


def icon_file(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    entries = b""
    offset = len(directory) + 16 * len(images)
    for size, data in images:
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, data in images)


def main():
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("VestroFile.ico")
    output.write_bytes(icon_file([(32, image_bytes(ICON_32, 32)), (16, image_bytes(ICON_16, 16))]))


if __name__ == "__main__":
    main()
