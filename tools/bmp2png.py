#!/usr/bin/env python3
"""Converts a 24-bit bottom-up BMP (as the demo saves the screen) into a PNG.

Usage: python3 tools/bmp2png.py SCREEN.bmp SCREEN.png
"""
import struct
import sys

from make_art import Canvas, png_bytes, write


def read_bmp24(path):
    with open(path, "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24 or height <= 0:
        raise SystemExit(f"{path}: not a 24-bit bottom-up BMP")
    stride = (width * 3 + 3) & ~3
    picture = Canvas(width, height)
    for y in range(height):
        row = data[offset + (height - 1 - y) * stride:][:width * 3]
        picture.px[y * width:(y + 1) * width] = [(row[i + 2], row[i + 1], row[i]) for i in range(0, width * 3, 3)]
    return picture


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    write(sys.argv[2], png_bytes(read_bmp24(sys.argv[1])))
