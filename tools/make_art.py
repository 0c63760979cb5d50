#!/usr/bin/env python3
"""Draws the skins' artwork: the face bitmaps, the buttons, the parts the host asks
for by id (panel, level bars), the slips' tracks, thumbs and markers, and the hand cursor.
Every bitmap is drawn twice: NAME.bmp at the design's size and NAME@2x.bmp for the
library's double scale, the same design drawn at twice the density (finer curves,
letters, grain and edges), not the first one enlarged.

Two skins, drawn by the same code in their own colours (see Skin): the built-in art in
res/art, and "daylight" in res/skins/daylight, a folder the library can load in its
place: every bitmap of res/art under the same name, at the same size, keyed out in the
same pixels, and skin.ini, the colours the host paints with over it. Only the built-in
art has the cursor and the demo's logo.

Run from the repository root:  python3 tools/make_art.py [--preview DIR | --check]
--preview also writes PNG pictures of the face at 1024 x 768 and, widened the library's
way, at 1920 x 1080, to judge the art and its seams by eye, buttons.png, every
button strip doubled in size on the metal, and parts.png, the same for the other parts,
with the thumbs and markers laid on their tracks and the tracks on the face; and the
same again from the double-density art, as drawn (face_1024x768@2x.png, buttons@2x.png...);
and all of them again for daylight (daylight_face_1920x1080.png...).
--check writes nothing: it draws everything again and fails unless the files in each
skin's folder are byte for byte what it draws, and the art holds together (see
art_faults and replacement_faults); the daylight previews in docs/ too.
Standard library only, and deterministic: every run writes the same bytes.
"""
import functools
import math
import os
import sys
import random
import re
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

KEY = (255, 0, 255)  # left transparent where the host or a slip paints a part


class State:
    """How a key looks in one frame of its strip: face brightness (top, bottom), edge
    colours, glyph and tab lamp colours, and whether it stands out or is pushed in."""
    def __init__(self, face, light, dark, glyph, lamp, glow, raised):
        self.face, self.light, self.dark = face, light, dark
        self.glyph, self.lamp, self.glow, self.raised = glyph, lamp, glow, raised
        self.shift = 0 if raised else 1


class Skin:
    """The colours a skin is drawn in, and the few choices of finish that go with them.
    Every drawing function takes one, so every skin has the same shapes, sizes, bands
    and keyed-out corners. A colour may be given as the name of another one. The keys'
    states are (face, light, dark, glyph, lamp, glow, raised) as State takes them."""
    def __init__(self, name, folder, states, marker, host_colours=None, **colours):
        self.name, self.folder = name, folder
        self.__dict__.update(colours)
        for name, c in colours.items():
            setattr(self, name, self.colour(c))
        self.states = [State(*map(self.colour, s)) for s in states]
        self.marker = State(*map(self.colour, marker))
        self.host_colours = [(key, self.colour(c)) for key, c in host_colours or []]

    def colour(self, c):
        return getattr(self, c) if isinstance(c, str) else c


# The library's own art: graphite metal, near black-blue displays, a quiet teal accent.
BUILT_IN = Skin(
    "", os.path.join("res", "art"),
    metal=(60, 64, 71),
    hilite=(126, 132, 141),
    shadow=(26, 28, 33),
    outline=(10, 11, 14),
    soft_hi=(88, 93, 101),
    soft_sh=(40, 43, 49),
    display=(8, 12, 19),
    display_hi=(52, 66, 76),
    display_rule=(17, 25, 33),
    accent=(58, 160, 172),
    text=(150, 192, 198),
    host=(213, 237, 245),
    groove=(14, 18, 24),
    field=(36, 40, 47),
    lit=(128, 230, 240),
    grain=1,
    emboss="outline",  # under a glyph that does not glow: here a drop shadow
    emboss_amount=0.6,
    glow_amount=0.3,
    glint="lit",
    bar_frame="outline",
    lamp_lit=(92, 226, 104),
    lamp_dark=(50, 54, 60),
    rod_edge="outline",
    rod_green=(64, 200, 84),
    rod_cyan=(40, 196, 220),
    rod_red=(220, 58, 50),
    rod_yellow=(228, 196, 44),
    rod_grey=(140, 146, 154),
    states=[  # normal, hover, pressed: the frames' order in every strip
        ((16, 2), "hilite", "shadow", (196, 203, 211), "display_rule", False, True),
        ((34, 18), (168, 175, 184), "shadow", "lit", "lit", True, True),
        ((-18, -10), "outline", "soft_hi", "text", "accent", False, False),
    ],
    marker=((16, 2), "hilite", "shadow", (236, 170, 64), None, False, True),  # amber signs
)

# Daylight: pale warm aluminium lit from above, soft grey shadows, glyphs engraved dark
# into the metal with a bright lower edge, pale LCD displays with dark ink, and a signal
# orange where the built-in art has teal.
DAYLIGHT = Skin(
    "daylight", os.path.join("res", "skins", "daylight"),
    metal=(204, 203, 198),
    hilite=(250, 249, 245),
    shadow=(138, 136, 130),
    outline=(98, 97, 94),
    soft_hi=(228, 227, 222),
    soft_sh=(172, 170, 164),
    display=(210, 219, 197),
    display_hi=(240, 242, 234),
    display_rule=(198, 208, 184),
    accent=(230, 96, 28),
    text=(70, 72, 74),
    host=(244, 243, 238),
    groove=(150, 149, 144),
    field=(226, 225, 220),
    lit=(224, 92, 24),
    grain=1.6,
    emboss=(255, 255, 255),  # a bright lower edge: the glyph reads as engraved
    emboss_amount=0.7,
    glow_amount=0.18,
    glint=(255, 255, 255),
    bar_frame="display",
    lamp_lit=(52, 62, 54),
    lamp_dark=(190, 199, 178),
    rod_edge=(120, 118, 114),
    rod_green=(52, 168, 72),
    rod_cyan=(0, 150, 196),
    rod_red=(214, 52, 40),
    rod_yellow=(232, 180, 20),
    rod_grey=(150, 150, 146),
    states=[
        ((14, -2), "hilite", "shadow", (64, 66, 70), (176, 174, 168), False, True),
        ((22, 8), (255, 255, 255), "shadow", "lit", (246, 170, 120), True, True),
        ((-16, -8), "outline", "soft_hi", (178, 70, 14), "accent", False, False),
    ],
    marker=((14, -2), "hilite", "shadow", "accent", None, False, True),
    # What the host paints with over this art, for skin.ini.
    host_colours=[
        ("background", "host"),
        ("display_back", "display"),
        ("display_text", (40, 50, 42)),
        ("display_dim", (112, 124, 104)),
        ("text_light", (36, 40, 44)),
        ("text_alert", (196, 32, 24)),
        ("text_muted", (120, 122, 120)),
        ("text_muted2", (140, 140, 136)),
        ("accent_1", (210, 40, 30)),
        ("accent_2", (214, 96, 0)),
        ("accent_3", (150, 120, 0)),
        ("label_text", (44, 46, 50)),
        ("slip_value", (190, 72, 14)),
        ("button_dot", (214, 48, 38)),
    ],
)

SKINS = [BUILT_IN, DAYLIGHT]

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
    """A picture w x h units of the design drawn at density k: each unit is k x k
    pixels, and w and h here are its pixel size."""
    def __init__(self, w, h, color=(0, 0, 0), k=1):
        self.k = k
        self.w, self.h = w * k, h * k
        self.px = [color] * (self.w * self.h)

    @property
    def size(self):
        return self.w // self.k, self.h // self.k


def blit(dst, src, x, y, xs=None, ys=None):
    """Copies src to pixel (x, y); xs and ys pick (and may repeat) source columns and rows."""
    xs = xs if xs is not None else range(src.w)
    ys = ys if ys is not None else range(src.h)
    for j, sy in enumerate(ys):
        row = src.px[sy * src.w:(sy + 1) * src.w]
        base = (y + j) * dst.w + x
        dst.px[base:base + len(xs)] = [row[sx] for sx in xs]


def shade(c, d):
    return tuple(max(0, min(255, v + d)) for v in c)


def fill_px(cv, x0, y0, x1, y1, color, amount=1.0):
    """Paints the pixels [x0, x1) x [y0, y1), or lays the colour over them at `amount`."""
    x0, y0, x1, y1 = max(x0, 0), max(y0, 0), min(x1, cv.w), min(y1, cv.h)
    for row in range(y0, y1):
        if amount == 1:
            cv.px[row * cv.w + x0:row * cv.w + x1] = [color] * (x1 - x0)
        else:
            cv.px[row * cv.w + x0:row * cv.w + x1] = [mix(c, color, amount) for c in
                                                      cv.px[row * cv.w + x0:row * cv.w + x1]]


# From here on, places and lengths are in units of the design, whatever the density.

def fill(cv, x, y, w, h, color, amount=1.0):
    k = cv.k
    fill_px(cv, x * k, y * k, (x + w) * k, (y + h) * k, color, amount)


def hline(cv, x, y, w, color):
    fill(cv, x, y, w, 1, color)


def vline(cv, x, y, h, color):
    fill(cv, x, y, 1, h, color)


def frame(cv, x, y, w, h, first, last=None, first_owns=True, outside=False):
    """A border a unit wide inside the box (x, y, w, h), or just outside it: `first`
    along the top and left, `last` along the bottom and right; the top-right and
    bottom-left corners go to `first` if first_owns. At a finer density it is k rings
    of pixels, the one against the box's edge in full and the others half over what
    lies under, so the edge reads fine and sharp rather than fat."""
    k, c = cv.k, 0 if first_owns else 1
    for r in range(k):
        g = -1 - r if outside else r  # pixels in from the box's edge
        x0, y0, x1, y1 = x * k + g, y * k + g, (x + w) * k - g, (y + h) * k - g
        amount = 1.0 if r == 0 else 0.5
        if first:
            fill_px(cv, x0, y0, x1 - c, y0 + 1, first, amount)
            fill_px(cv, x0, y0 + 1, x0 + 1, y1 - c, first, amount)
        if last:
            fill_px(cv, x0 + 1 - c, y1 - 1, x1, y1, last, amount)
            fill_px(cv, x1 - 1, y0 + 1 - c, x1, y1 - 1, last, amount)


def bevel(cv, x, y, w, h, light, dark):
    """Raised edge drawn on the rectangle's own border pixels."""
    frame(cv, x, y, w, h, light, dark)


def recess(cv, x, y, w, h, inner, dark, light):
    """Sunken edge drawn just outside (x, y, w, h), so the inside stays exactly
    the rectangle the host paints into."""
    if inner is not None:
        fill(cv, x, y, w, h, inner)
    frame(cv, x, y, w, h, dark, light, first_owns=False, outside=True)


def well(skin, cv, x, y, w, h, inner):
    """A two-step recess: a soft chamfer around a crisp inner edge."""
    recess(cv, x - 1, y - 1, w + 2, h + 2, None, skin.soft_sh, skin.soft_hi)
    recess(cv, x, y, w, h, inner, skin.outline, skin.display_hi)


def row_at(j, k, n):
    """Where the middle of pixel row j lies among n rows of the design, held inside
    them: a finer density samples the same ramp between its rows."""
    return min(max((j + 0.5) / k - 0.5, 0), n - 1)


def gradient(cv, x, y, w, h, d0, d1):
    """Brightens row by row from d0 to d1; rows stay uniform, so a horizontal
    band cut through it still repeats cleanly."""
    k = cv.k
    for j in range(h * k):
        d = round(d0 + (d1 - d0) * row_at(j, k, h) / max(h - 1, 1))
        base, shaded = (y * k + j) * cv.w, {}
        cv.px[base + x * k:base + (x + w) * k] = [
            shaded[c] if c in shaded else shaded.setdefault(c, shade(c, d))
            for c in cv.px[base + x * k:base + (x + w) * k]]


def line_noise(n, seed, amp=3, k=1):
    """Brightness offsets of brushing lines: fine grain plus a few streaks. At density
    k each line of the design splits into k finer ones around the same mean, so the
    streaks stay where they were."""
    rng = random.Random(seed)
    out = []
    for _ in range(n):
        v = rng.gauss(0, amp * 0.45)
        if rng.random() < 0.1:
            v += rng.choice((-1, 1)) * amp
        out.append(round(v))
    if k == 1:
        return out
    grain = random.Random(seed * 1000 + k)
    finer = []
    for v in out:
        split = [round(grain.gauss(0, amp * 0.4)) for _ in range(k - 1)]
        finer += [v + s for s in split] + [v - sum(split)]
    return finer


def brushed(skin, cv, x, y, w, h, base, seed, vertical=False, amp=3):
    """Metal whose grain runs along one axis only, so any length of it can be
    repeated without a seam; the skin's grain deepens it (pale metal needs more to
    read as brushed)."""
    k, amp = cv.k, amp * skin.grain
    if vertical:
        for i, d in enumerate(line_noise(w, seed, amp, k)):
            fill_px(cv, x * k + i, y * k, x * k + i + 1, (y + h) * k, shade(base, d))
    else:
        for i, d in enumerate(line_noise(h, seed, amp, k)):
            fill_px(cv, x * k, y * k + i, (x + w) * k, y * k + i + 1, shade(base, d))


def outer_rim(skin, cv, sides):
    """The window's raised outer rim on the given sides (t, l, r, b): outline,
    then a bright and a soft line on top/left, a dark and a soft one on
    bottom/right. Lights are drawn last so they own the corners."""
    w, h = cv.size
    t, l, r, b = (s in sides for s in "tlrb")
    if r:
        vline(cv, w - 1, 0, h, skin.outline)
        vline(cv, w - 2, t, h - t - b, skin.shadow)
        vline(cv, w - 3, 2 * t, h - 2 * t - 2 * b, skin.soft_sh)
    if b:
        hline(cv, 0, h - 1, w, skin.outline)
        hline(cv, l, h - 2, w - l - r, skin.shadow)
        hline(cv, 2 * l, h - 3, w - 2 * l - 2 * r, skin.soft_sh)
    if t:
        hline(cv, 0, 0, w, skin.outline)
        hline(cv, l, 1, w - l - r, skin.hilite)
        hline(cv, 2 * l, 2, w - 2 * l - 2 * r, skin.soft_hi)
    if l:
        vline(cv, 0, 0, h, skin.outline)
        vline(cv, 1, t, h - t - b, skin.hilite)
        vline(cv, 2, 2 * t, h - 2 * t - 2 * b, skin.soft_hi)


def groove(skin, cv, x, y, w, lead=0):
    """An engraved horizontal rule; the first `lead` pixels glow in the accent."""
    hline(cv, x, y, w, skin.shadow)
    hline(cv, x + 1, y + 1, w, skin.soft_hi)
    hline(cv, x, y, lead, skin.accent)


# The screw head drawn pixel by pixel for each density: at 2 its rim is one pixel
# fine and its head rounder.
SCREW = {
    1: ["..ooo..",
        ".ohhmo.",
        "ohhmmdo",
        "osssssd",
        "ommddlo",
        ".omdlo.",
        "..ooo.."],
    2: ["....oooooo....",
        "..oohhhhhmoo..",
        ".ohhhhhhmmmmo.",
        ".ohhhhhmmmmdo.",
        "ohhhhhmmmmmddo",
        "ohhhhmmmmmdddo",
        "osssssssssssdd",
        "osssssssssssdd",
        "ommmmmmddddllo",
        "ommmmmddddlllo",
        ".ommmdddddllo.",
        "..ommdddddlo..",
        "...oodddloo...",
        "....oooooo...."],
}


def screw(skin, cv, x, y):
    """A 7 x 7 slotted screw head, top-left corner at (x, y)."""
    stamp(cv, x, y, SCREW[cv.k], {"o": skin.shadow, "h": skin.hilite,
                                  "m": shade(skin.metal, 10), "d": skin.soft_sh,
                                  "s": skin.outline, "l": skin.soft_hi})


def stamp(cv, x, y, rows, ink):
    """Paints a character map, one character a pixel, from (x, y); characters
    missing from `ink` stay clear."""
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            if ch in ink:
                cv.px[(y * cv.k + j) * cv.w + x * cv.k + i] = ink[ch]


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
    ink(cv, x, y, text_mask(s, cv.k), color)


# ---------------------------------------------------------------- bitmaps

def draw_face_top(skin, k=1):
    cv = Canvas(1024, 15, k=k)
    brushed(skin, cv, 0, 0, 1024, 15, skin.metal, seed=11)
    gradient(cv, 0, 3, 1024, 10, 5, -3)
    outer_rim(skin, cv, "tlr")
    hline(cv, 3, 13, 1018, skin.soft_sh)
    groove(skin, cv, 24, 6, 796, lead=40)
    groove(skin, cv, 852, 6, 150)
    # Shadow of the host area's top edge; its right edge starts light.
    hline(cv, 10, 14, 830, skin.shadow)
    fill(cv, 840, 14, 1, 1, skin.hilite)
    return cv


def draw_face_left(skin, k=1):
    cv = Canvas(11, 552, k=k)
    brushed(skin, cv, 0, 0, 11, 552, skin.metal, seed=21, vertical=True)
    outer_rim(skin, cv, "l")
    vline(cv, 9, 0, 552, skin.soft_sh)
    vline(cv, 10, 0, 552, skin.shadow)
    # A short grip in the middle of the rail, clear of the repeated rows.
    for y in range(262, 294, 4):
        bevel(cv, 4, y, 4, 2, skin.soft_hi, skin.shadow)
    return cv


def draw_face_right(skin, k=1):
    cv = Canvas(184, 552, k=k)
    brushed(skin, cv, 0, 0, 184, 552, skin.metal, seed=31, vertical=True)
    outer_rim(skin, cv, "r")
    vline(cv, 0, 0, 552, skin.hilite)
    vline(cv, 1, 0, 552, skin.soft_sh)
    # Seat of the host's 172 x 122 panel: darker metal in a soft recess.
    seat = Canvas(172, 122, k=k)
    brushed(skin, seat, 0, 0, 172, 122, shade(skin.metal, -10), seed=32, vertical=True, amp=2)
    blit(cv, seat, 5 * k, 3 * k)
    recess(cv, 5, 3, 172, 122, None, skin.soft_sh, skin.soft_hi)
    # Framed box holding the two display rows (codes 0 and 1).
    well(skin, cv, 13, 110, 156, 39, skin.display)
    hline(cv, 13, 124, 156, skin.display_rule)
    # Value field (code 2) with its caption and unit.
    recess(cv, 60, 152, 88, 12, skin.display, skin.outline, skin.display_hi)
    text(cv, 43, 154, "CPU", skin.text)
    text(cv, 151, 154, "%", skin.text)
    # A rule between the readouts and the list, pinned by two screws.
    groove(skin, cv, 16, 195, 152, lead=24)
    screw(skin, cv, 6, 192)
    screw(skin, cv, 171, 192)
    # Top of the list area (code 3); it runs on into the bottom face.
    well(skin, cv, 7, 227, 169, 330, skin.display)
    return cv


def draw_face_bottom(skin, k=1):
    cv = Canvas(1024, 201, k=k)
    brushed(skin, cv, 0, 0, 1024, 201, skin.metal, seed=41)
    gradient(cv, 0, 141, 1024, 57, 5, -4)
    outer_rim(skin, cv, "lrb")
    # Lower edge of the host area.
    hline(cv, 10, 0, 831, skin.hilite)
    # Foot of the list area (code 3) started in the right face.
    well(skin, cv, 847, -10, 169, 35, skin.display)
    # Seat of the level display (code 4), with faint scale rules.
    well(skin, cv, 17, 32, 993, 107, skin.display)
    for y in range(138, 32, -8):
        hline(cv, 17, y, 993, skin.display_rule)
    # Control deck: plain metal, one groove between the key rows.
    groove(skin, cv, 16, 157, 993, lead=40)
    screw(skin, cv, 5, 184)
    screw(skin, cv, 1012, 184)
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


def band_faults(name, cv):
    """Every column (or row) of a repeated band must equal every other one,
    else a cut at any length would show a seam. At density k the library repeats
    the same bands with every place and width k times over."""
    k, shown, out = cv.k, file_name(name, cv.k), []
    for axis, rows, bands in BANDS.get(name, []):
        for start, width in bands:
            start, width = start * k, width * k
            if axis == "x":
                for y in range(rows[0] * k, (rows[1] + 1) * k):
                    line = cv.px[y * cv.w + start:y * cv.w + start + width]
                    if line.count(line[0]) != width:
                        out.append(f"{shown}: row {y} not uniform in columns "
                                   f"{start}..{start + width - 1}")
                        break
            else:
                first = cv.px[start * cv.w:(start + 1) * cv.w]
                for y in range(start + 1, start + width):
                    if cv.px[y * cv.w:(y + 1) * cv.w] != first:
                        out.append(f"{shown}: row {y} differs from row {start}")
                        break
    return out


# ---------------------------------------------------------------- keys

def mix(a, b, k):
    return tuple(round(u + (v - u) * k) for u, v in zip(a, b))


def samples(i, j, k=1):
    """4 x 4 points spread over pixel (i, j) at density k, in units of the design,
    to smooth curved and slanted edges."""
    return [((i + (si + 0.5) / 4) / k, (j + (sj + 0.5) / 4) / k)
            for sj in range(4) for si in range(4)]


def render(cv, color, inside=None):
    """Paints color(x, y) averaged over each pixel's samples; where it is None the
    canvas shows through. With `inside`, pixels of the design less than half inside
    become the key colour whole, so no edge is blended into it; the test is made on
    the design's pixels whatever the density, so the keyed shape is the same at all."""
    k, keyed = cv.k, {}  # by the design's pixel
    for j in range(cv.h):
        for i in range(cv.w):
            p, at = j * cv.w + i, (i // k, j // k)
            if inside and at not in keyed:
                keyed[at] = sum(inside(x, y) for x, y in samples(*at)) < 8
            if inside and keyed[at]:
                cv.px[p] = KEY
                continue
            got = [color(x, y) or cv.px[p] for x, y in samples(i, j, k)]
            cv.px[p] = tuple(round(sum(channel) / len(got)) for channel in zip(*got))


class Mask:
    """A glyph's coverage, 0 to 1 per pixel, at density k."""
    def __init__(self, w, h, a, k=1):
        self.w, self.h, self.a, self.k = w, h, a, k

    @property
    def size(self):
        return self.w // self.k, self.h // self.k


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


def shape_mask(w, h, shapes, k=1):
    """Later shapes win over earlier ones; a ("cut", shape) clears what it covers."""
    def covered(x, y):
        on = False
        for s in shapes:
            if hit(s, x, y):
                on = s[0] != "cut"
        return on
    return Mask(w * k, h * k, [sum(covered(x, y) for x, y in samples(i, j, k)) / 16
                               for j in range(h * k) for i in range(w * k)], k)


@functools.lru_cache(None)
def glyph_mask(ch, k):
    """A letter of the pixel font. At density 1 its pixels are squares. Finer, it is
    stroked: a pen a unit wide runs between the middles of neighbouring pixels, and
    also of pixels that touch only at a corner, where the pixels give way to the
    stroke; so slants and rounds come out smooth, while stems, ends and square
    corners keep their crisp edges."""
    rows = GLYPHS[ch]
    on = {(x, y) for y, row in enumerate(rows) for x, c in enumerate(row) if c == "#"}
    links, slanted = [], set()
    if k > 1:
        for x, y in sorted(on):
            links += [((x, y), (x + 1, y)), ((x, y), (x, y + 1))]
            for dx in (-1, 1):
                if (x + dx, y) not in on and (x, y + 1) not in on:
                    links.append(((x, y), (x + dx, y + 1)))
                    slanted |= {(x, y), (x + dx, y + 1)}
        links = [(a, b) for a, b in links if a in on and b in on]
    shapes = [("rect", x, y, x + 1, y + 1) for x, y in sorted(on - slanted)]
    shapes += [("line", [(ax + 0.5, ay + 0.5), (bx + 0.5, by + 0.5)], 1)
               for (ax, ay), (bx, by) in links]
    return shape_mask(len(rows[0]), len(rows), shapes, k)


@functools.lru_cache(None)
def text_mask(s, k=1):
    """The letters side by side, a unit apart."""
    glyphs = [glyph_mask(c, k) for c in s]
    w, h = sum(g.w + k for g in glyphs) - k, 7 * k
    a, x = [0] * (w * h), 0
    for g in glyphs:
        for j in range(g.h):
            a[j * w + x:j * w + x + g.w] = g.a[j * g.w:(j + 1) * g.w]
        x += g.w + k
    return Mask(w, h, a, k)


@functools.lru_cache(None)
def grown(m):
    """The mask widened by a unit of the design all round, for a glow."""
    n = m.k

    def at(i, j):
        return m.a[j * m.w + i] if 0 <= i < m.w and 0 <= j < m.h else 0
    return Mask(m.w + 2 * n, m.h + 2 * n,
                [max(at(i + di, j + dj) for di in range(-2 * n, 1) for dj in range(-2 * n, 1))
                 for j in range(m.h + 2 * n) for i in range(m.w + 2 * n)], n)


def ink(cv, x, y, m, color, amount=1.0):
    """Lays the mask on with its top-left corner at (x, y)."""
    assert m.k == cv.k
    for j in range(m.h):
        for i in range(m.w):
            if m.a[j * m.w + i]:
                p = (y * cv.k + j) * cv.w + x * cv.k + i
                cv.px[p] = mix(cv.px[p], color, m.a[j * m.w + i] * amount)


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


@functools.lru_cache(None)
def icon_mask(icon, k):
    return shape_mask(*ICONS[icon], k)


def marks_on(skin, cv, st, marks, left=0):
    """Lays the marks (icon, word) out in a row centred right of `left`."""
    gap = 5
    w, h = cv.size
    x = left + (w - left - sum(m.size[0] for m in marks) - gap * (len(marks) - 1)) // 2 + st.shift
    for m in marks:
        y = (h - m.size[1]) // 2 + st.shift
        if st.glow:
            ink(cv, x - 1, y - 1, grown(m), skin.accent, skin.glow_amount)
        else:
            ink(cv, x + 1, y + 1, m, skin.emboss, skin.emboss_amount)
        ink(cv, x, y, m, st.glyph)
        x += m.size[0] + gap


def plate(skin, cv, st):
    """A key filling the rectangle: a seat a unit wide sunk into the metal round a
    bevelled face; pushed in, it gets a second dark line along its top and left."""
    w, h = cv.size
    fill(cv, 0, 0, w, h, skin.metal)
    gradient(cv, 1, 1, w - 2, h - 2, *st.face)
    bevel(cv, 0, 0, w, h, skin.soft_sh, skin.soft_hi)
    bevel(cv, 1, 1, w - 2, h - 2, st.light, st.dark)
    if not st.raised:
        frame(cv, 2, 2, w - 4, h - 4, skin.shadow)
    for x, y in ((1, 1), (w - 2, 1), (1, h - 2), (w - 2, h - 2)):
        fill(cv, x, y, 1, 1, skin.metal, 0.6)


def plate_key(skin, cv, st, marks):
    plate(skin, cv, st)
    marks_on(skin, cv, st, marks)


def tab_key(skin, cv, st, marks):
    """A mode tab: a plate with a lamp at its left end. The tabs overlap by 9 rows,
    so everything that matters stays in the middle 20."""
    plate(skin, cv, st)
    recess(cv, 5, 11, 2, 16, st.lamp, skin.outline, skin.soft_hi)
    marks_on(skin, cv, st, marks, left=8)


def round_key(skin, cv, st, marks):
    """A round key in a seat sunk into brushed metal, lit from the top left."""
    w, h = cv.size
    brushed(skin, cv, 0, 0, w, h, skin.metal, seed=51)
    c, lit = w / 2, 1 if st.raised else -1

    def color(x, y):
        r = math.hypot(x - c, y - c)
        if r <= 17.2:
            return shade(skin.metal, round(st.face[0] + (st.face[1] - st.face[0]) *
                                           (y - c + 17.2) / 34.4))
        toward = (c - x + c - y) / (r * math.sqrt(2))  # 1 at the top left, -1 at the bottom right
        if r > 21.5:
            return None
        if r > 20:
            return shade(skin.metal, round(-22 * toward))
        if r > 19.2:
            return skin.outline
        return shade(skin.metal, st.face[0] + round(lit * 45 * toward))
    render(cv, color)
    marks_on(skin, cv, st, marks)


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


def draw_strip(skin, fw, h, kind, icon, word, k=1):
    marks = [icon_mask(icon, k)] + ([text_mask(word, k)] if word else [])
    strip = Canvas(3 * fw, h, k=k)
    for n, st in enumerate(skin.states):
        cell = Canvas(fw, h, k=k)
        kind(skin, cell, st, marks)
        blit(strip, cell, n * fw * k, 0)
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
    k = cv.k
    out = Canvas(w, h, k=k)
    blit(out, cv, 0, 0, xs=range(x * k, (x + w) * k), ys=range(y * k, (y + h) * k))
    return out


def blit_keyed(dst, src, x, y):
    """Copies src to (x, y) but for its key-coloured pixels, as the host paints it."""
    for j in range(src.h):
        for i in range(src.w):
            if src.px[j * src.w + i] != KEY:
                dst.px[(y + j) * dst.w + x + i] = src.px[j * src.w + i]


@functools.lru_cache(None)
def face_1024(skin, k=1):
    """The face at 1024 x 768, whose metal the tracks with a fixed place lie on."""
    return compose(skin, {name: draw(skin, k) for name, _, _, draw in ART}, 1024, 768, k)


PANEL_FIELD = (5, 6, 160, 110)  # where the host paints inside the panel


def panel(skin, w, h, k=1):
    """A raised plate with rounded corners, keyed out beyond them, round a calm sunken
    field for the host."""
    cv = Canvas(w, h, k=k)
    brushed(skin, cv, 0, 0, w, h, shade(skin.metal, 8), seed=71)
    gradient(cv, 0, 0, w, h, 8, -8)
    box, r = (0, 0, w, h), 8

    def rim(x, y):
        d, facing = round_box(x, y, box, r)
        if d < 1:
            return skin.outline
        if d < 2:
            return lit_edge(skin.hilite, skin.shadow, facing)
        return lit_edge(skin.soft_hi, skin.soft_sh, facing) if d < 3 else None
    render(cv, rim, inside=lambda x, y: round_box(x, y, box, r)[0] >= 0)
    well(skin, cv, *PANEL_FIELD, skin.field)
    gradient(cv, *PANEL_FIELD, -6, 4)
    return cv


def level_bar(skin, w, h, k=1, *, lamp):
    """A row of lamp segments in a frame. The host shows a length of the lit bar over
    the dark one, so both share the segments."""
    cv = Canvas(w, h, skin.bar_frame, k)
    lamp = skin.colour(lamp)
    for x in range(1, w - 1, 4):
        fill(cv, x, 1, 3, h - 2, lamp)
        gradient(cv, x, 1, 3, h - 2, 24, -16)
    return cv


def rod(skin, w, h, k=1, *, hue):
    """A bar shaded like a lit rod: dark at the top and bottom, white along the
    middle. Its rows are flat colours, few enough for a 16-colour palette (at any
    density, as it is the same both sides of the middle)."""
    cv, hue = Canvas(w, h, k=k), skin.colour(hue)
    half = h // 2 - 1
    for j in range(h * k):
        y = row_at(j, k, h)
        f = min(y, h - 1 - y, half) / half
        fill_px(cv, 0, j, cv.w, j + 1, mix(skin.rod_edge, hue, 0.35 + 1.3 * f) if f <= 0.5
                else mix(hue, (255, 255, 255), 2 * f - 1))
    return cv


def track(skin, w, h, k=1, *, thick, at=None):
    """A round-ended groove sunk along the part, on the metal it covers on the
    face at 1024 x 768 (at: its top-left corner there), else on plain metal. Its
    middle is the same all along, so any length of it repeats cleanly."""
    if at:
        cv = crop(face_1024(skin, k), *at, w, h)
    else:
        cv = Canvas(w, h, k=k)
        brushed(skin, cv, 0, 0, w, h, skin.metal, seed=81, vertical=h > w)
    if w > h:
        box = (2, (h - thick) / 2, w - 2, (h + thick) / 2)
    else:
        box = ((w - thick) / 2, 2, (w + thick) / 2, h - 2)

    def color(x, y):
        d, facing = round_box(x, y, box, thick / 2)
        if d < -1:
            return None
        if d < 0:
            return lit_edge(skin.soft_sh, skin.soft_hi, facing)
        if d < 1:
            return skin.outline
        # The floor is shaded under its upper wall and catches light at its lower one.
        return shade(skin.groove, round(-8 * facing * max(0, 2.5 - d)))
    render(cv, color)
    return cv


def knob(skin, w, h, k=1):
    """A round metal thumb on the key colour, lit from the top left, with a coloured
    glint; every pixel is either knob or key, never a blend of the two."""
    cv = Canvas(w, h, KEY, k)
    r = min(w, h) / 2 - 0.3  # off the border, so no lone pixel pokes out of the round
    cx, cy = w / 2, h / 2
    box = (cx - r, cy - r, cx + r, cy + r)

    def color(x, y):
        d, facing = round_box(x, y, box, r)
        if d < 1:
            return skin.outline
        if d < 2:
            return shade(skin.metal, round(40 * facing))
        # A dome: bright above, dark below, the glint up and to the left.
        glint = math.hypot(x - cx + 0.32 * r, y - cy + 0.38 * r) / r
        body = shade(skin.metal, round(30 - 34 * (y - cy) / r - 24 * glint))
        return mix(body, skin.glint, min(1, max(0, 0.75 - 1.6 * glint)))
    render(cv, color, inside=lambda x, y: round_box(x, y, box, r)[0] >= 0)
    return cv


def marker(skin, w, h, k=1, *, icon):
    """A small raised tab with a sign in the marker colour, painted over the track."""
    cv = Canvas(w, h, k=k)
    plate_key(skin, cv, skin.marker, [icon_mask(icon, k)])
    return cv


# Each slip type: track id and size, groove thickness, thumb id and size, where the
# track lies on the face at 1024 x 768 (None: no fixed place on it), and the markers
# painted over it (id and sign).
SLIPS = [
    (117, (646, 20), 8, 116, (18, 19), (15, 577), [(170, "mark_in"), (171, "mark_out")]),
    (119, (134, 14), 6, 118, (14, 14), (695, 578), []),
    (174, (13, 96), 7, 175, (13, 14), None, []),
]

# The parts: (file name, width, height, bits per pixel, draw(width, height, density)).
PARTS = [
    ("query_173.bmp", 172, 122, 24, panel),
    ("query_161.bmp", 145, 18, 24, functools.partial(level_bar, lamp="lamp_lit")),
    ("query_162.bmp", 145, 18, 24, functools.partial(level_bar, lamp="lamp_dark")),
] + [
    (f"query_{n}.bmp", 585, 14, 4, functools.partial(rod, hue=f"rod_{hue}")) for n, hue in (
        (165, "green"), (166, "cyan"), (167, "red"), (168, "yellow"), (169, "grey"))
] + [
    (f"slip_{n}.bmp", *size, 24, draw) for t, t_size, thick, b, b_size, at, marks in SLIPS
    for n, size, draw in [(t, t_size, functools.partial(track, thick=thick, at=at)),
                          (b, b_size, knob)] +
    [(m, (11, 13), functools.partial(marker, icon=icon)) for m, icon in marks]
]


def key_faults(name, one, finer):
    """Nothing may come near the key colour without being it, else it would show as
    a pink fringe where the key is cut out. And the finer picture keys out exactly
    the same shape: each k x k block whole where the design's pixel is keyed, and
    none of it elsewhere, as the host and the slips cut by the design's outline."""
    out = []
    for cv in (one, finer):
        near = {c for c in set(cv.px)
                if c != KEY and max(abs(a - b) for a, b in zip(c, KEY)) <= 100}
        if near:
            first = next(c for c in cv.px if c in near)
            out.append(f"{file_name(name, cv.k)}: {first} is near the key colour")
    k = finer.k
    for j in range(finer.h):
        for i in range(finer.w):
            if (finer.px[j * finer.w + i] == KEY) != (one.px[j // k * one.w + i // k] == KEY):
                out.append(f"{file_name(name, k)}: pixel ({i}, {j}) is "
                           f"{'' if finer.px[j * finer.w + i] == KEY else 'not '}keyed, "
                           f"unlike ({i // k}, {j // k}) of {name}")
                return out
    return out


def fine_share(cv):
    """The share of the design's pixels whose k x k block is not one flat colour:
    none in a picture merely enlarged."""
    k, fine = cv.k, 0
    for y in range(0, cv.h, k):
        for x in range(0, cv.w, k):
            first = cv.px[y * cv.w + x]
            fine += any(cv.px[(y + j) * cv.w + x + i] != first for j in range(k) for i in range(k))
    return fine / (cv.w * cv.h // (k * k))


def half_difference(one, finer):
    """How far the finer picture, averaged down block by block to the design's pixels,
    is from the picture drawn at density 1: the mean absolute difference of the
    worst colour channel."""
    k, total = finer.k, [0, 0, 0]
    for y in range(one.h):
        rows = [finer.px[(y * k + j) * finer.w:(y * k + j + 1) * finer.w] for j in range(k)]
        for x, p in enumerate(one.px[y * one.w:(y + 1) * one.w]):
            block = [row[x * k + i] for row in rows for i in range(k)]
            for n in range(3):
                total[n] += abs(sum(c[n] for c in block) / (k * k) - p[n])
    return max(total) / (one.w * one.h)


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


def compose(skin, faces, W, H, k=1):
    """The face widened to W x H; at density k every band, length and place is k times
    as long, as the library draws it at that scale."""
    dW, MH = W - 1024, H - 216
    half = (MH - 552) // 2
    top, left, right, bottom = (faces[n] for n, _, _, _ in ART)
    screen = Canvas(W, H, skin.host, k)

    def widened(n, bands, extras):
        return stretch_map(n * k, [(s * k, w * k, e * k) for (s, w), e in zip(bands, extras)])

    blit(screen, top, 0, 0, xs=widened(1024, TOP_BANDS, [dW]))
    blit(screen, left, 0, 15 * k, ys=widened(552, LEFT_BANDS, [half, MH - 552 - half]))
    blit(screen, right, (W - 184) * k, 15 * k, ys=widened(552, RIGHT_BANDS, [MH - 552]))
    r, q = dW // 10, dW // 8
    extras = [[dW], [r] * 8 + [dW - 8 * r], [q] * 5 + [dW - 5 * q]]
    for ((y0, y1), bands), ex in zip(BOTTOM_STRIPS, extras):
        blit(screen, bottom, 0, (H - 201 + y0) * k, xs=widened(1024, bands, ex),
             ys=range(y0 * k, (y1 + 1) * k))
    return screen


def label(name):
    """The id (and language) in a file name: "button_121_1033.bmp" gives "121 1033"."""
    return name.split("_", 1)[1][:-len(".bmp")].replace("_", " ")


def contact_sheet(skin, items, width=600, k=1):
    """Every picture on the metal under its label, in rows, at twice the design's size:
    art drawn at density 1 doubled pixel for pixel, at density 2 as drawn."""
    places, x, y, row = [], 8, 8, 0
    for caption, cv in items:
        w, h = cv.size
        if x + w > width - 8:
            x, y, row = 8, y + row + 8, 0
        places.append((x, y, caption, cv))
        x, row = x + w + 12, max(row, h + 10)
    sheet = Canvas(width, y + row + 8, k=k)
    brushed(skin, sheet, 0, 0, width, y + row + 8, skin.metal, seed=61)
    for x, y, caption, cv in places:
        text(sheet, x, y, caption, skin.text)
        blit(sheet, cv, x * k, (y + 10) * k)
    n = 2 // k
    big = Canvas(n * sheet.w, n * sheet.h)
    blit(big, sheet, 0, 0, xs=[i // n for i in range(big.w)], ys=[j // n for j in range(big.h)])
    return big


def slip_scene(track, pieces):
    """A track as its slip paints it, each piece (thumb, marker) keyed on at its
    fraction of the way along."""
    (w, h), k = track.size, track.k
    cv = crop(track, 0, 0, w, h)
    for p, f in pieces:
        pw, ph = p.size
        if w > h:
            blit_keyed(cv, p, round((w - pw) * f) * k, (h - ph) // 2 * k)
        else:
            blit_keyed(cv, p, (w - pw) // 2 * k, round((h - ph) * f) * k)
    return cv


def parts_sheet(skin, parts, k=1):
    """Every part under its id, then each slip as painted, and the face's bottom
    left with its slips in place."""
    items = [(label(name), cv) for name, cv in parts.items()]
    face = crop(face_1024(skin, k), 0, 0, 1024, 768)
    for t, _, _, b, _, at, marks in SLIPS:
        ids = [b] + [m for m, _ in marks]
        scene = slip_scene(parts[f"slip_{t}.bmp"], [(parts[f"slip_{n}.bmp"], f)
                                                    for n, f in zip(ids, (1 / 3, 1 / 6, 2 / 3))])
        items.append((" ".join(map(str, [t] + ids)), scene))
        if at:
            blit(face, scene, at[0] * k, at[1] * k)
    items.append(("IN PLACE", crop(face, 0, 560, 850, 46)))
    return contact_sheet(skin, items, width=880, k=k)


# The demo host's sample logo: a lit plate that the library prints at the top-left of the
# right-hand panel, where it glows around the host's picture frame.
def draw_demo_logo():
    cv = Canvas(184, 128, BUILT_IN.display)
    for ring in range(12):
        shade_of = tuple(min(255, c + (11 - ring) * 9) for c in (8, 40, 46))
        fill(cv, ring, ring, cv.w - 2 * ring, cv.h - 2 * ring, shade_of)
    return cv


# Densities drawn: 1 for the design's own size, 2 for the library's double scale.
DENSITIES = (1, 2)
LIMIT = 12  # how far (of 255) a finer picture, halved, may stray from the plain one
FINEST = 0.05  # the least share of a finer picture's blocks that show finer detail


def file_name(name, k):
    """The file of a picture drawn at density k: button_111.bmp, button_111@2x.bmp."""
    return name if k == 1 else f"{name[:-len('.bmp')]}@{k}x.bmp"


def draw_all(skin, k):
    """Every bitmap of the skin at density k: name -> (picture, bits per pixel, the
    design's width and height)."""
    out = {}
    for name, w, h, draw in ART:
        out[name] = (draw(skin, k), 24, (w, h))
    for name, fw, h, kind, icon, word in BUTTONS:
        out[name] = (draw_strip(skin, fw, h, kind, icon, word, k), 24, (3 * fw, h))
    for name, w, h, bits, draw in PARTS:
        out[name] = (draw(skin, w, h, k), bits, (w, h))
    return out


# skin.ini: the colours the host paints with over a skin, in this order, each line
# "key = #RRGGBB". The built-in art's, which the library holds itself, are given after
# each key.
INI_KEYS = [
    "background",    # the inner area the host fills: 213, 237, 245
    "display_back",  # the host's displays: 0, 0, 0
    "display_text",  # their text: 0, 191, 0
    "display_dim",   # their dim text: 0, 39, 0
    "text_light",    # the host's light text: 255, 255, 255
    "text_alert",    # its alert text: 207, 0, 0
    "text_muted",    # its muted text: 154, 154, 154
    "text_muted2",   # a second muted text: 154, 154, 154
    "accent_1",      # 255, 0, 0
    "accent_2",      # 255, 153, 0
    "accent_3",      # 238, 227, 110
    "label_text",    # the labels' default text: 255, 255, 255
    "slip_value",    # the value a slider shows on its thumb: 0, 0, 255
    "button_dot",    # the red dot a button may show: 255, 0, 0
]


def ini_bytes(skin):
    lines = [f'; The colours the host paints with over the "{skin.name}" skin.',
             "; Written by tools/make_art.py."]
    lines += [f"{key} = #{r:02X}{g:02X}{b:02X}" for key, (r, g, b) in skin.host_colours]
    return "".join(line + "\n" for line in lines).encode("ascii")


def ini_faults(skin):
    keys = [key for key, _ in skin.host_colours]
    return [] if keys == INI_KEYS else \
        [f"{skin.folder}/skin.ini: keys {keys}, not {INI_KEYS}"]


def make_files(skin, drawn):
    """Every file written for the skin, by its path from the root, with its bytes: the
    built-in art also has the cursor and the demo's logo; another skin has skin.ini."""
    files = {}
    for k in DENSITIES:
        for name, (cv, bits, _) in drawn[k].items():
            files[os.path.join(skin.folder, file_name(name, k))] = \
                {4: bmp4_bytes, 24: bmp24_bytes}[bits](cv)
    if skin is BUILT_IN:
        files[os.path.join("demo", "Pic", "VeltraLogo.bmp")] = bmp24_bytes(draw_demo_logo())
        files[os.path.join(skin.folder, "hand.cur")] = cursor_bytes(HAND, HOTSPOT)
    else:
        files[os.path.join(skin.folder, "skin.ini")] = ini_bytes(skin)
    return files


def bitmap_head(data):
    """Width, height and bits per pixel, as the file says."""
    width, height, _, depth = struct.unpack_from("<iiHH", data, 18)
    return width, height, depth


def art_faults(skin, drawn, files):
    """What is wrong with the art, a line per fault: a file whose size or depth is not
    the design's at its density; a band that would show a seam; a finer picture keyed
    unlike the plain one, or a colour near the key; a finer picture with next to no
    detail finer than the plain one (an enlargement); one that, averaged down to the
    design's pixels, strays from the plain one by more than LIMIT. Also how far each
    finer picture strays so."""
    faults, differences = [], {}
    plain = drawn[1]
    for k in DENSITIES:
        for name, (cv, bits, (w, h)) in drawn[k].items():
            shown = file_name(name, k)
            path = os.path.join(skin.folder, shown)
            if path not in files:
                continue  # replacement_faults tells
            # Read back from the file: what the library will load.
            width, height, depth = bitmap_head(files[path])
            if (width, height, depth) != (w * k, h * k, bits) or (cv.w, cv.h) != (w * k, h * k):
                faults.append(f"{shown}: {width} x {height} at {depth} bits, "
                              f"not {w * k} x {h * k} at {bits}")
                continue
            faults += band_faults(name, cv)
            if k == 1 or (plain[name][0].w, plain[name][0].h) != (w, h):
                continue
            faults += key_faults(name, plain[name][0], cv)
            if fine_share(cv) < FINEST:
                faults.append(f"{shown}: only {fine_share(cv):.1%} of its {k} x {k} blocks show "
                              f"any detail finer than {name}: drawn for the density, or enlarged?")
            differences[shown] = half_difference(plain[name][0], cv)
            if differences[shown] > LIMIT:
                faults.append(f"{shown}: halved, it is {differences[shown]:.2f} per channel "
                              f"from {name} (at most {LIMIT})")
    return [f"{skin.folder}/{fault}" for fault in faults], differences


def replacement_faults(skin, drawn, files, built, built_files):
    """A skin replaces the built-in art piece by piece: every bitmap of res/art (and
    no other) at the same size and depth, read back from both files, and keyed out
    (left to the host or the slip) in exactly the same pixels."""
    art_folder = BUILT_IN.folder
    faults = []
    names = {os.path.basename(p) for p in files if p.endswith(".bmp")}
    art = {os.path.basename(p) for p in built_files
           if p.startswith(art_folder + os.sep) and p.endswith(".bmp")}
    faults += [f"{skin.folder}/{n}: missing; res/art has it" for n in sorted(art - names)]
    faults += [f"{skin.folder}/{n}: res/art has no such piece" for n in sorted(names - art)]
    for k in DENSITIES:
        for name, (cv, _, _) in drawn[k].items():
            shown = file_name(name, k)
            if os.path.join(skin.folder, shown) not in files:
                continue  # told above
            mine = bitmap_head(files[os.path.join(skin.folder, shown)])
            theirs = bitmap_head(built_files[os.path.join(art_folder, shown)])
            if mine != theirs:
                faults.append(f"{skin.folder}/{shown}: {mine[0]} x {mine[1]} at {mine[2]} bits, "
                              f"unlike res/art's {theirs[0]} x {theirs[1]} at {theirs[2]}")
                continue
            other = built[k][name][0]
            for p, (a, b) in enumerate(zip(cv.px, other.px)):
                if (a == KEY) != (b == KEY):
                    faults.append(f"{skin.folder}/{shown}: pixel ({p % cv.w}, {p // cv.w}) is "
                                  f"{'' if a == KEY else 'not '}keyed, unlike res/art's")
                    break
    return faults


def stale_files(files):
    """Files in each skin's folder (and the demo's logo) unlike what the generator makes."""
    out = []
    for skin in SKINS:
        made = {p for p in files if p.startswith(skin.folder + os.sep)}
        folder = os.path.join(ROOT, skin.folder)
        there = {os.path.join(skin.folder, n) for n in
                 (os.listdir(folder) if os.path.isdir(folder) else [])}
        out += [f"{p}: made by the generator but missing" for p in sorted(made - there)]
        out += [f"{p}: not made by the generator" for p in sorted(there - made)]
    for p in sorted(files):
        path = os.path.join(ROOT, p)
        if os.path.exists(path):
            with open(path, "rb") as f:
                if f.read() != files[p]:
                    out.append(f"{p}: differs from what the generator makes; run tools/make_art.py")
    return out


def resource_faults():
    """Every bitmap the resource script names must have its double-density picture
    beside it, in the same language, under its id plus 2000."""
    named, lang = {}, None
    with open(os.path.join(ROOT, "res", "veltra1024.rc")) as f:
        for line in f:
            if line.startswith("LANGUAGE"):
                lang = line.split("//")[0].strip()
            m = re.match(r'(\d+)\s+BITMAP\s+"art/([^"]+)"', line)
            if m:
                named[lang, int(m.group(1))] = m.group(2)
    return [f"res/veltra1024.rc: {lang}: {n} BITMAP \"art/{name}\" has no "
            f"{n + 2000} BITMAP \"art/{file_name(name, 2)}\""
            for (lang, n), name in sorted(named.items()) if n < 2000
            and named.get((lang, n + 2000)) != file_name(name, 2)]


def main():
    drawn, files, faults, summary = {}, {}, [], []
    for skin in SKINS:
        drawn[skin] = {k: draw_all(skin, k) for k in DENSITIES}
        made = make_files(skin, drawn[skin])
        found, differences = art_faults(skin, drawn[skin], made)
        if skin is not BUILT_IN:
            found += ini_faults(skin) + replacement_faults(
                skin, drawn[skin], made, drawn[BUILT_IN], files)
        faults += found
        files.update(made)
        worst = max(differences, key=differences.get)
        summary.append(f"{skin.folder}: averaged down, each @2x picture is within "
                       f"{differences[worst]:.2f} per channel of its plain one (worst {worst})")
    if "--check" in sys.argv:
        faults += stale_files(files) + resource_faults() + stale_docs(drawn)
    summary = f"{len(files)} files; " + "; ".join(summary) + f"; limit {LIMIT}"
    if faults:
        print("\n".join(["make_art: the art is wrong:"] + faults + [summary]), file=sys.stderr)
        sys.exit(1)
    if "--check" in sys.argv:
        print(f"make_art --check: all files as the generator makes them; {summary}")
        return
    for path, data in files.items():
        write(os.path.join(ROOT, path), data)
    if "--preview" in sys.argv:
        folder = sys.argv[sys.argv.index("--preview") + 1]
        for skin in SKINS:
            for k in DENSITIES:
                for n, make in previews(skin, drawn[skin][k], k).items():
                    write(os.path.join(folder, n), make())


def previews(skin, pictures, k):
    """The preview pictures of the skin at density k, by file name, each made on
    demand: face_1024x768.png, face_1920x1080.png, buttons.png and parts.png, named
    with the skin's name first (daylight_face_1024x768.png) and the density last
    (...@2x.png)."""
    def name(what):
        return (f"{skin.name}_" if skin.name else "") + what + ("" if k == 1 else f"@{k}x") + ".png"
    faces = {n: pictures[n][0] for n, _, _, _ in ART}
    out = {name(f"face_{W}x{H}"): functools.partial(
        lambda W, H: png_bytes(compose(skin, faces, W, H, k)), W, H)
        for W, H in ((1024, 768), (1920, 1080))}
    strips = [(label(n), pictures[n][0]) for n, *_ in BUTTONS]
    out[name("buttons")] = lambda: png_bytes(contact_sheet(skin, strips, k=k))
    parts = {n: pictures[n][0] for n, *_ in PARTS}
    out[name("parts")] = lambda: png_bytes(parts_sheet(skin, parts, k))
    return out


def stale_docs(drawn):
    """The previews the README shows from docs/ (daylight_...png; docs/face_*.png are
    the demo's screenshots): each must be there, and be what --preview writes now."""
    with open(os.path.join(ROOT, "README.md")) as f:
        shown = set(re.findall(r"docs/([\w@.]+\.png)", f.read()))
    made = {}
    for skin in SKINS:
        for k in DENSITIES:
            if skin.name:
                made.update(previews(skin, drawn[skin][k], k))
    out, named = [], tuple(f"{skin.name}_" for skin in SKINS if skin.name)
    for n in sorted(shown):
        path = os.path.join(ROOT, "docs", n)
        if n not in made:
            if n.startswith(named):
                out.append(f"docs/{n}: shown in README.md, but --preview makes no such picture")
            continue
        if not os.path.exists(path):
            out.append(f"docs/{n}: shown in README.md but missing")
            continue
        with open(path, "rb") as f:
            if f.read() != made[n]():
                out.append(f"docs/{n}: not the preview the generator makes now; run "
                           f"tools/make_art.py --preview DIR and copy DIR/{n} to docs/")
    return out


if __name__ == "__main__":
    main()
