#!/usr/bin/env python3
"""Writes, for the tests only, face art in which every pixel has a colour of its own, and a
resource script that is the library's own with those four bitmaps in place of the face:

    tools/make_distinct_face.py RESOURCE_SCRIPT OUT_DIR

The shipped face is uniform over wide stretches, where a band or piece placed a column or a
row off would paint the same pixels; over this art every such mistake shows. The bitmaps
keep the ids, sizes and depth (24 bits) of the shipped ones, the art for twice the density
(ids plus 2000) too; a pixel's colour encodes which bitmap it is in and where, so no colour
repeats across the eight.
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
