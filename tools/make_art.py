#!/usr/bin/env python3
"""Draws the skin's artwork: the face bitmaps, the buttons, the parts the host asks
for by id (panel, level bars), the slips' tracks, thumbs and markers, and the hand cursor.

Run from the repository root:  python3 tools/make_art.py [--preview DIR]
--preview also writes PNG pictures of the face at 1024 x 768 and, widened the library's
way, at 1920 x 1080, to judge the art and its seams by eye, buttons.png, every
button strip doubled in size on the metal, and parts.png, the same for the other parts,
with the thumbs and markers laid on their tracks and the tracks on the face.
Standard library only, and deterministic: every run writes the same bytes.
"""
import functools
import math
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
KEY = (255, 0, 255)  # left transparent where the host or a slip paints a part
AMBER = (236, 170, 64)
GROOVE = (14, 18, 24)
FIELD = (36, 40, 47)

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
    "A": [".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"],
    "C": [".###", "#...", "#...", "#...", "#...", "#...", ".###"],
    "E": ["####", "#...", "#...", "###.", "#...", "#...", "####"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "L": ["#...", "#...", "#...", "#...", "#...", "#...", "####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#..#", "##.#", "##.#", "#.##", "#.##", "#..#", "#..#"],
    "O": [".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."],
    "P": ["###.", "#..#", "#..#", "###.", "#...", "#...", "#..."],
    "S": [".###", "#...", "#...", ".##.", "...#", "...#", "###."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#..#", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."],
    "V": ["#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#.."],
    "%": ["##...", "##..#", "...#.", "..#..", ".#...", "#..##", "...##"],
    " ": ["..", "..", "..", "..", "..", "..", ".."],
    "0": [".##.", "#..#", "#.##", "#..#", "##.#", "#..#", ".##."],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"],
    "2": [".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"],
    "3": ["###.", "...#", "...#", ".##.", "...#", "...#", "###."],
    "4": ["..#.", ".##.", "#.#.", "#.#.", "####", "..#.", "..#."],
    "5": ["####", "#...", "###.", "...#", "...#", "#..#", ".##."],
    "6": [".##.", "#...", "#...", "###.", "#..#", "#..#", ".##."],
    "7": ["####", "...#", "..#.", "..#.", ".#..", ".#..", ".#.."],
    "8": [".##.", "#..#", "#..#", ".##.", "#..#", "#..#", ".##."],
    "9": [".##.", "#..#", "#..#", ".###", "...#", "...#", ".##."],
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
    # Wider screens repeat columns 100..499 of the seek track after column 99.
    "slip_117.bmp": [("x", (0, 19), [(100, 400)])],
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


# ---------------------------------------------------------------- keys

class State:
    """How a key looks in one frame of its strip: face brightness (top, bottom), edge
    colours, glyph and tab lamp colours, and whether it stands out or is pushed in."""
    def __init__(self, face, light, dark, glyph, lamp, glow, raised):
        self.face, self.light, self.dark = face, light, dark
        self.glyph, self.lamp, self.glow, self.raised = glyph, lamp, glow, raised
        self.shift = 0 if raised else 1


LIT = (128, 230, 240)
STATES = [  # normal, hover, pressed: the frames' order in every strip
    State((16, 2), HILITE, SHADOW, (196, 203, 211), DISPLAY_RULE, False, True),
    State((34, 18), (168, 175, 184), SHADOW, LIT, LIT, True, True),
    State((-18, -10), OUTLINE, SOFT_HI, TEXT, ACCENT, False, False),
]


def mix(a, b, k):
    return tuple(round(u + (v - u) * k) for u, v in zip(a, b))


def samples(i, j):
    """4 x 4 points spread over pixel (i, j), to smooth curved and slanted edges."""
    return [(i + (si + 0.5) / 4, j + (sj + 0.5) / 4) for sj in range(4) for si in range(4)]


def render(cv, color, inside=None):
    """Paints color(x, y) averaged over each pixel's samples; where it is None the
    canvas shows through. With `inside`, pixels less than half inside become the key
    colour whole, so no edge is blended into it."""
    for j in range(cv.h):
        for i in range(cv.w):
            p = j * cv.w + i
            if inside and sum(inside(x, y) for x, y in samples(i, j)) < 8:
                cv.px[p] = KEY
                continue
            got = [color(x, y) or cv.px[p] for x, y in samples(i, j)]
            cv.px[p] = tuple(round(sum(c[k] for c in got) / len(got)) for k in range(3))


class Mask:
    """A glyph's coverage, 0 to 1 per pixel."""
    def __init__(self, w, h, a):
        self.w, self.h, self.a = w, h, a


def hit(shape, x, y):
    kind, *p = shape
    if kind == "cut":
        return hit(p[0], x, y)
    if kind == "rect":
        x0, y0, x1, y1 = p
        return x0 <= x < x1 and y0 <= y < y1
    if kind == "poly":
        pts, inside = p[0], False
        for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return inside
    if kind == "line":  # a polyline of width t with round ends
        pts, t = p
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            dx, dy = bx - ax, by - ay
            k = max(0, min(1, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
            if math.hypot(x - ax - k * dx, y - ay - k * dy) <= t / 2:
                return True
        return False
    # "arc": the ring between radii r0 and r1, clockwise from a0 to a1 degrees, 0 is up.
    cx, cy, r0, r1, a0, a1 = p
    a = math.degrees(math.atan2(x - cx, cy - y)) % 360
    return r0 <= math.hypot(x - cx, y - cy) <= r1 and (a - a0) % 360 <= a1 - a0


def shape_mask(w, h, shapes):
    """Later shapes win over earlier ones; a ("cut", shape) clears what it covers."""
    def covered(x, y):
        on = False
        for s in shapes:
            if hit(s, x, y):
                on = s[0] != "cut"
        return on
    return Mask(w, h, [sum(covered(x, y) for x, y in samples(i, j)) / 16
                       for j in range(h) for i in range(w)])


def text_mask(s):
    cv = Canvas(sum(len(GLYPHS[c][0]) + 1 for c in s) - 1, 7)
    text(cv, 0, 0, s, (255, 255, 255))
    return Mask(cv.w, cv.h, [p[0] / 255 for p in cv.px])


def grown(m):
    """The mask widened by a pixel all round, for a glow."""
    def at(i, j):
        return m.a[j * m.w + i] if 0 <= i < m.w and 0 <= j < m.h else 0
    return Mask(m.w + 2, m.h + 2, [max(at(i + di, j + dj) for di in (-2, -1, 0) for dj in (-2, -1, 0))
                                   for j in range(m.h + 2) for i in range(m.w + 2)])


def ink(cv, x, y, m, color, k=1.0):
    for j in range(m.h):
        for i in range(m.w):
            if m.a[j * m.w + i]:
                p = (y + j) * cv.w + x + i
                cv.px[p] = mix(cv.px[p], color, m.a[j * m.w + i] * k)


def disc(cx, cy, r):
    return ("arc", cx, cy, 0, r, 0, 360)


def gear(cx, cy, teeth, r_body, r_tip, r_hole):
    shapes = [disc(cx, cy, r_body)]
    for k in range(teeth):
        a = 2 * math.pi * (k + 0.5) / teeth
        ux, uy = math.sin(a), -math.cos(a)
        shapes.append(("poly", [(cx + ux * r - uy * s, cy + uy * r + ux * s) for r, s in
                                ((r_body - 1, -1.9), (r_tip, -1.2), (r_tip, 1.2), (r_body - 1, 1.9))]))
    return shapes + [("cut", disc(cx, cy, r_hole))]


# Glyphs: (width, height, shapes) in pixels. Transport glyphs are 10 high, icons 16.
SPEAKER = [("rect", 0, 3, 3, 7), ("poly", [(2, 3), (7, 0), (7, 10), (2, 7)])]
CROSS = [("line", [(9.5, 2.5), (14.5, 7.5)], 1.7), ("line", [(9.5, 7.5), (14.5, 2.5)], 1.7)]
MINUS = ("rect", 9, 4, 15, 6)
ROWS = [2, 7, 12]  # the lines of the list and menu icons
ICONS = {
    "power": (18, 18, [("arc", 9, 10, 6, 8.2, 38, 322), ("line", [(9, 1.6), (9, 8.5)], 2.2)]),
    "prev": (12, 10, [("rect", 0, 0, 2, 10), ("poly", [(7, 0), (7, 10), (2, 5)]),
                      ("poly", [(12, 0), (12, 10), (7, 5)])]),
    "next": (12, 10, [("poly", [(0, 0), (0, 10), (5, 5)]), ("poly", [(5, 0), (5, 10), (10, 5)]),
                      ("rect", 10, 0, 12, 10)]),
    "play": (9, 10, [("poly", [(1, 0), (9, 5), (1, 10)])]),
    "pause": (9, 10, [("rect", 1, 0, 4, 10), ("rect", 6, 0, 9, 10)]),
    "stop": (9, 10, [("rect", 1, 1, 9, 9)]),
    "eject": (10, 10, [("poly", [(0, 6.5), (5, 0.5), (10, 6.5)]), ("rect", 0, 8, 10, 10)]),
    "shuffle": (14, 10, [("line", [(0.8, 2.5), (4, 2.5), (8, 7.5), (11, 7.5)], 1.6),
                         ("line", [(0.8, 7.5), (4, 7.5), (8, 2.5), (11, 2.5)], 1.6),
                         ("poly", [(10.5, 0), (14, 2.5), (10.5, 5)]),
                         ("poly", [(10.5, 5), (14, 7.5), (10.5, 10)])]),
    "repeat": (14, 10, [("line", [(1.5, 6.5), (1.5, 2.5), (10, 2.5)], 1.6),
                        ("poly", [(9.5, 0), (13, 2.5), (9.5, 5)]),
                        ("line", [(12.5, 3.5), (12.5, 7.5), (4, 7.5)], 1.6),
                        ("poly", [(4.5, 5), (1, 7.5), (4.5, 10)])]),
    "vol_down": (15, 10, SPEAKER + [MINUS]),
    "vol_up": (15, 10, SPEAKER + [MINUS, ("rect", 11, 2, 13, 8)]),
    "mute": (15, 10, SPEAKER + CROSS),
    "sound": (15, 10, SPEAKER + [("arc", 4, 5, 5, 6.4, 50, 130), ("arc", 4, 5, 8, 9.4, 45, 135)]),
    "eq": (10, 10, [("rect", 0, 3, 2, 10), ("rect", 4, 0, 6, 10), ("rect", 8, 5, 10, 10)]),
    "minus": (6, 2, [("rect", 0, 0, 6, 2)]),
    "plus": (6, 6, [("rect", 0, 2, 6, 4), ("rect", 2, 0, 4, 6)]),
    "up": (7, 4, [("line", [(1, 3.2), (3.5, 0.9), (6, 3.2)], 1.9)]),
    "down": (7, 4, [("line", [(1, 0.8), (3.5, 3.1), (6, 0.8)], 1.9)]),
    "hide": (9, 5, [("line", [(1, 1), (4.5, 4), (8, 1)], 1.8)]),
    "note": (16, 16, [disc(3.5, 12.5, 3), ("rect", 5, 3, 6.6, 12.5), disc(12.5, 10.5, 3),
                      ("rect", 14, 1, 15.6, 10.5), ("poly", [(5, 3), (15.6, 0), (15.6, 3), (5, 6)])]),
    "film": (16, 16, [("rect", 0, 1, 16, 15)] +
             [("cut", ("rect", x, y, x + 2, y + 2)) for x in (1, 5, 9, 13) for y in (2, 12)] +
             [("cut", ("rect", 1, 5, 7, 11)), ("cut", ("rect", 9, 5, 15, 11))]),
    "radio": (16, 16, [("line", [(4.5, 15.5), (8, 5), (11.5, 15.5)], 1.6), disc(8, 4.5, 1.8),
                       ("arc", 8, 4.5, 3.5, 4.9, 50, 130), ("arc", 8, 4.5, 3.5, 4.9, 230, 310),
                       ("arc", 8, 4.5, 6.6, 8, 50, 130), ("arc", 8, 4.5, 6.6, 8, 230, 310)]),
    "photo": (16, 16, [("rect", 0, 2, 16, 14), ("cut", ("rect", 1.5, 3.5, 14.5, 12.5)),
                       ("poly", [(2, 12.5), (6, 6.5), (9, 10), (11, 8), (14.5, 12.5)]),
                       disc(11.5, 6, 1.5)]),
    "playlist": (16, 16, [("rect", 0, 1, 16, 3), ("rect", 0, 6, 16, 8), ("rect", 0, 11, 9, 13),
                          ("poly", [(11, 9), (16, 12), (11, 15)])]),
    "wave": (16, 16, [("line", [(0, 8), (2, 8), (4, 4), (6, 12), (8, 1.5), (10, 14.5),
                                (12, 5), (14, 10), (16, 8)], 1.5)]),
    "gear": (16, 16, gear(8, 8, 8, 5.6, 8, 2.4)),
    "info": (16, 16, [("arc", 8, 8, 6.2, 8, 0, 360), disc(8, 4.6, 1.3), ("rect", 7, 6.8, 9, 12)]),
    "folder": (16, 16, [("poly", [(0, 2), (6, 2), (7.5, 4), (16, 4), (16, 14), (0, 14)]),
                        ("cut", ("rect", 0, 6, 16, 7))]),
    "disk": (16, 16, [("poly", [(0, 0), (12, 0), (16, 4), (16, 16), (0, 16)]),
                      ("cut", ("rect", 4, 2, 11, 6)), ("rect", 8, 3, 10, 5),
                      ("cut", ("rect", 3, 9, 13, 14))]),
    "list": (16, 16, [("rect", 0, y, 2, y + 2) for y in ROWS] + [("rect", 4, y, 16, y + 2) for y in ROWS]),
    "menu": (16, 16, [("line", [(1.2, y + 1), (14.8, y + 1)], 2.4) for y in ROWS]),
    "mark_in": (6, 7, [("rect", 0, 0, 2, 7), ("poly", [(3, 0), (6, 3.5), (3, 7)])]),
    "mark_out": (6, 7, [("poly", [(3, 0), (0, 3.5), (3, 7)]), ("rect", 4, 0, 6, 7)]),
}


def marks_on(cv, st, marks, left=0):
    """Lays the marks (icon, word) out in a row centred right of `left`."""
    gap = 5
    x = left + (cv.w - left - sum(m.w for m in marks) - gap * (len(marks) - 1)) // 2 + st.shift
    for m in marks:
        y = (cv.h - m.h) // 2 + st.shift
        if st.glow:
            ink(cv, x - 1, y - 1, grown(m), ACCENT, 0.3)
        else:
            ink(cv, x + 1, y + 1, m, OUTLINE, 0.6)
        ink(cv, x, y, m, st.glyph)
        x += m.w + gap


def plate(cv, st):
    """A key filling the rectangle: a one-pixel seat sunk into the metal round a
    bevelled face; pushed in, it gets a second dark line along its top and left."""
    w, h = cv.w, cv.h
    fill(cv, 0, 0, w, h, METAL)
    gradient(cv, 1, 1, w - 2, h - 2, *st.face)
    bevel(cv, 0, 0, w, h, SOFT_SH, SOFT_HI)
    bevel(cv, 1, 1, w - 2, h - 2, st.light, st.dark)
    if not st.raised:
        hline(cv, 2, 2, w - 4, SHADOW)
        vline(cv, 2, 2, h - 4, SHADOW)
    for x, y in ((1, 1), (w - 2, 1), (1, h - 2), (w - 2, h - 2)):
        cv.px[y * w + x] = mix(cv.px[y * w + x], METAL, 0.6)


def plate_key(cv, st, marks):
    plate(cv, st)
    marks_on(cv, st, marks)


def tab_key(cv, st, marks):
    """A mode tab: a plate with a lamp at its left end. The tabs overlap by 9 rows,
    so everything that matters stays in the middle 20."""
    plate(cv, st)
    recess(cv, 5, 11, 2, 16, st.lamp, OUTLINE, SOFT_HI)
    marks_on(cv, st, marks, left=8)


def round_key(cv, st, marks):
    """A round key in a seat sunk into brushed metal, lit from the top left."""
    brushed(cv, 0, 0, cv.w, cv.h, METAL, seed=51)
    c, lit = cv.w / 2, 1 if st.raised else -1

    def color(x, y):
        r = math.hypot(x - c, y - c)
        if r <= 17.2:
            return shade(METAL, round(st.face[0] + (st.face[1] - st.face[0]) * (y - c + 17.2) / 34.4))
        toward = (c - x + c - y) / (r * math.sqrt(2))  # 1 at the top left, -1 at the bottom right
        if r > 21.5:
            return None
        if r > 20:
            return shade(METAL, round(-22 * toward))
        if r > 19.2:
            return OUTLINE
        return shade(METAL, st.face[0] + round(lit * 45 * toward))
    render(cv, color)
    marks_on(cv, st, marks)


# The worded keys; the Chinese resources show the icon alone, for want of a CJK font.
WORDED = [(121, "folder", "OPEN"), (133, "menu", "MENU"), (138, "list", "LIST"), (155, "disk", "SAVE")]
LANGUAGES = [(1033, True), (2052, False), (1028, False)]

# Strips: (file name, frame width, height, kind of key, icon, word).
BUTTONS = [
    ("button_106.bmp", 46, 46, round_key, "power", None),
] + [
    (f"button_{n}.bmp", 45, 20, plate_key, icon, None) for n, icon in (
        (111, "prev"), (110, "play"), (115, "pause"), (137, "stop"), (114, "next"),
        (113, "eject"), (136, "shuffle"), (108, "repeat"), (112, "vol_down"),
        (109, "vol_up"), (159, "mute"), (160, "eq"))
] + [
    ("button_134.bmp", 23, 17, plate_key, "sound", None),
    ("button_135.bmp", 23, 17, plate_key, "mute", None),
] + [
    (f"button_{n}_{lang}.bmp", 75, 47, plate_key, icon, word if worded else None)
    for n, icon, word in WORDED for lang, worded in LANGUAGES
] + [
    ("button_163.bmp", 12, 12, plate_key, "minus", None),
    ("button_164.bmp", 12, 12, plate_key, "plus", None),
    ("button_172.bmp", 45, 13, plate_key, "hide", None),
    ("button_176.bmp", 13, 13, plate_key, "up", None),
    ("button_177.bmp", 13, 13, plate_key, "down", None),
] + [
    (f"button_{n}.bmp", 44, 38, tab_key, icon, None) for n, icon in (
        (139, "note"), (140, "film"), (141, "radio"), (142, "photo"), (145, "playlist"),
        (148, "wave"), (151, "gear"), (152, "info"))
]


def draw_strip(fw, h, kind, icon, word):
    marks = [shape_mask(*ICONS[icon])] + ([text_mask(word)] if word else [])
    strip = Canvas(3 * fw, h)
    for n, st in enumerate(STATES):
        frame = Canvas(fw, h)
        kind(frame, st, marks)
        blit(strip, frame, n * fw, 0)
    return strip


# ---------------------------------------------------------------- parts

def round_box(x, y, box, r):
    """How deep (x, y) lies in the box (x0, y0, x1, y1) with corners rounded by r
    (negative outside), and which way its nearest edge faces: 1 up or left, -1 down
    or right, in between round the corners."""
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    px, py = abs(x - cx) - (x1 - x0) / 2 + r, abs(y - cy) - (y1 - y0) / 2 + r
    sx, sy = (1 if x >= cx else -1), (1 if y >= cy else -1)
    if px > 0 and py > 0:
        k = math.hypot(px, py)
        return r - k, max(-1, min(1, -(sx * px + sy * py) / k))
    return (r - px, -sx) if px > py else (r - py, -sy)


def lit_edge(light, dark, facing):
    return mix(dark, light, (facing + 1) / 2)


def crop(cv, x, y, w, h):
    out = Canvas(w, h)
    blit(out, cv, 0, 0, xs=range(x, x + w), ys=range(y, y + h))
    return out


def blit_keyed(dst, src, x, y):
    """Copies src to (x, y) but for its key-coloured pixels, as the host paints it."""
    for j in range(src.h):
        for i in range(src.w):
            if src.px[j * src.w + i] != KEY:
                dst.px[(y + j) * dst.w + x + i] = src.px[j * src.w + i]


@functools.lru_cache(None)
def face_1024():
    """The face at 1024 x 768, whose metal the tracks with a fixed place lie on."""
    return compose({name: draw() for name, _, _, draw in ART}, 1024, 768)


PANEL_FIELD = (5, 6, 160, 110)  # where the host paints inside the panel


def panel(w, h):
    """A raised plate with rounded corners, keyed out beyond them, round a calm sunken
    field for the host."""
    cv = Canvas(w, h)
    brushed(cv, 0, 0, w, h, shade(METAL, 8), seed=71)
    gradient(cv, 0, 0, w, h, 8, -8)
    box, r = (0, 0, w, h), 8

    def rim(x, y):
        d, facing = round_box(x, y, box, r)
        if d < 1:
            return OUTLINE
        if d < 2:
            return lit_edge(HILITE, SHADOW, facing)
        return lit_edge(SOFT_HI, SOFT_SH, facing) if d < 3 else None
    render(cv, rim, inside=lambda x, y: round_box(x, y, box, r)[0] >= 0)
    well(cv, *PANEL_FIELD, FIELD)
    gradient(cv, *PANEL_FIELD, -6, 4)
    return cv


def level_bar(w, h, lamp):
    """A row of lamp segments in a black frame. The host shows a length of the lit
    bar over the dark one, so both share the segments."""
    cv = Canvas(w, h, OUTLINE)
    for x in range(1, w - 1, 4):
        fill(cv, x, 1, 3, h - 2, lamp)
        gradient(cv, x, 1, 3, h - 2, 24, -16)
    return cv


def rod(w, h, hue):
    """A bar shaded like a lit rod: dark at the top and bottom, white along the
    middle. Its rows are flat colours, few enough for a 16-colour palette."""
    cv = Canvas(w, h)
    half = h // 2 - 1
    for j in range(h):
        f = min(j, h - 1 - j) / half
        hline(cv, 0, j, w, mix(OUTLINE, hue, 0.35 + 1.3 * f) if f <= 0.5
              else mix(hue, (255, 255, 255), 2 * f - 1))
    return cv


def track(w, h, thick, at=None):
    """A round-ended groove sunk along the part, on the metal it covers on the
    face at 1024 x 768 (at: its top-left corner there), else on plain metal. Its
    middle is the same all along, so any length of it repeats cleanly."""
    if at:
        cv = crop(face_1024(), *at, w, h)
    else:
        cv = Canvas(w, h)
        brushed(cv, 0, 0, w, h, METAL, seed=81, vertical=h > w)
    if w > h:
        box = (2, (h - thick) / 2, w - 2, (h + thick) / 2)
    else:
        box = ((w - thick) / 2, 2, (w + thick) / 2, h - 2)

    def color(x, y):
        d, facing = round_box(x, y, box, thick / 2)
        if d < -1:
            return None
        if d < 0:
            return lit_edge(SOFT_SH, SOFT_HI, facing)
        if d < 1:
            return OUTLINE
        # The floor is shaded under its upper wall and catches light at its lower one.
        return shade(GROOVE, round(-8 * facing * max(0, 2.5 - d)))
    render(cv, color)
    return cv


def knob(w, h):
    """A round metal thumb on the key colour, lit from the top left, with a teal
    glint; every pixel is either knob or key, never a blend of the two."""
    cv = Canvas(w, h, KEY)
    r = min(w, h) / 2 - 0.3  # off the border, so no lone pixel pokes out of the round
    cx, cy = w / 2, h / 2
    box = (cx - r, cy - r, cx + r, cy + r)

    def color(x, y):
        d, facing = round_box(x, y, box, r)
        if d < 1:
            return OUTLINE
        if d < 2:
            return shade(METAL, round(40 * facing))
        # A dome: bright above, dark below, the glint up and to the left.
        glint = math.hypot(x - cx + 0.32 * r, y - cy + 0.38 * r) / r
        body = shade(METAL, round(30 - 34 * (y - cy) / r - 24 * glint))
        return mix(body, LIT, min(1, max(0, 0.75 - 1.6 * glint)))
    render(cv, color, inside=lambda x, y: round_box(x, y, box, r)[0] >= 0)
    return cv


MARKER = State((16, 2), HILITE, SHADOW, AMBER, None, False, True)


def marker(w, h, icon):
    """A small raised tab with an amber sign, painted over the track."""
    cv = Canvas(w, h)
    plate_key(cv, MARKER, [shape_mask(*ICONS[icon])])
    return cv


# Each slip type: track id and size, groove thickness, thumb id and size, where the
# track lies on the face at 1024 x 768 (None: no fixed place on it), and the markers
# painted over it (id and sign).
SLIPS = [
    (117, (646, 20), 8, 116, (18, 19), (15, 577), [(170, "mark_in"), (171, "mark_out")]),
    (119, (134, 14), 6, 118, (14, 14), (695, 578), []),
    (174, (13, 96), 7, 175, (13, 14), None, []),
]

# The parts: (file name, width, height, bits per pixel, draw(width, height)).
PARTS = [
    ("query_173.bmp", 172, 122, 24, panel),
    ("query_161.bmp", 145, 18, 24, functools.partial(level_bar, lamp=(92, 226, 104))),
    ("query_162.bmp", 145, 18, 24, functools.partial(level_bar, lamp=(50, 54, 60))),
] + [
    (f"query_{n}.bmp", 585, 14, 4, functools.partial(rod, hue=hue)) for n, hue in (
        (165, (64, 200, 84)), (166, (40, 196, 220)), (167, (220, 58, 50)),
        (168, (228, 196, 44)), (169, (140, 146, 154)))
] + [
    (f"slip_{n}.bmp", *size, 24, draw) for t, t_size, thick, b, b_size, at, marks in SLIPS
    for n, size, draw in [(t, t_size, functools.partial(track, thick=thick, at=at)),
                          (b, b_size, knob)] +
    [(m, (11, 13), functools.partial(marker, icon=icon)) for m, icon in marks]
]


def check_key(name, cv):
    """Nothing may come near the key colour without being it, else it would show as
    a pink fringe where the key is cut out."""
    for p in cv.px:
        assert p == KEY or max(abs(a - b) for a, b in zip(p, KEY)) > 100, \
            f"{name}: {p} is near the key colour"


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

def bmp_file(cv, bits, palette, line):
    """A bottom-up BMP; line(row) packs one row of pixels, padded here to 4 bytes."""
    rows = [line(cv.px[y * cv.w:(y + 1) * cv.w]) for y in range(cv.h - 1, -1, -1)]
    stride = (len(rows[0]) + 3) & ~3
    body = b"".join(row.ljust(stride, b"\0") for row in rows)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, cv.w, cv.h, 1, bits, 0, len(body), 2835, 2835,
                       len(palette), 0)
    start = 14 + 40 + len(table)
    head = struct.pack("<2sIHHI", b"BM", start + len(body), 0, 0, start)
    return head + info + table + body


def bmp24_bytes(cv):
    return bmp_file(cv, 24, [], lambda row: bytes(v for r, g, b in row for v in (b, g, r)))


def bmp4_bytes(cv):
    """16 colours at most; the picture's own colours make the palette."""
    colors = sorted(set(cv.px))
    assert len(colors) <= 16, f"{len(colors)} colours"
    index = {c: n for n, c in enumerate(colors)}

    def line(row):
        idx = [index[c] for c in row] + [0]  # an odd width ends on a blank nibble
        return bytes((idx[i] << 4) | idx[i + 1] for i in range(0, len(row), 2))
    return bmp_file(cv, 4, colors + [(0, 0, 0)] * (16 - len(colors)), line)


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


def label(name):
    """The id (and language) in a file name: "button_121_1033.bmp" gives "121 1033"."""
    return name.split("_", 1)[1][:-len(".bmp")].replace("_", " ")


def contact_sheet(items, width=600):
    """Every picture on the metal under its label, in rows, doubled pixel for pixel."""
    places, x, y, row = [], 8, 8, 0
    for caption, cv in items:
        if x + cv.w > width - 8:
            x, y, row = 8, y + row + 8, 0
        places.append((x, y, caption, cv))
        x, row = x + cv.w + 12, max(row, cv.h + 10)
    sheet = Canvas(width, y + row + 8)
    brushed(sheet, 0, 0, sheet.w, sheet.h, METAL, seed=61)
    for x, y, caption, cv in places:
        text(sheet, x, y, caption, TEXT)
        blit(sheet, cv, x, y + 10)
    big = Canvas(2 * sheet.w, 2 * sheet.h)
    blit(big, sheet, 0, 0, xs=[i // 2 for i in range(big.w)], ys=[j // 2 for j in range(big.h)])
    return big


def slip_scene(track, pieces):
    """A track as its slip paints it, each piece (thumb, marker) keyed on at its
    fraction of the way along."""
    cv = crop(track, 0, 0, track.w, track.h)
    for p, k in pieces:
        if cv.w > cv.h:
            blit_keyed(cv, p, round((cv.w - p.w) * k), (cv.h - p.h) // 2)
        else:
            blit_keyed(cv, p, (cv.w - p.w) // 2, round((cv.h - p.h) * k))
    return cv


def parts_sheet(parts):
    """Every part under its id, then each slip as painted, and the face's bottom
    left with its slips in place."""
    items = [(label(name), cv) for name, cv in parts.items()]
    face = crop(face_1024(), 0, 0, 1024, 768)
    for t, _, _, b, _, at, marks in SLIPS:
        ids = [b] + [m for m, _ in marks]
        scene = slip_scene(parts[f"slip_{t}.bmp"], [(parts[f"slip_{n}.bmp"], k)
                                                    for n, k in zip(ids, (1 / 3, 1 / 6, 2 / 3))])
        items.append((" ".join(map(str, [t] + ids)), scene))
        if at:
            blit(face, scene, *at)
    items.append(("IN PLACE", crop(face, 0, 560, 850, 46)))
    return contact_sheet(items, width=880)


# The demo host's sample logo: a lit plate that the library prints at the top-left of the
# right-hand panel, where it glows around the host's picture frame.
def draw_demo_logo():
    cv = Canvas(184, 128, DISPLAY)
    for ring in range(12):
        shade_of = tuple(min(255, c + (11 - ring) * 9) for c in (8, 40, 46))
        fill(cv, ring, ring, cv.w - 2 * ring, cv.h - 2 * ring, shade_of)
    return cv


def main():
    write(os.path.join(ROOT, "demo", "Pic", "VeltraLogo.bmp"), bmp24_bytes(draw_demo_logo()))
    faces = {}
    for name, w, h, draw in ART:
        cv = draw()
        assert (cv.w, cv.h) == (w, h), name
        check_bands(name, cv)
        faces[name] = cv
        write(os.path.join(ART_DIR, name), bmp24_bytes(cv))
    strips = []
    for name, fw, h, kind, icon, word in BUTTONS:
        strips.append((label(name), draw_strip(fw, h, kind, icon, word)))
        write(os.path.join(ART_DIR, name), bmp24_bytes(strips[-1][1]))
    parts = {}
    for name, w, h, bits, draw in PARTS:
        cv = draw(w, h)
        assert (cv.w, cv.h) == (w, h), name
        check_bands(name, cv)
        check_key(name, cv)
        parts[name] = cv
        write(os.path.join(ART_DIR, name), {4: bmp4_bytes, 24: bmp24_bytes}[bits](cv))
    write(os.path.join(ART_DIR, "hand.cur"), cursor_bytes(HAND, HOTSPOT))
    if "--preview" in sys.argv:
        folder = sys.argv[sys.argv.index("--preview") + 1]
        for W, H in ((1024, 768), (1920, 1080)):
            write(os.path.join(folder, f"face_{W}x{H}.png"), png_bytes(compose(faces, W, H)))
        write(os.path.join(folder, "buttons.png"), png_bytes(contact_sheet(strips)))
        write(os.path.join(folder, "parts.png"), png_bytes(parts_sheet(parts)))


if __name__ == "__main__":
    main()
