#!/usr/bin/env python3
"""Draws the skin's artwork: the face bitmaps and the hand cursor.

Run from the repository root:  python3 tools/make_art.py [--preview DIR]
--preview also writes PNG pictures of the face at 1024 x 768 and, widened the library's
way, at 1920 x 1080, to judge the art and its seams by eye.
Standard library only, and deterministic: every run writes the same bytes.
"""
import os
import sys
import random
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART_DIR = os.path.join(ROOT, "res", "art")

# Palette: graphite metal, near black-blue displays, a quiet teal accent.
METAL = (60, 64, 71)
HILITE = (126, 132, 141)
SHADOW = (26, 28, 33)
OUTLINE = (10, 11, 14)
SOFT_HI = (88, 93, 101)
SOFT_SH = (40, 43, 49)
DISPLAY = (8, 12, 19)
DISPLAY_HI = (52, 66, 76)
DISPLAY_RULE = (17, 25, 33)
ACCENT = (58, 160, 172)
TEXT = (150, 192, 198)
HOST = (213, 237, 245)

# Lengths the library repeats when the screen is larger than 1024 x 768.
# Each band is (first line, width); each band's lines must all be alike.
TOP_BANDS = [(100, 100)]
LEFT_BANDS = [(100, 20), (450, 20)]
RIGHT_BANDS = [(300, 100)]
BOTTOM_STRIPS = [
    ((0, 138), [(200, 300)]),
    ((139, 155), [(80, 40), (190, 30), (245, 10), (300, 10), (368, 10),
                  (426, 10), (470, 10), (560, 40), (800, 40)]),
    ((156, 200), [(225, 7), (347, 7), (469, 7), (591, 7), (713, 7), (770, 30)]),
]


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, w, h, color=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [color] * (w * h)


def blit(dst, src, x, y, xs=None, ys=None):
    """Copies src to (x, y); xs and ys pick (and may repeat) source columns and rows."""
    xs = xs if xs is not None else range(src.w)
    ys = ys if ys is not None else range(src.h)
    for j, sy in enumerate(ys):
        row = src.px[sy * src.w:(sy + 1) * src.w]
        base = (y + j) * dst.w + x
        dst.px[base:base + len(xs)] = [row[sx] for sx in xs]


def shade(c, d):
    return tuple(max(0, min(255, v + d)) for v in c)


def fill(cv, x, y, w, h, color):
    x0, y0 = max(x, 0), max(y, 0)
    x1, y1 = min(x + w, cv.w), min(y + h, cv.h)
    for row in range(y0, y1):
        cv.px[row * cv.w + x0:row * cv.w + x1] = [color] * (x1 - x0)


def hline(cv, x, y, w, color):
    fill(cv, x, y, w, 1, color)


def vline(cv, x, y, h, color):
    fill(cv, x, y, 1, h, color)


def bevel(cv, x, y, w, h, light, dark):
    """Raised edge drawn on the rectangle's own border pixels."""
    hline(cv, x, y, w, light)
    vline(cv, x, y, h, light)
    hline(cv, x + 1, y + h - 1, w - 1, dark)
    vline(cv, x + w - 1, y + 1, h - 1, dark)


def recess(cv, x, y, w, h, inner=None, dark=SHADOW, light=HILITE):
    """Sunken edge drawn just outside (x, y, w, h), so the inside stays exactly
    the rectangle the host paints into."""
    if inner is not None:
        fill(cv, x, y, w, h, inner)
    hline(cv, x - 1, y - 1, w + 1, dark)
    vline(cv, x - 1, y - 1, h + 1, dark)
    hline(cv, x - 1, y + h, w + 2, light)
    vline(cv, x + w, y - 1, h + 2, light)


def well(cv, x, y, w, h, inner):
    """A two-step recess: a soft chamfer around a crisp inner edge."""
    recess(cv, x - 1, y - 1, w + 2, h + 2, None, SOFT_SH, SOFT_HI)
    recess(cv, x, y, w, h, inner, OUTLINE, DISPLAY_HI)


def gradient(cv, x, y, w, h, d0, d1):
    """Brightens row by row from d0 to d1; rows stay uniform, so a horizontal
    band cut through it still repeats cleanly."""
    for j in range(h):
        d = round(d0 + (d1 - d0) * j / max(h - 1, 1))
        base = (y + j) * cv.w
        cv.px[base + x:base + x + w] = [shade(c, d) for c in cv.px[base + x:base + x + w]]


def line_noise(n, seed, amp=3):
    """Brightness offsets of brushing lines: fine grain plus a few streaks."""
    rng = random.Random(seed)
    out = []
    for _ in range(n):
        v = rng.gauss(0, amp * 0.45)
        if rng.random() < 0.1:
            v += rng.choice((-1, 1)) * amp
        out.append(round(v))
    return out


def brushed(cv, x, y, w, h, base, seed, vertical=False, amp=3):
    """Metal whose grain runs along one axis only, so any length of it can be
    repeated without a seam."""
    if vertical:
        for i, d in enumerate(line_noise(w, seed, amp)):
            vline(cv, x + i, y, h, shade(base, d))
    else:
        for i, d in enumerate(line_noise(h, seed, amp)):
            hline(cv, x, y + i, w, shade(base, d))


def outer_rim(cv, sides):
    """The window's raised outer rim on the given sides (t, l, r, b): outline,
    then a bright and a soft line on top/left, a dark and a soft one on
    bottom/right. Lights are drawn last so they own the corners."""
    w, h = cv.w, cv.h
    t, l, r, b = (s in sides for s in "tlrb")
    if r:
        vline(cv, w - 1, 0, h, OUTLINE)
        vline(cv, w - 2, t, h - t - b, SHADOW)
        vline(cv, w - 3, 2 * t, h - 2 * t - 2 * b, SOFT_SH)
    if b:
        hline(cv, 0, h - 1, w, OUTLINE)
        hline(cv, l, h - 2, w - l - r, SHADOW)
        hline(cv, 2 * l, h - 3, w - 2 * l - 2 * r, SOFT_SH)
    if t:
        hline(cv, 0, 0, w, OUTLINE)
        hline(cv, l, 1, w - l - r, HILITE)
        hline(cv, 2 * l, 2, w - 2 * l - 2 * r, SOFT_HI)
    if l:
        vline(cv, 0, 0, h, OUTLINE)
        vline(cv, 1, t, h - t - b, HILITE)
        vline(cv, 2, 2 * t, h - 2 * t - 2 * b, SOFT_HI)


def groove(cv, x, y, w, lead=0):
    """An engraved horizontal rule; the first `lead` pixels glow in the accent."""
    hline(cv, x, y, w, SHADOW)
    hline(cv, x + 1, y + 1, w, SOFT_HI)
    hline(cv, x, y, lead, ACCENT)


SCREW = ["..ooo..",
         ".ohhmo.",
         "ohhmmdo",
         "osssssd",
         "ommddlo",
         ".omdlo.",
         "..ooo.."]


def screw(cv, x, y):
    """A 7 x 7 slotted screw head, top-left corner at (x, y)."""
    stamp(cv, x, y, SCREW, {"o": SHADOW, "h": HILITE, "m": shade(METAL, 10),
                            "d": SOFT_SH, "s": OUTLINE, "l": SOFT_HI})


def stamp(cv, x, y, rows, ink):
    """Paints a character map; characters missing from `ink` stay clear."""
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            if ch in ink:
                cv.px[(y + j) * cv.w + x + i] = ink[ch]


GLYPHS = {
    "C": [".###", "#...", "#...", "#...", "#...", "#...", ".###"],
    "P": ["###.", "#..#", "#..#", "###.", "#...", "#...", "#..."],
    "U": ["#..#", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."],
    "%": ["##...", "##..#", "...#.", "..#..", ".#...", "#..##", "...##"],
}


def text(cv, x, y, s, color):
    for ch in s:
        stamp(cv, x, y, GLYPHS[ch], {"#": color})
        x += len(GLYPHS[ch][0]) + 1


# ---------------------------------------------------------------- bitmaps

def draw_face_top():
    cv = Canvas(1024, 15)
    brushed(cv, 0, 0, 1024, 15, METAL, seed=11)
    gradient(cv, 0, 3, 1024, 10, 5, -3)
    outer_rim(cv, "tlr")
    hline(cv, 3, 13, 1018, SOFT_SH)
    groove(cv, 24, 6, 796, lead=40)
    groove(cv, 852, 6, 150)
    # Shadow of the host area's top edge; its right edge starts light.
    hline(cv, 10, 14, 830, SHADOW)
    cv.px[14 * 1024 + 840] = HILITE
    return cv


def draw_face_left():
    cv = Canvas(11, 552)
    brushed(cv, 0, 0, 11, 552, METAL, seed=21, vertical=True)
    outer_rim(cv, "l")
    vline(cv, 9, 0, 552, SOFT_SH)
    vline(cv, 10, 0, 552, SHADOW)
    # A short grip in the middle of the rail, clear of the repeated rows.
    for y in range(262, 294, 4):
        bevel(cv, 4, y, 4, 2, SOFT_HI, SHADOW)
    return cv


def draw_face_right():
    cv = Canvas(184, 552)
    brushed(cv, 0, 0, 184, 552, METAL, seed=31, vertical=True)
    outer_rim(cv, "r")
    vline(cv, 0, 0, 552, HILITE)
    vline(cv, 1, 0, 552, SOFT_SH)
    # Seat of the host's 172 x 122 panel: darker metal in a soft recess.
    seat = Canvas(172, 122)
    brushed(seat, 0, 0, 172, 122, shade(METAL, -10), seed=32, vertical=True, amp=2)
    blit(cv, seat, 5, 3)
    recess(cv, 5, 3, 172, 122, None, SOFT_SH, SOFT_HI)
    # Framed box holding the two display rows (codes 0 and 1).
    well(cv, 13, 110, 156, 39, DISPLAY)
    hline(cv, 13, 124, 156, DISPLAY_RULE)
    # Value field (code 2) with its caption and unit.
    recess(cv, 60, 152, 88, 12, DISPLAY, OUTLINE, DISPLAY_HI)
    text(cv, 43, 154, "CPU", TEXT)
    text(cv, 151, 154, "%", TEXT)
    # A rule between the readouts and the list, pinned by two screws.
    groove(cv, 16, 195, 152, lead=24)
    screw(cv, 6, 192)
    screw(cv, 171, 192)
    # Top of the list area (code 3); it runs on into the bottom face.
    well(cv, 7, 227, 169, 330, DISPLAY)
    return cv


def draw_face_bottom():
    cv = Canvas(1024, 201)
    brushed(cv, 0, 0, 1024, 201, METAL, seed=41)
    gradient(cv, 0, 141, 1024, 57, 5, -4)
    outer_rim(cv, "lrb")
    # Lower edge of the host area.
    hline(cv, 10, 0, 831, HILITE)
    # Foot of the list area (code 3) started in the right face.
    well(cv, 847, -10, 169, 35, DISPLAY)
    # Seat of the level display (code 4), with faint scale rules.
    well(cv, 17, 32, 993, 107, DISPLAY)
    for y in range(138, 32, -8):
        hline(cv, 17, y, 993, DISPLAY_RULE)
    # Control deck: plain metal, one groove between the key rows.
    groove(cv, 16, 157, 993, lead=40)
    screw(cv, 5, 184)
    screw(cv, 1012, 184)
    return cv


ART = [
    ("face_top.bmp", 1024, 15, draw_face_top),
    ("face_left.bmp", 11, 552, draw_face_left),
    ("face_right.bmp", 184, 552, draw_face_right),
    ("face_bottom.bmp", 1024, 201, draw_face_bottom),
]

# Which lines of each bitmap are repeated: (axis, lines concerned, bands).
# "x" bands repeat columns over the given rows; "y" bands repeat rows.
BANDS = {
    "face_top.bmp": [("x", (0, 14), TOP_BANDS)],
    "face_left.bmp": [("y", None, LEFT_BANDS)],
    "face_right.bmp": [("y", None, RIGHT_BANDS)],
    "face_bottom.bmp": [("x", rows, bands) for rows, bands in BOTTOM_STRIPS],
}


def check_bands(name, cv):
    """Every column (or row) of a repeated band must equal every other one,
    else a cut at any length would show a seam."""
    for axis, rows, bands in BANDS.get(name, []):
        for start, width in bands:
            if axis == "x":
                for y in range(rows[0], rows[1] + 1):
                    line = cv.px[y * cv.w + start:y * cv.w + start + width]
                    assert line.count(line[0]) == width, \
                        f"{name}: row {y} not uniform in columns {start}..{start + width - 1}"
            else:
                first = cv.px[start * cv.w:(start + 1) * cv.w]
                for y in range(start + 1, start + width):
                    assert cv.px[y * cv.w:(y + 1) * cv.w] == first, \
                        f"{name}: row {y} differs from row {start}"


# ---------------------------------------------------------------- cursor

HAND = [
    "                                ",
    "           XXX                  ",
    "          XoooX                 ",
    "          XoooX                 ",
    "          XoooX                 ",
    "          XoooX                 ",
    "          XoooXXXX              ",
    "          XoooXoooXXXX          ",
    "          XoooXoooXoooXXX       ",
    "          XoooXoooXoooXooX      ",
    "          XoooXoooXoooXooX      ",
    "          XoooXoooXoooXooX      ",
    "     XXX  XoooXoooXoooXooX      ",
    "    XoooX XoooXoooXoooXooX      ",
    "    XooooXXooooooooooooooX      ",
    "     XoooooooooooooooooooX      ",
    "      XooooooooooooooooooX      ",
    "       XoooooooooooooooooX      ",
    "        XooooooooooooooooX      ",
    "         XoooooooooooooooX      ",
    "          XooooooooooooooX      ",
    "          XoooooooooooooX       ",
    "           XooooooooooooX       ",
    "           XooooooooooooX       ",
    "           XXXXXXXXXXXXXX       ",
    "           XooooooooooooX       ",
    "           XooooooooooooX       ",
    "           XXXXXXXXXXXXXX       ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
]
HOTSPOT = (12, 1)
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
         (128, 0, 128), (0, 128, 128), (192, 192, 192), (128, 128, 128),
         (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
         (0, 255, 255), (255, 255, 255)]


def cursor_bytes(rows, hotspot):
    """A one-image .cur: 4-bpp colour image over a 1-bpp AND mask."""
    assert len(rows) == 32 and all(len(r) == 32 for r in rows)
    xor, mask = b"", b""
    for row in reversed(rows):  # both images are stored bottom-up
        idx = [15 if ch == "o" else 0 for ch in row]
        xor += bytes((idx[i] << 4) | idx[i + 1] for i in range(0, 32, 2))
        mask += int("".join("1" if ch == " " else "0" for ch in row), 2).to_bytes(4, "big")
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in VGA16)
    image = header + palette + xor + mask
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, hotspot[0], hotspot[1], len(image), 22)
    return struct.pack("<HHH", 0, 2, 1) + entry + image


# ---------------------------------------------------------------- files

def bmp24_bytes(cv):
    stride = (cv.w * 3 + 3) & ~3
    pad = b"\0" * (stride - cv.w * 3)
    body = b"".join(
        b"".join(struct.pack("<BBB", b, g, r) for r, g, b in cv.px[y * cv.w:(y + 1) * cv.w]) + pad
        for y in range(cv.h - 1, -1, -1))
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 14 + 40)
    return head + info + body


def png_bytes(cv):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + \
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(v for p in cv.px[y * cv.w:(y + 1) * cv.w] for v in p)
                   for y in range(cv.h))
    ihdr = struct.pack(">IIBBBBB", cv.w, cv.h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- previews

def stretch_map(n, records):
    """Source indices of a line widened the library's way: at each band start,
    `extra` repeats of the band, then the source goes on from the band start."""
    idx, pos = [], 0
    for start, width, extra in records:
        idx += range(pos, start)
        idx += [start + i % width for i in range(extra)]
        pos = start
    return idx + list(range(pos, n))


def compose(faces, W, H):
    dW, MH = W - 1024, H - 216
    half = (MH - 552) // 2
    top, left, right, bottom = (faces[n] for n, _, _, _ in ART)
    screen = Canvas(W, H, HOST)

    def with_extra(bands, extras):
        return [(s, w, e) for (s, w), e in zip(bands, extras)]

    blit(screen, top, 0, 0, xs=stretch_map(1024, with_extra(TOP_BANDS, [dW])))
    blit(screen, left, 0, 15,
         ys=stretch_map(552, with_extra(LEFT_BANDS, [half, MH - 552 - half])))
    blit(screen, right, W - 184, 15, ys=stretch_map(552, with_extra(RIGHT_BANDS, [MH - 552])))
    r, q = dW // 10, dW // 8
    extras = [[dW], [r] * 8 + [dW - 8 * r], [q] * 5 + [dW - 5 * q]]
    for ((y0, y1), bands), ex in zip(BOTTOM_STRIPS, extras):
        blit(screen, bottom, 0, H - 201 + y0, xs=stretch_map(1024, with_extra(bands, ex)),
             ys=range(y0, y1 + 1))
    return screen


def main():
    faces = {}
    for name, w, h, draw in ART:
        cv = draw()
        assert (cv.w, cv.h) == (w, h), name
        check_bands(name, cv)
        faces[name] = cv
        write(os.path.join(ART_DIR, name), bmp24_bytes(cv))
    write(os.path.join(ART_DIR, "hand.cur"), cursor_bytes(HAND, HOTSPOT))
    if "--preview" in sys.argv:
        folder = sys.argv[sys.argv.index("--preview") + 1]
        for W, H in ((1024, 768), (1920, 1080)):
            write(os.path.join(folder, f"face_{W}x{H}.png"), png_bytes(compose(faces, W, H)))


if __name__ == "__main__":
    main()
