#!/usr/bin/env python3
"""Build a 16-colour .ico file from text pixel art.

The icon is kept in the repository as text so that a change to it can be
reviewed in a diff like any other source change; this turns that text into
the bytes windres embeds.

Usage:
    make_icon.py --palette PALETTE --output OUT.ico SIZE=ART [SIZE=ART ...]

PALETTE lists one CHARACTER COLOUR [NAME] per line: sixteen RRGGBB colours in
palette order and exactly one character whose COLOUR is "transparent". Each
ART file holds SIZE rows of SIZE characters from the palette. In both kinds
of file, lines starting with "#" are comments. Images are written in the
order given on the command line.

Every image is written the way the classic icon loader expects a 16-colour
icon: a BITMAPINFOHEADER whose height counts the colour bitmap and the mask
together, the 16-entry palette, the 4-bit colour rows and then the 1-bit
transparency mask rows, both bottom-up and padded to 4 bytes. Nothing in the
output depends on the time or the machine, so the same art always gives the
same bytes.
"""

import argparse
import os
import re
import struct
import sys
import tempfile

PALETTE_SIZE = 16
BITS_PER_PIXEL = 4
TRANSPARENT = "transparent"
BITMAPINFOHEADER_SIZE = 40
ICONDIR_SIZE = 6
ICONDIRENTRY_SIZE = 16


class ArtError(Exception):
    """A problem with the input the user has to fix; reported without a traceback."""


def content_lines(path):
    """Yield (line number, text) for every non-comment line of a text file."""
    try:
        with open(path, "r", encoding="ascii", newline="") as f:
            text = f.read()
    except OSError as e:
        raise ArtError(f"{path}: cannot read: {e.strerror}") from None
    except UnicodeDecodeError as e:
        raise ArtError(f"{path}: byte {e.start} is not ASCII") from None
    # Accept either line ending so that a checkout with CRLF still builds
    # the same icon.
    lines = text.split("\n")
    if lines[-1] == "":
        lines.pop()  # the newline ending the last line starts no new one
    for number, line in enumerate(lines, start=1):
        if line.endswith("\r"):
            line = line[:-1]
        if line.startswith("#"):
            continue
        yield number, line


def read_palette(path):
    """Return (list of 16 (r, g, b), {character: palette index or None})."""
    colours = []
    legend = {}
    for number, line in content_lines(path):
        if not line.strip():
            continue
        fields = line.split()
        where = f"{path}:{number}"
        if len(fields) < 2:
            raise ArtError(f"{where}: expected 'CHARACTER COLOUR [NAME]', got {line!r}")
        char, colour = fields[0], fields[1]
        if len(char) != 1 or char == "#":
            raise ArtError(f"{where}: {char!r} is not a usable single pixel character")
        if char in legend:
            raise ArtError(f"{where}: character {char!r} is defined twice")
        if colour.lower() == TRANSPARENT:
            if None in legend.values():
                raise ArtError(f"{where}: only one character may be transparent")
            legend[char] = None
            continue
        if not re.fullmatch(r"[0-9A-Fa-f]{6}", colour):
            raise ArtError(f"{where}: colour {colour!r} is neither RRGGBB nor '{TRANSPARENT}'")
        if len(colours) == PALETTE_SIZE:
            raise ArtError(f"{where}: more than {PALETTE_SIZE} colours")
        legend[char] = len(colours)
        colours.append(tuple(int(colour[i:i + 2], 16) for i in (0, 2, 4)))
    if len(colours) != PALETTE_SIZE:
        raise ArtError(f"{path}: has {len(colours)} colours, a 16-colour icon needs exactly {PALETTE_SIZE}")
    if None not in legend.values():
        raise ArtError(f"{path}: no character is marked '{TRANSPARENT}'")
    return colours, legend


def read_art(path, size, legend):
    """Return the image as rows (top first) of palette indices, None for transparent."""
    rows = []
    for number, line in content_lines(path):
        where = f"{path}:{number}"
        if len(rows) == size:
            raise ArtError(f"{where}: more than {size} rows for a {size}x{size} image")
        if len(line) != size:
            raise ArtError(f"{where}: row is {len(line)} pixels wide, expected {size}")
        row = []
        for column, char in enumerate(line, start=1):
            if char not in legend:
                raise ArtError(f"{where}:{column}: character {char!r} is not in the palette")
            row.append(legend[char])
        rows.append(row)
    if len(rows) != size:
        raise ArtError(f"{path}: has {len(rows)} rows, expected {size}")
    return rows


def padded(row_bytes):
    """Bitmap rows are stored in whole 32-bit words."""
    return row_bytes + bytes(-len(row_bytes) % 4)


def encode_image(rows, colours):
    """The bytes of one icon image: header, palette, colour bits, mask bits."""
    size = len(rows)
    colour_rows = []
    mask_rows = []
    for row in reversed(rows):  # bitmaps are stored bottom-up
        nibbles = [0 if index is None else index for index in row]
        if len(nibbles) % 2:
            nibbles.append(0)
        colour_rows.append(padded(bytes(
            (nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))))
        mask = bytearray((size + 7) // 8)
        for x, index in enumerate(row):
            if index is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(padded(bytes(mask)))
    colour_bits = b"".join(colour_rows)
    mask_bits = b"".join(mask_rows)
    header = struct.pack(
        "<IiiHHIIiiII",
        BITMAPINFOHEADER_SIZE,
        size,
        size * 2,  # colour bitmap and mask stacked
        1,  # planes
        BITS_PER_PIXEL,
        0,  # BI_RGB
        len(colour_bits) + len(mask_bits),
        0, 0,  # no resolution
        PALETTE_SIZE,
        0,  # all colours important
    )
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    return header + palette + colour_bits + mask_bits


def encode_icon(images, colours):
    """The whole .ico: ICONDIR, one ICONDIRENTRY per image, then the images."""
    blobs = [encode_image(rows, colours) for rows in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))  # reserved, type 1 = icon
    offset = ICONDIR_SIZE + ICONDIRENTRY_SIZE * len(blobs)
    for rows, blob in zip(images, blobs):
        size_byte = len(rows) % 256  # 0 means 256
        out += struct.pack("<BBBBHHII", size_byte, size_byte, PALETTE_SIZE, 0,
                           1, BITS_PER_PIXEL, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def parse_image_argument(text):
    match = re.fullmatch(r"(\d+)=(.+)", text)
    if not match:
        raise ArtError(f"image argument {text!r} is not SIZE=ART_FILE")
    size = int(match.group(1))
    if not 1 <= size <= 256:
        raise ArtError(f"image argument {text!r}: size must be 1 to 256")
    return size, match.group(2)


def write_atomically(path, data):
    """Never leave a half-written icon behind for the build to pick up."""
    directory = os.path.dirname(os.path.abspath(path))
    fd, temporary = tempfile.mkstemp(dir=directory, prefix=".make_icon-")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.chmod(temporary, 0o644)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--palette", required=True, help="legend file")
    parser.add_argument("--output", required=True, help=".ico file to write")
    parser.add_argument("images", nargs="+", metavar="SIZE=ART", help="one image per size")
    args = parser.parse_args(argv)
    try:
        colours, legend = read_palette(args.palette)
        images = []
        seen = set()
        for text in args.images:
            size, path = parse_image_argument(text)
            if size in seen:
                raise ArtError(f"two images of size {size}x{size}")
            seen.add(size)
            images.append(read_art(path, size, legend))
        write_atomically(args.output, encode_icon(images, colours))
    except ArtError as e:
        print(f"{parser.prog}: error: {e}", file=sys.stderr)
        return 1
    except OSError as e:
        print(f"{parser.prog}: error: {args.output}: {e.strerror}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
