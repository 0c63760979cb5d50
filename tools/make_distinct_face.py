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
key where it has it, and two level bars of 16 and 2 colours at both densities. The pieces
come in the flavours of the format a skin may use (FLAVOURS, and 1, 4 and 8 bits); top_down/
is the same skin with the left face's rows from the top.
"""
import os
import re
import shutil
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


# The flavours of the format the pieces are written in, so that a skin made of them meets
# each: header bytes, bits per pixel, bit fields, rows from the top.
FLAVOURS = {
    "plain": (40, 24, False, False),
    "core": (12, 24, False, False),
    "top-down": (40, 24, False, True),
    "fields": (40, 32, True, False),
    "v4": (108, 32, False, False),
    "v5 fields": (124, 32, True, True),
}
MASKS = struct.pack("<III", 0xFF0000, 0xFF00, 0xFF)


def header_bytes(size, width, height, bits, fields, top_down, colours, pixels):
    if size == 12:
        return struct.pack("<IHHHH", 12, width, height, 1, bits)
    info = struct.pack("<IiiHHIIiiII", size, width, -height if top_down else height, 1, bits,
                       3 if fields else 0, pixels, 2835, 2835, colours, 0)
    # The 40-byte header's masks follow it; the later headers hold them, then the rest.
    return info + (MASKS if fields or size > 40 else b"") + bytes(size - 52 if size > 40 else 0)


def write_file(path, info, palette, pixels):
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + palette + pixels)


def write_bmp(path, colour_at, width, height, flavour="plain"):
    size, bits, fields, top_down = FLAVOURS[flavour]
    stride = (width * bits // 8 + 3) // 4 * 4
    rows = []
    for y in (range(height) if top_down else reversed(range(height))):
        row = bytearray()
        for x in range(width):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r)) + (b"\0" if bits == 32 else b"")
        rows.append(bytes(row) + bytes(stride - len(row)))
    pixels = b"".join(rows)
    write_file(path, header_bytes(size, width, height, bits, fields, top_down, 0, len(pixels)), b"", pixels)


def write_indexed(path, bits, width, height, index_at, colours=16):
    """A picture with a palette of its own."""
    palette = b"".join(bytes(((7 * i) % 16 * 16, 255 - 16 * i, 16 * i, 0)) for i in range(colours))
    stride = (width * bits + 31) // 32 * 4
    rows = []
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            row[x * bits // 8] |= index_at(x, y) << (8 - bits - x * bits % 8)
        rows.append(bytes(row))
    pixels = b"".join(rows)
    write_file(path, header_bytes(40, width, height, bits, False, False, colours, len(pixels)), palette, pixels)


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
    for suffix, resource, bits in (("", 165, 4), ("@2x", 2165, 8)):
        path = os.path.join(out_dir, f"query_165{suffix}.bmp")
        times = 2 if suffix else 1
        write_indexed(path, bits, 585 * times, 14 * times, lambda x, y: (x + 3 * y) % 16)
        replaced[resource] = path
    for suffix, resource, times in (("", 169, 1), ("@2x", 2169, 2)):
        path = os.path.join(out_dir, f"query_169{suffix}.bmp")
        write_indexed(path, 1, 585 * times, 14 * times, lambda x, y: (x // 5 + y) % 2, colours=2)
        replaced[resource] = path


def main():
    script, out_dir = sys.argv[1], sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    art_dir = os.path.dirname(os.path.abspath(script))
    replaced = {}
    first = 0
    flavours = [("core", "fields"), ("plain", "plain"), ("v4", "plain"), ("plain", "plain")]
    for index, (resource, (name, width, height)) in enumerate(sorted(FACE.items())):
        plain, doubled = flavours[index]
        path = os.path.join(out_dir, name)
        write_bmp(path, lambda x, y: colour(index, x, y), width, height, plain)
        replaced[resource] = path
        path = os.path.join(out_dir, name.replace(".bmp", "@2x.bmp"))
        write_bmp(path, colour2x(first, 2 * width), 2 * width, 2 * height, doubled)
        replaced[resource + 2000] = path
        first += 4 * width * height
    write_others(art_dir, out_dir, replaced)
    # The same skin with a piece's rows from the top, which the library's resources cannot
    # carry (the system's loader turns them over when the face is widened).
    top_down = os.path.join(out_dir, "top_down")
    os.makedirs(top_down, exist_ok=True)
    for name in os.listdir(out_dir):
        if name.endswith(".bmp"):
            shutil.copyfile(os.path.join(out_dir, name), os.path.join(top_down, name))
    write_bmp(os.path.join(top_down, "face_left.bmp"), lambda x, y: colour(1, x, y), 11, 552, "top-down")

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
