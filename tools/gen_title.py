#!/usr/bin/env python3
"""Draws the Kelto1 title logo (assets/title.png) and window icon (assets/icon.png).

Everything is built from our own shapes: each letter is a set of polygons in an
upright design grid, rasterised at pixel centres, then slanted into italics with a
clean one-pixel-every-three-rows step. Light comes from the top-left, so the face
gets a bright top-left rim and a dark bottom-right rim; a dark outline and a two-tone
drop shadow down-right sit it on the grey picture background. Tapered speed
streaks with faint wind lines trail off to the left.

The icon is a small red racing car seen from above, nose up, on asphalt.

Usage: python3 tools/gen_title.py [--out DIR] [--preview DIR]
(--out writes the assets into DIR instead of assets/)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pnglib  # noqa: E402
from palette import hexc, to_rgb  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ASSETS = os.path.join(ROOT, "assets")
if "--out" in sys.argv:
    ASSETS = sys.argv[sys.argv.index("--out") + 1]


# ---------------------------------------------------------------- raster help

def point_in_poly(px, py, poly):
    inside = False
    n = len(poly)
    j = n - 1
    for i in range(n):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > py) != (yj > py):
            xc = xi + (py - yi) * (xj - xi) / (yj - yi)
            if px < xc:
                inside = not inside
        j = i
    return inside


def fill_polys(mask, polys, ox=0, oy=0, value=True):
    """Set mask pixels whose centres fall inside any polygon (offset by ox, oy)."""
    h, w = len(mask), len(mask[0])
    for poly in polys:
        pts = [(x + ox, y + oy) for x, y in poly]
        x0 = max(0, int(min(p[0] for p in pts)))
        x1 = min(w, int(max(p[0] for p in pts)) + 1)
        y0 = max(0, int(min(p[1] for p in pts)))
        y1 = min(h, int(max(p[1] for p in pts)) + 1)
        for y in range(y0, y1):
            for x in range(x0, x1):
                if point_in_poly(x + 0.5, y + 0.5, pts):
                    mask[y][x] = value


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def chamfer_rect(x0, y0, x1, y1, tl=0, tr=0, br=0, bl=0):
    pts = []
    pts += [(x0, y0 + tl), (x0 + tl, y0)] if tl else [(x0, y0)]
    pts += [(x1 - tr, y0), (x1, y0 + tr)] if tr else [(x1, y0)]
    pts += [(x1, y1 - br), (x1 - br, y1)] if br else [(x1, y1)]
    pts += [(x0 + bl, y1), (x0, y1 - bl)] if bl else [(x0, y1)]
    return pts


def blank(w, h, v=False):
    return [[v] * w for _ in range(h)]


def dilate(mask, offsets):
    h, w = len(mask), len(mask[0])
    out = blank(w, h)
    for y in range(h):
        row = mask[y]
        for x in range(w):
            if row[x]:
                for dx, dy in offsets:
                    xx, yy = x + dx, y + dy
                    if 0 <= xx < w and 0 <= yy < h:
                        out[yy][xx] = True
    return out


def disc_offsets(r):
    """Offsets of a slightly rounded square of radius r (corners clipped)."""
    return [(dx, dy) for dy in range(-r, r + 1) for dx in range(-r, r + 1)
            if dx * dx + dy * dy <= r * r + r]


# ---------------------------------------------------------------- the logo

TITLE_W, TITLE_H = 391, 48
CAP = 36            # cap height of the letters in pixels
STEM = 12           # vertical stroke width
BAR = 8             # horizontal stroke height
HORIZON_GLINT = True     # thin pale line where the yellow sky meets the orange
SLANT = 3           # rows per one-pixel italic step

TITLE_PAL = [hexc(c) for c in (
    "#C0C0C0",  # 0  picture background grey
    "#76767F",  # 1  drop shadow
    "#1C1222",  # 2  outline
    "#FFFFF2",  # 3  white-hot rim
    "#FFF29A",  # 4  pale yellow
    "#FFD93C",  # 5  yellow
    "#FFB11F",  # 6  gold
    "#F87A1A",  # 7  orange
    "#E44A1C",  # 8  red-orange
    "#C22B1E",  # 9  red
    "#8A1A16",  # 10 dark red rim
    "#55101A",  # 11 deepest rim
    "#DCDCDC",  # 12 background light
    "#A6A6AE",  # 13 background mid
    "#FFE7B0",  # 14 warm highlight (lower half rim)
    "#5A5A64",  # 15 shadow core
)]
BG, SHADOW, OUTLINE, RIM, PALE, YEL, GOLD, ORA, REDO, RED, DRED, DEEP, BGL, BGM, WARM, SHCORE = range(16)


def glyph_k():
    w = 46
    s = STEM
    mid = CAP / 2
    arm = 17                      # horizontal thickness of the diagonal strokes
    top_out = s + 14              # where the outer edge of the upper arm leaves the top
    polys = [
        chamfer_rect(0, 0, s, CAP, tl=3, bl=3),
        [(top_out, 0), (top_out + arm, 0), (top_out + arm - mid, mid),
         (top_out + arm, CAP), (top_out, CAP), (top_out - mid, mid)],
    ]
    return w, polys


def glyph_e():
    w = 40
    s = STEM
    midw = w - 5
    polys = [
        chamfer_rect(0, 0, s, CAP, tl=3, bl=3),
        chamfer_rect(0, 0, w, BAR, tl=3, tr=0),
        chamfer_rect(0, (CAP - BAR) / 2, midw, (CAP + BAR) / 2),
        chamfer_rect(0, CAP - BAR, w, CAP, bl=3, br=0),
    ]
    return w, polys


def glyph_l():
    w = 38
    polys = [
        chamfer_rect(0, 0, STEM, CAP, tl=3, bl=3),
        chamfer_rect(0, CAP - BAR, w, CAP, bl=3),
    ]
    return w, polys


def glyph_t():
    w = 44
    c = w / 2
    polys = [
        chamfer_rect(0, 0, w, BAR, tl=3),
        chamfer_rect(c - STEM / 2, 0, c + STEM / 2, CAP, br=0),
    ]
    return w, polys


def glyph_o():
    w = 46
    return w, [chamfer_rect(0, 0, w, CAP, tl=9, tr=6, br=9, bl=6)], \
        [chamfer_rect(STEM, BAR, w - STEM, CAP - BAR, tl=3, tr=2, br=3, bl=2)]


def glyph_1():
    w = 30
    sx = 10
    polys = [
        chamfer_rect(sx, 0, sx + STEM, CAP),
        [(sx + 2, 0), (sx + 2, BAR + 2), (1, BAR + 7), (1, 6), (sx - 2, 0)],
        chamfer_rect(1, CAP - BAR, w, CAP, bl=3),
    ]
    return w, polys


def build_title():
    w, h = TITLE_W + 160, TITLE_H   # roomy working canvas, cropped at the end
    glyphs = [glyph_k(), glyph_e(), glyph_l(), glyph_t(), glyph_o(), glyph_1()]
    gap = 9
    kern = [0, 0, 0, -14, 0, 0]  # added before each letter; the T tucks over the L's foot
    streak_w = 58
    left = 120
    top = 4

    # upright mask in a working canvas, slanted row by row afterwards
    face_up = blank(w, h)
    x = left
    for g, k in zip(glyphs, kern):
        x += k
        fill_polys(face_up, g[1], x, top)
        if len(g) > 2:
            fill_polys(face_up, g[2], x, top, value=False)
        x += g[0] + gap

    # speed streaks: tapered bars trailing off to the left of the K
    streaks = [  # (y0, y1, length)
        (top + 2, top + 8, streak_w - 6),
        (top + 14, top + 22, streak_w),
        (top + 28, top + 34, streak_w - 14),
    ]
    sx1 = left - gap
    for y0, y1, ln in streaks:
        hgt = y1 - y0
        fill_polys(face_up, [[(sx1 - ln, y1), (sx1 - ln + hgt * 2, y0), (sx1, y0), (sx1, y1)]])

    def shift(y):
        return (top + CAP - 1 - y) // SLANT if y < top + CAP else 0

    face = blank(w, h)
    for y in range(h):
        d = shift(y)
        for x in range(w):
            if face_up[y][x] and 0 <= x + d < w:
                face[y][x + d] = True

    outline = dilate(face, disc_offsets(2))
    # drop shadow down-right: darker close to the letters, lighter at its edge
    shadow = [[0] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if outline[y][x]:
                for k in (3, 2, 1):
                    xx, yy = x + k, y + k
                    if xx < w and yy < h:
                        shadow[yy][xx] = SHCORE if k <= 2 else SHADOW

    # face ramp by row: bright sky on top, a pale glint on the horizon, then
    # molten orange to red below it
    ramp = ([PALE] * 3 + [YEL] * 6 + [GOLD] * 7 + [PALE if HORIZON_GLINT else ORA]
            + [ORA] * 7 + [REDO] * 6 + [RED] * 6)
    assert len(ramp) == CAP

    img = [[BG] * w for _ in range(h)]

    def f(x, y):
        return 0 <= x < w and 0 <= y < h and face[y][x]

    for y in range(h):
        for x in range(w):
            if face[y][x]:
                r = min(CAP - 1, max(0, y - top))
                c = ramp[r]
                lit = not f(x - 1, y) or not f(x, y - 1)
                lit2 = not f(x - 2, y) or not f(x, y - 2) or not f(x - 1, y - 1)
                dark = not f(x + 1, y) or not f(x, y + 1)
                dark2 = not f(x + 2, y) or not f(x, y + 2) or not f(x + 1, y + 1)
                if dark and not lit:
                    c = DEEP if r >= 17 else DRED
                elif lit and not dark:
                    c = RIM if r < 17 else WARM
                elif dark2 and not lit2:
                    c = DRED if r >= 17 else (ORA if r < 9 else REDO)
                elif lit2 and not dark2 and r >= 17:
                    c = GOLD if r < 24 else ORA
                img[y][x] = c
            elif outline[y][x]:
                img[y][x] = OUTLINE
            elif shadow[y][x]:
                img[y][x] = shadow[y][x]

    # faint wind lines trailing from the streak tips: a lit line over a soft shade
    for (y0, y1, ln), wl in zip(streaks, (16, 20, 12)):
        yc = y1 - 2
        tip = sx1 - ln + shift(yc) - 3
        for i in range(wl):
            if i > wl - 9 and i % 3 == 2 or i > wl - 5 and i % 3:
                continue  # breaks up as it fades out
            xx = tip - i
            if xx < 0:
                break
            if img[yc][xx] == BG:
                img[yc][xx] = BGL
            if img[yc + 1][xx] == BG:
                img[yc + 1][xx] = BGM

    # centre the finished drawing in the rectangle
    # (by its solid part; the faint wind lines may run into the margin)
    used = [x for x in range(w) if any(img[y][x] not in (BG, BGL, BGM) for y in range(h))]
    x0 = (used[0] + used[-1] + 1 - TITLE_W) // 2
    assert all(img[y][x] == BG for y in range(h) for x in list(range(x0)) + list(range(x0 + TITLE_W, w))), \
        "logo wider than its rectangle"
    out = [row[x0:x0 + TITLE_W] for row in img]
    frame(out)
    return out


def frame(img):
    """A raised two-pixel bevel round the picture, so the grey reads as a lit panel on the
    black title screen: bright edges at the top and left, shaded ones at the bottom and
    right, the two meeting on the diagonal at the other corners."""
    h, w = len(img), len(img[0])
    for ring, (lit, dark) in enumerate(((RIM, SHCORE), (BGL, SHADOW))):
        for y in range(ring, h - ring):
            for x in range(ring, w - ring):
                if ring < x < w - 1 - ring and ring < y < h - 1 - ring:
                    continue
                assert img[y][x] == BG, ("frame over the logo", x, y)
                top_left = (y == ring or x == ring) and not (x == w - 1 - ring and y > ring) \
                    and not (y == h - 1 - ring and x > ring)
                if x == w - 1 - ring and y == ring:
                    top_left = True              # top-right corner pixel: the lit top edge
                if y == h - 1 - ring and x == ring:
                    top_left = True              # bottom-left corner pixel: the lit left edge
                img[y][x] = lit if top_left else dark


# ---------------------------------------------------------------- the icon

ICON_PAL = [hexc(c) for c in (
    "#2E3038",  # 0  asphalt
    "#3A3C45",  # 1  asphalt light fleck
    "#1A1B20",  # 2  car shadow
    "#ECE8DA",  # 3  paint white
    "#F08A1E",  # 4  paint orange
    "#FF9C84",  # 5  body highlight
    "#E8322A",  # 6  body red
    "#A81C1C",  # 7  body dark
    "#5E0E14",  # 8  body deepest
    "#1E2C4C",  # 9  glass
    "#86A8DC",  # 10 glass highlight
    "#0E0E12",  # 11 tyre
    "#62626E",  # 12 tyre tread highlight
    "#FFE066",  # 13 livery yellow / headlight
    "#FFFFFF",  # 14 white livery
    "#24252C",  # 15 asphalt dark fleck
)]


# Left half of the car, nose up, outermost column first; the right half is
# mirrored with its lit pixels turned dark (light comes from the top-left).
CAR_LEFT = [
    "......lwr",
    "....lrrwr",
    "...hyrrwr",
    "..hyyrrwr",
    "TThrrrrwr",
    "tThrrrrwr",
    "TThrrrrwr",
    "tThrrrrwr",
    "TThrrrrwr",
    "tThrrrrwr",
    "..hrrrrwr",
    "..hrrgggg",
    "..hrgGggg",
    "..hrGGggg",
    "...hrllll",
    "...hrlrrr",
    "...hrlrrr",
    "...hrlrrr",
    "...hrgggg",
    "...hrrggg",
    "..hrrrrwr",
    "TThrrrrwr",
    "tThrrrrwr",
    "TThrrrrwr",
    "tThrrrrwr",
    "TTheerrwr",
    "yyllllllw",
    "yDDDDDDDD",
]
CAR_KEY = {"T": 11, "t": 12, "l": 5, "h": 5, "r": 6, "d": 7, "D": 8, "g": 9,
           "G": 10, "w": 14, "y": 13, "e": 4}
CAR_MIRROR = {"h": "D", "G": "g", "l": "r", "y": "y"}


def build_icon():
    W = 32
    img = [[0] * W for _ in range(W)]
    # asphalt grain (deterministic hash, no randomness)
    for y in range(W):
        for x in range(W):
            hsh = (x * 374761393 + y * 668265263) & 0xFFFFFFFF
            hsh = ((hsh ^ (hsh >> 13)) * 1274126177 & 0xFFFFFFFF) >> 24
            if hsh < 24:
                img[y][x] = 1
            elif hsh > 234:
                img[y][x] = 15
    # lane edges: solid white line on the left, orange on the right
    for y in range(W):
        img[y][2] = 3
        img[y][29] = 4

    cx, top = 16, 2
    rows = []
    for line in CAR_LEFT:
        right = "".join(CAR_MIRROR.get(ch, ch) for ch in reversed(line))
        full = list(line + right)
        # second shade inside the dark right flank
        for i in range(len(full) - 1):
            if full[i] == "r" and full[i + 1] == "D":
                full[i] = "d"
        rows.append(full)
    body = {}
    for r, full in enumerate(rows):
        for i, ch in enumerate(full):
            if ch != ".":
                body[(cx - 9 + i, top + r)] = CAR_KEY[ch]
    for (x, y) in body:
        sx, sy = x + 2, y + 2
        if (sx, sy) not in body and 0 <= sx < W and 0 <= sy < W:
            img[sy][sx] = 2
    for (x, y), c in body.items():
        img[y][x] = c
    return img


def main():
    preview = None
    if "--preview" in sys.argv:
        preview = sys.argv[sys.argv.index("--preview") + 1]
    os.makedirs(ASSETS, exist_ok=True)
    title = build_title()
    pnglib.write_indexed(os.path.join(ASSETS, "title.png"), TITLE_PAL, title)
    icon = build_icon()
    pnglib.write_indexed(os.path.join(ASSETS, "icon.png"), ICON_PAL, icon)
    if preview:
        os.makedirs(preview, exist_ok=True)
        t = to_rgb(TITLE_PAL, title)
        pnglib.write_rgb(os.path.join(preview, "title_1x.png"), t)
        pnglib.write_rgb(os.path.join(preview, "title_4x.png"), pnglib.scale(t, 4))
        i = to_rgb(ICON_PAL, icon)
        pnglib.write_rgb(os.path.join(preview, "icon_1x.png"), i)
        pnglib.write_rgb(os.path.join(preview, "icon_8x.png"), pnglib.scale(i, 8))


if __name__ == "__main__":
    main()
