#!/usr/bin/env python3
"""Writes, for the tests only, face art in which every pixel has a colour of its own, and a
resource script that is the library's own with those four bitmaps in place of the face:

    tools/make_distinct_face.py RESOURCE_SCRIPT OUT_DIR

The shipped face is uniform over wide stretches, where a band or piece placed a column or a
row off would paint the same pixels; over this art every such mistake shows. The bitmaps
keep the ids, sizes and depth (24 bits) of the shipped ones, the art for twice the density
(ids plus 2000) too; a pixel's colour encodes which bitmap it is in and where, so no colour
repeats across the eight.

A few other pieces are replaced as well, so that the folder written is also a skin whose
pictures a library built over them must show: a button strip at 1x only (a skin's 1x piece
is enlarged at scale 2), a slip's thumb at both densities with the built-in art's transparent
key where it has it, and a level bar of 16 colours at both densities.
"""
import os
import re
import struct
import sys

# Resource id, file name and design size of each face bitmap.
FACE = {
    102: ("face_top.bmp", 1024, 15),
    103: ("face_left.bmp", 11, 552),
    104: ("face_right.bmp", 184, 552),
    105: ("face_bottom.bmp", 1024, 201),
}


def colour(index, x, y):
    # 0b01ii yyyyyyyyyy xxxxxxxxxx: the bit above keeps every colour away from the tests'
    # "untouched" fill, 0x123456.
    value = (4 | index) << 20 | y << 10 | x
    return value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF


def colour2x(first, width):
    # The double-density pixels numbered one after another across the four bitmaps, from
    # first; the top bit keeps them away from the design-size colours and the fill.
    def at(x, y):
        value = 0x800000 | first + y * width + x
        return value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF
    return at


def write_bmp(path, colour_at, width, height):
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in reversed(range(height)):  # bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + bytes(stride - len(row)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def write_bmp4(path, width, height):
    # A palette of its own, each pixel's index running along the rows.
    palette = b"".join(bytes((16 * i, 255 - 16 * i, (7 * i) % 16 * 16, 0)) for i in range(16))
    stride = (width * 4 + 31) // 32 * 4
    rows = []
    for y in reversed(range(height)):
        indices = [(x + 3 * y) % 16 for x in range(width)] + [0]
        row = bytes(indices[x] << 4 | indices[x + 1] for x in range(0, width, 2))
        rows.append(row + bytes(stride - len(row)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + palette + pixels)


def read_bmp24(path):
    """The pixels of one of the art's 24-bit bitmaps, rows from the top, as (r, g, b)."""
    with open(path, "rb") as source:
        data = source.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) // 4 * 4
    rows = [[tuple(data[offset + y * stride + 3 * x + 2 - c] for c in range(3)) for x in range(width)]
            for y in range(height)]
    return width, height, rows[::-1]


KEY = (255, 0, 255)


def write_others(art_dir, out_dir, replaced):
    """The pieces beyond the face: see the module's notes."""
    button = lambda x, y: ((0xC0 | y), x >> 8, x & 0xFF)
    path = os.path.join(out_dir, "button_111.bmp")
    write_bmp(path, button, 135, 20)
    replaced[111] = path
    # What the library shows of it at scale 2, built in: outside the skin's folder.
    os.makedirs(os.path.join(out_dir, "built"), exist_ok=True)
    path = os.path.join(out_dir, "built", "button_111_enlarged.bmp")
    write_bmp(path, lambda x, y: button(x // 2, y // 2), 270, 40)
    replaced[2111] = path
    for suffix, resource in (("", 116), ("@2x", 2116)):
        width, height, rows = read_bmp24(os.path.join(art_dir, "art", f"slip_116{suffix}.bmp"))
        path = os.path.join(out_dir, f"slip_116{suffix}.bmp")
        write_bmp(path, lambda x, y: KEY if rows[y][x] == KEY else (0xD0, y, x), width, height)
        replaced[resource] = path
    for suffix, resource, times in (("", 165, 1), ("@2x", 2165, 2)):
        path = os.path.join(out_dir, f"query_165{suffix}.bmp")
        write_bmp4(path, 585 * times, 14 * times)
        replaced[resource] = path


def main():
    script, out_dir = sys.argv[1], sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    art_dir = os.path.dirname(os.path.abspath(script))
    replaced = {}
    first = 0
    for index, (resource, (name, width, height)) in enumerate(sorted(FACE.items())):
        path = os.path.join(out_dir, name)
        write_bmp(path, lambda x, y: colour(index, x, y), width, height)
        replaced[resource] = path
        path = os.path.join(out_dir, name.replace(".bmp", "@2x.bmp"))
        write_bmp(path, colour2x(first, 2 * width), 2 * width, 2 * height)
        replaced[resource + 2000] = path
        first += 4 * width * height
    write_others(art_dir, out_dir, replaced)

    with open(script) as source:
        text = source.read()
    lines = []
    for line in text.splitlines():
        match = re.match(r'^(\d+)\s+(BITMAP|CURSOR)\s+"([^"]+)"(.*)$', line)
        if match:
            resource, kind, file, rest = int(match.group(1)), match.group(2), match.group(3), match.group(4)
            path = replaced.get(resource, os.path.join(art_dir, file))
            line = f'{resource} {kind} "{path.replace(os.sep, "/")}"{rest}'
        lines.append(line)
    with open(os.path.join(out_dir, "veltra1024_distinct.rc"), "w") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
