#!/usr/bin/env python3
"""Pick-up labels: the six good ones and the four bad ones must never share a colour,
since players tell them apart at speed by colour, and each keeps the colour it is known by.

    label_colours_test.py [sprites.png]

Reads the sprite sheet (assets/sprites.png unless given) and compares, in CIE Lab, every
colour that covers at least 2 % of one label with every such colour of the other group.
Black print, the plate rims and the cast shadow (dark, nearly colourless) belong to both
groups and are left out."""
import math
import os
import sys
from collections import Counter

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import pnglib  # noqa: E402

MIN_DISTANCE = 20.0   # CIE76 delta E: clearly different colours side by side
MIN_SHARE = 0.02

# sprite: (cell column, cell row, the plate colour it is known by)
GOOD = {42: (8, 7, "teal"), 43: (9, 7, None), 44: (10, 7, "blue"), 45: (11, 7, "red"),
        46: (8, 8, None), 47: (9, 8, "blue")}
BAD = {48: (10, 8, "yellow"), 49: (11, 8, "light blue"), 50: (8, 9, "grey"),
       51: (9, 9, "grey")}

# Lab hue angle ranges (degrees) and chroma / lightness limits of the named colours
NAMED = {
    "teal": lambda L, C, h: C > 20 and 170 <= h <= 230,
    "blue": lambda L, C, h: C > 40 and 260 <= h <= 320 and L < 55,
    "red": lambda L, C, h: C > 40 and (h >= 345 or h <= 50),
    "yellow": lambda L, C, h: C > 50 and 60 <= h <= 100 and L > 60,
    "light blue": lambda L, C, h: C > 15 and 200 <= h <= 270 and L > 60,
    "grey": lambda L, C, h: C < 8 and 40 <= L <= 98,
}


def lab(rgb):
    def lin(v):
        v /= 255.0
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (lin(v) for v in rgb)
    x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047
    y = 0.2126 * r + 0.7152 * g + 0.0722 * b
    z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883

    def f(t):
        return t ** (1.0 / 3.0) if t > 0.008856 else 7.787 * t + 16.0 / 116.0
    return 116.0 * f(y) - 16.0, 500.0 * (f(x) - f(y)), 200.0 * (f(y) - f(z))


def lch(rgb):
    L, a, b = lab(rgb)
    return L, math.hypot(a, b), math.degrees(math.atan2(b, a)) % 360.0


def shares(sheet, col, row):
    counts = Counter()
    for y in range(row * 32, row * 32 + 32):
        for x in range(col * 32, col * 32 + 32):
            if sheet[y][x] != (255, 255, 255):
                counts[sheet[y][x]] += 1
    total = sum(counts.values())
    return {c: n / total for c, n in counts.items()}, counts


def face_colours(sheet, col, row):
    share, _ = shares(sheet, col, row)
    out = []
    for c, s in share.items():
        L, C, _ = lch(c)
        if s >= MIN_SHARE and not (L < 30 and C < 12):
            out.append(c)
    return out


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "assets", "sprites.png")
    sheet = pnglib.read_rgb(path)
    faults = []

    good = {s: face_colours(sheet, c, r) for s, (c, r, _) in GOOD.items()}
    bad = {s: face_colours(sheet, c, r) for s, (c, r, _) in BAD.items()}
    closest = None
    for gs, gcols in good.items():
        for bs, bcols in bad.items():
            for gc in gcols:
                for bc in bcols:
                    d = math.dist(lab(gc), lab(bc))
                    if closest is None or d < closest[0]:
                        closest = (d, gs, bs, gc, bc)
                    if d < MIN_DISTANCE:
                        faults.append("good label %d colour #%02X%02X%02X and bad label %d colour "
                                      "#%02X%02X%02X are only %.1f apart" % (gs, *gc, bs, *bc, d))
    # the plate colour each label is known by is its most common colour
    for s, (c, r, name) in {**GOOD, **BAD}.items():
        if name is None:
            continue
        _, counts = shares(sheet, c, r)
        top = counts.most_common(1)[0][0]
        if not NAMED[name](*lch(top)):
            faults.append("label %d: its plate #%02X%02X%02X is not %s" % (s, *top, name))
    if closest:
        print("closest good/bad pair: labels %d and %d, #%02X%02X%02X / #%02X%02X%02X, delta E %.1f"
              % (closest[1], closest[2], *closest[3], *closest[4], closest[0]))
    for f in faults:
        print("FAIL:", f)
    print("label colours:", "ok" if not faults else "%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
