#!/usr/bin/env python3
"""Draws the Kelto1 sprite sheet (assets/sprites.png) and its mask (assets/sprites_mask.png).

Every sprite is modelled, not painted: each pixel gets a material (a colour ramp), a height
above the road and a small shade nudge. Vehicles are built nose up and then turned as a whole,
and only after that is the light worked out from the height slopes, so a car driving down the
screen is still lit from the top-left like everything else. Shadows fall a few pixels to the
bottom-right as opaque darker road grey. A sprite pixel is fully opaque or fully transparent:
transparent is pure white in the sheet and black in the mask, and no paint is pure white.

Usage: python3 tools/gen_sprites.py [--out DIR] [--preview DIR]
(--out writes the assets into DIR instead of assets/)
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pnglib  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ASSETS = os.path.join(ROOT, "assets")
if "--out" in sys.argv:
    ASSETS = sys.argv[sys.argv.index("--out") + 1]

SHEET = 512
CELL = 32
CLEAR = (255, 255, 255)


def hexc(s):
    s = s.lstrip("#")
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


def ramp(*codes):
    return [hexc(c) for c in codes]


# ---------------------------------------------------------------- palette
# A few ramps, dark to light, chosen together; every material below is a run of one of them,
# so two materials never carry near-identical colours. The greys double as the darker road
# colour of the shadows.

GREY = ramp("#0E0F12", "#1D1F24", "#2C2F35", "#3E4148", "#52565E", "#6C7079", "#8C919A",
            "#B0B4BB", "#D2D5DA", "#EEF0F2", "#FAFAF8")
GLASS = ramp("#121C2E", "#1F3049", "#334D6D", "#52729A", "#86A6C6", "#CFE2EE")
SKY = ramp("#2E6E98", "#4E98C4", "#7CC0E4", "#ACDCF4", "#D6F0FA")
NAVY = ramp("#0A0F2A", "#141C48", "#1E2A6A", "#2A3C8E", "#4460B4", "#7E96DA")
ROYAL = ramp("#0C1C5C", "#1A3296", "#2A4CC8", "#4C74E4", "#90AEF6")
STEEL = ramp("#26344A", "#3C5068", "#566E8A", "#7890AC", "#9CB2CA", "#C4D4E6")
RED = ramp("#4A0A07", "#7E140C", "#B42516", "#DA3A21", "#F26A45", "#FBAA8C")
LAMP_RED = ramp("#D81A10", "#FF5A40", "#F0321E", "#FF8A70", "#FFE0D4")
CRIMSON = ramp("#36040F", "#5E0A1E", "#8C1430", "#B52244", "#D4506A", "#EC98A6")
PURPLE = ramp("#240E32", "#401858", "#602680", "#803AA4", "#A460C8", "#CC9AE8")
TEAL = ramp("#0A3438", "#125458", "#1C7678", "#309896", "#5CBCB4", "#9CDED4")
MINT = ramp("#1CC09A", "#7CF2D0", "#D8FFF2")
OLIVE = ramp("#2E3012", "#4A4C1E", "#6A6C2E", "#8A8C44", "#AEB066", "#D2D496")
AMBER = ramp("#6E3400", "#A85808", "#E0860E", "#FFB228", "#FFD668", "#FFF0B4")
YELLOW = ramp("#3E2E06", "#6A500A", "#C49400", "#F2C414", "#FFE050") + AMBER[5:]
BEIGE = ramp("#564630", "#826E50", "#AC9872", "#CCBA92", "#E2D4B0", "#F4ECD2")
SAND = ramp("#4A3422", "#6E5036", "#94704C", "#B89266", "#D6B488")
WOOD = ramp("#3C2412", "#603A1C", "#87582C", "#AA7A42", "#CA9E62", "#E2C08A")
STONE = ramp("#34312E", "#524D48", "#736C64", "#958D82", "#B8B0A4", "#DAD4C8") + BEIGE[5:]
# Pick-up labels: the good ones print in lemon on teal, blue, red and green plates; the
# bad ones print in black on golden yellow, light blue and grey, so the two groups never
# share a colour and read apart at a glance.
LEMON = ramp("#4E4A08", "#8C8618", "#C8C030", "#FFF27A", "#FFF690")
GOLD = ramp("#5A3E00", "#A87400", "#EEB000", "#FFBE30", "#FFC63A")
LEAF = ramp("#0C2E10", "#1C5E24", "#2E8A3A", "#5CB85A", "#8ED488")
HEAD = ramp("#8E8A6A", "#E6E2BE", "#FFFBD8")

PALETTE = {
    # name: (shades dark to light, shade of a level surface, shaded by slopes?)
    "shadow":  (GREY[2:4], 0, False),             # cast shadow: core and soft rim
    "tyre":    (GREY[0:4], 1, True),
    "trim":    (GREY[1:6], 2, True),
    "chrome":  (GREY[4:10], 3, True),
    "white":   (GREY[5:11], 4, True),
    "cabin":   (GREY[0:3], 1, True),
    "oil":     (GREY[0:2] + STEEL[0:1], 1, True),
    "glass":   (GLASS, 2, True),
    "seat":    (SAND, 2, True),
    "navy":    (NAVY, 2, True),
    "vermil":  (RED, 3, True),
    "crimson": (CRIMSON, 3, True),
    "purple":  (PURPLE, 3, True),
    "bluegrey": (STEEL, 3, True),
    "beige":   (BEIGE, 3, True),
    "teal":    (TEAL, 3, True),
    "olive":   (OLIVE, 3, True),
    "amber":   (AMBER, 3, True),
    "sponsor": (ROYAL[0:4], 2, True),
    "leather": (NAVY[0:5], 2, True),
    "stone":   (STONE[0:6], 3, True),
    "sand":    (SAND + [BEIGE[4]], 3, True),
    "wood":    (WOOD, 3, True),
    "dust":    (STONE[1:7], 3, True),
    # lamps, self-lit
    "head":    (HEAD + [GREY[10]], 2, False),
    "tail":    (RED[0:2] + LAMP_RED[0:2] + [RED[5]], 2, False),
    "indic":   ([AMBER[0], AMBER[2], AMBER[3], AMBER[4]], 2, False),
    "spark":   (AMBER[1:3] + AMBER[4:6], 2, False),
    # printed and flat colours (labels, markers, signal heads)
    "ink":     (GREY[0:3], 0, False),
    "housing": (GREY[0:5], 2, False),
    "paper":   (GREY[7:11], 2, False),
    "sgrey":   (GREY[4:9], 2, False),
    "sblue":   (ROYAL, 2, False),
    "sred":    (RED[0:5], 2, False),
    "syellow": (YELLOW[1:6], 2, False),
    "sltblue": (SKY, 2, False),
    "slemon":  (LEMON, 2, False),
    "sgold":   (GOLD, 2, False),
    "sleaf":   (LEAF, 2, False),
    "steal":   (TEAL[0:5], 2, False),
    "sgreen":  (TEAL[0:2] + MINT, 1, False),
    "syel":    (YELLOW[0:2] + YELLOW[3:6], 1, False),
    "sredlamp": (RED[0:2] + LAMP_RED[2:5], 1, False),
}

for _name, (_r, _b, _l) in PALETTE.items():
    assert CLEAR not in _r, _name


# ---------------------------------------------------------------- the model canvas

class Model:
    """A small canvas of material, height and shade nudge per pixel."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.mat = [[None] * w for _ in range(h)]
        self.z = [[0.0] * w for _ in range(h)]
        self.nudge = [[0] * w for _ in range(h)]

    def inside(self, x, y):
        return 0 <= x < self.w and 0 <= y < self.h

    def put(self, x, y, mat, z=None, nudge=0):
        if not self.inside(x, y):
            return
        self.mat[y][x] = mat
        if z is not None:
            self.z[y][x] = z
        self.nudge[y][x] = nudge

    def shade(self, x, y, d):
        if self.inside(x, y) and self.mat[y][x] is not None:
            self.nudge[y][x] += d

    def erase(self, x, y):
        if self.inside(x, y):
            self.mat[y][x] = None
            self.z[y][x] = 0.0
            self.nudge[y][x] = 0

    def filled(self, x, y):
        return self.inside(x, y) and self.mat[y][x] is not None

    def fill(self, test, mat, z=None, nudge=0, box=None, only_filled=False):
        """Paint every pixel whose centre passes test(px, py); z may be a number or a function."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                px, py = x + 0.5, y + 0.5
                if not test(px, py):
                    continue
                if only_filled and self.mat[y][x] is None:
                    continue
                zz = z(px, py) if callable(z) else z
                nd = nudge(px, py) if callable(nudge) else nudge
                self.put(x, y, mat, zz, nd)

    # whole-canvas transforms, made before lighting
    def _remap(self, w, h, src):
        out = Model(w, h)
        for y in range(h):
            for x in range(w):
                sx, sy = src(x, y)
                if 0 <= sx < self.w and 0 <= sy < self.h:
                    out.mat[y][x] = self.mat[sy][sx]
                    out.z[y][x] = self.z[sy][sx]
                    out.nudge[y][x] = self.nudge[sy][sx]
        return out

    def turned(self):
        return self._remap(self.w, self.h, lambda x, y: (self.w - 1 - x, self.h - 1 - y))

    def mirrored(self):
        return self._remap(self.w, self.h, lambda x, y: (self.w - 1 - x, y))

    def quarter_right(self):
        """Turned a quarter clockwise: a nose-up vehicle then points right."""
        return self._remap(self.h, self.w, lambda x, y: (y, self.h - 1 - x))

    def shifted(self, w, h, dx, dy):
        return self._remap(w, h, lambda x, y: (x - dx, y - dy))


# ---------------------------------------------------------------- light and shadow

LIGHT = (0.78, 0.62)      # slope direction that faces the light (towards the top-left)


def light_model(m, shadow=3, gain=1.0, flat=False):
    """Colour a model: shade from the height slopes, then lay its shadow to the bottom-right.
    A flat model (printed plates, symbols) takes its shades from the nudges alone."""
    out = [[None] * m.w for _ in range(m.h)]
    lx, ly = LIGHT
    for y in range(m.h):
        for x in range(m.w):
            mat = m.mat[y][x]
            if mat is None:
                continue
            rmp, base, lit = PALETTE[mat]
            s = base + m.nudge[y][x]
            if lit and not flat:
                zl = m.z[y][x - 1] if x > 0 and m.mat[y][x - 1] else 0.0
                zr = m.z[y][x + 1] if x + 1 < m.w and m.mat[y][x + 1] else 0.0
                zu = m.z[y - 1][x] if y > 0 and m.mat[y - 1][x] else 0.0
                zd = m.z[y + 1][x] if y + 1 < m.h and m.mat[y + 1][x] else 0.0
                hx = (zr - zl) * 0.5
                hy = (zd - zu) * 0.5
                slope = hx * lx + hy * ly
                if slope >= 0:
                    d = 2.6 * math.tanh(gain * slope / 1.0)
                else:
                    d = 3.0 * math.tanh(gain * slope / 0.9)
                s += int(round(d))
                # self-shadow from anything standing up to the top-left
                for k in (1, 2, 3, 4):
                    sx, sy = x - k, y - k
                    if sx < 0 or sy < 0:
                        break
                    if m.mat[sy][sx] and m.z[sy][sx] > m.z[y][x] + 2.0 * k + 0.5:
                        s -= 1
                        break
            out[y][x] = rmp[max(0, min(len(rmp) - 1, s))]
    if shadow:
        cast_shadow(m, out, shadow)
    return out


def cast_shadow(m, out, reach):
    """Short soft shadow: a dark core `reach`-1 pixels down-right and a lighter rim beyond it."""
    core_c, rim_c = PALETTE["shadow"][0]
    solid = [[m.mat[y][x] is not None for x in range(m.w)] for y in range(m.h)]
    for y in range(m.h):
        for x in range(m.w):
            if solid[y][x]:
                continue
            hit = None
            for d in range(1, reach + 1):
                for ex, ey in ((d, d), (d - 1, d), (d, d - 1)):
                    sx, sy = x - ex, y - ey
                    if 0 <= sx < m.w and 0 <= sy < m.h and solid[sy][sx] and \
                            m.z[sy][sx] >= 0.6 * d:
                        hit = d
                        break
                if hit:
                    break
            if hit is None:
                continue
            out[y][x] = core_c if hit < reach else rim_c


# ---------------------------------------------------------------- shapes

def lerp(a, b, t):
    return a + (b - a) * t


def clamp01(t):
    return 0.0 if t < 0 else 1.0 if t > 1 else t


def ease_out(t):
    t = clamp01(t)
    return 1 - (1 - t) * (1 - t)


def smooth(t):
    t = clamp01(t)
    return t * t * (3 - 2 * t)


def in_ellipse(cx, cy, rx, ry):
    return lambda px, py: ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2 <= 1.0


def in_rect(x0, y0, x1, y1):
    return lambda px, py: x0 <= px < x1 and y0 <= py < y1


def in_rrect(x0, y0, x1, y1, r):
    def test(px, py):
        if not (x0 <= px < x1 and y0 <= py < y1):
            return False
        cx = min(max(px, x0 + r), x1 - r)
        cy = min(max(py, y0 + r), y1 - r)
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return test


def in_poly(pts):
    def test(px, py):
        inside = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > py) != (yj > py):
                if px < xi + (py - yi) * (xj - xi) / (yj - yi):
                    inside = not inside
            j = i
        return inside
    return test


def line_pixels(x0, y0, x1, y1):
    """Integer pixels of a one-pixel line (Bresenham)."""
    pts = []
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx = 1 if x0 < x1 else -1
    sy = 1 if y0 < y1 else -1
    err = dx + dy
    while True:
        pts.append((x0, y0))
        if x0 == x1 and y0 == y1:
            return pts
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


# ---------------------------------------------------------------- vehicles, nose up

class Car:
    """Shape of a top-down car. Lengths are in pixels from the nose (t) and from the centre
    line (dx); the picture column is 64 wide and the nose sits at row `top`."""

    def __init__(self, **kw):
        self.H, self.W, self.L, self.top = 96, 51, 92, 1
        self.paint = "navy"
        self.rf, self.rr = 9.0, 7.0            # corner radii, front and rear
        self.taper_f, self.taper_len_f = 2.5, 26.0
        self.taper_r, self.taper_len_r = 1.5, 18.0
        self.fender, self.fender_len, self.waist = 0.0, 8.0, 0.0
        self.hb, self.rs, self.re = 7.0, 6.0, 4.0   # body height, shoulder and end roll
        self.crown, self.nose_drop, self.nose_len = 2.4, 3.0, 14.0
        self.tail_drop, self.tail_len = 1.0, 8.0
        self.bumper_f, self.bumper_r, self.bumper_mat = 3, 3, "trim"
        self.cab = "closed"                    # closed, open or none
        self.a, self.b, self.c, self.d = 26.0, 40.0, 64.0, 74.0
        self.ga, self.gr, self.sb, self.gd = 19.0, 15.0, 4.0, 17.0
        self.hr = 13.0
        self.cpillar = 3.0
        self.pillars = []                      # extra pillars across the side windows
        self.roof_mat = None
        self.axle_f, self.axle_r, self.tyre_len = 17.0, None, 14.0
        self.head = (3.0, 7.0, 13.0, 21.5)     # t0, t1, |dx| from, |dx| to
        self.head_shape = "rect"
        self.tail = (3.5, 3.0, 12.0, 22.5)     # rows before the rear edge, depth, |dx| from, to
        self.mirrors = True
        self.wipers = True
        self.seams = True
        self.extras = []
        self.__dict__.update(kw)
        if self.axle_r is None:
            self.axle_r = self.L - 18.0
        self.B = self.W / 2 - 1.0

    # geometry in car terms
    def hw(self, t):
        B, L = self.B, self.L
        h = B
        if t < self.rf:
            h = B - self.rf + math.sqrt(max(0.0, self.rf ** 2 - (self.rf - t) ** 2))
        if t > L - self.rr:
            u = t - (L - self.rr)
            h = min(h, B - self.rr + math.sqrt(max(0.0, self.rr ** 2 - u * u)))
        if t < self.taper_len_f:
            h -= self.taper_f * (1 - t / self.taper_len_f) ** 2
        if t > L - self.taper_len_r:
            h -= self.taper_r * ((t - (L - self.taper_len_r)) / self.taper_len_r) ** 2
        if self.fender or self.waist:
            bump = max(math.exp(-((t - self.axle_f) / self.fender_len) ** 2),
                       math.exp(-((t - self.axle_r) / self.fender_len) ** 2))
            h += self.fender * bump - self.waist * (1 - bump)
        return h

    def in_body(self, dx, t):
        return 0 <= t < self.L and abs(dx) < self.hw(t)

    def body_z(self, dx, t):
        side = self.hw(t) - abs(dx)
        z = self.hb * min(ease_out(side / self.rs), ease_out(t / self.re),
                          ease_out((self.L - t) / self.re))
        z += self.crown * (1 - (dx / self.B) ** 2)
        z -= self.nose_drop * clamp01(1 - t / self.nose_len)
        z -= self.tail_drop * clamp01(1 - (self.L - t) / self.tail_len)
        return max(z, 0.6)

    def go(self, t):
        """Outer half-width of the glasshouse."""
        if t < self.b:
            return lerp(self.ga, self.gr + self.sb, (t - self.a) / (self.b - self.a))
        if t < self.c:
            return self.gr + self.sb
        return lerp(self.gr + self.sb, self.gd, (t - self.c) / max(1.0, self.d - self.c))

    def zc(self, t):
        if t < self.b:
            return lerp(self.hb, self.hr, (t - self.a) / (self.b - self.a))
        if t < self.c:
            return self.hr
        return lerp(self.hr, self.hb, (t - self.c) / max(1.0, self.d - self.c))


class Ctx:
    """Drawing helpers in car terms for the per-model extras."""

    def __init__(self, m, car):
        self.m, self.car = m, car

    def each(self, test):
        c = self.car
        for y in range(self.m.h):
            for x in range(self.m.w):
                dx, t = x + 0.5 - 32.0, y + 0.5 - c.top
                if test(dx, t):
                    yield x, y, dx, t

    def paint(self, test, mat, z=None, nudge=0, only_filled=False, keep_z=False, over=None):
        for x, y, dx, t in list(self.each(test)):
            if only_filled and self.m.mat[y][x] is None:
                continue
            if over is not None and self.m.mat[y][x] not in over:
                continue
            zz = None if keep_z else (z(dx, t) if callable(z) else z)
            nd = nudge(dx, t) if callable(nudge) else nudge
            self.m.put(x, y, mat, zz, nd)

    def nudge(self, test, d):
        for x, y, _, _ in list(self.each(test)):
            self.m.shade(x, y, d)

    def px(self, dx, t):
        """Pixel holding the point (dx, t)."""
        return int(math.floor(dx + 32.0)), int(math.floor(t + self.car.top))


def lamp(ctx, t0, t1, x0, x1, mat, both=True, rim=-1, glint=1):
    """A lamp lens on each side (or one): darker rim, a bright glint at the top-left."""
    for side in ((-1, 1) if both else (1,)):
        cells = [(x, y) for x, y, dx, t in ctx.each(
            lambda dx, t: t0 <= t < t1 and x0 <= dx * side < x1 and ctx.car.in_body(dx, t))]
        if not cells:
            continue
        xs = [p[0] for p in cells]
        ys = [p[1] for p in cells]
        for x, y in cells:
            edge = x in (min(xs), max(xs)) or y in (min(ys), max(ys))
            nd = rim if edge else 0
            if not edge and x == min(xs) + 1 and y == min(ys) + 1:
                nd = glint
            ctx.m.put(x, y, mat, None, nd)


def build_car(c):
    m = Model(64, c.H)
    ctx = Ctx(m, c)
    B = c.B
    # wheels first: the body covers all but their outer edge
    for axle in (c.axle_f, c.axle_r):
        ctx.paint(lambda dx, t, a=axle: B - 3 <= abs(dx) < B + 1 and abs(t - a) < c.tyre_len / 2,
                  "tyre", z=3.0, nudge=lambda dx, t: -1 if int(t) % 3 == 0 else 0)
    # body shell
    ctx.paint(lambda dx, t: c.in_body(dx, t), c.paint, z=lambda dx, t: c.body_z(dx, t))
    # bumpers
    if c.bumper_mat:
        ctx.paint(lambda dx, t: c.in_body(dx, t) and (t < c.bumper_f or t >= c.L - c.bumper_r),
                  c.bumper_mat, keep_z=True,
                  nudge=lambda dx, t: 1 if (t < 1 or t >= c.L - c.bumper_r + 1 and
                                            t < c.L - c.bumper_r + 2) else 0)
    # glasshouse
    if c.cab == "closed":
        build_glasshouse(ctx, c)
    elif c.cab == "open":
        build_windscreen_only(ctx, c)
    # lamps
    t0, t1, x0, x1 = c.head
    if c.head_shape == "round":
        for side in (-1, 1):
            cx, ct, r = (x0 + x1) / 2 * side, (t0 + t1) / 2, (x1 - x0) / 2
            ctx.paint(lambda dx, t: (dx - cx) ** 2 + (t - ct) ** 2 <= r * r, "head",
                      nudge=lambda dx, t: 1 if (dx - cx + 1) ** 2 + (t - ct + 1) ** 2 <= 1.5
                      else (-1 if (dx - cx) ** 2 + (t - ct) ** 2 > (r - 1) ** 2 else 0))
    elif c.head_shape:
        lamp(ctx, t0, t1, x0, x1, "head")
        # amber corner lamps just outboard
        lamp(ctx, t0 + 1, t1, x1, x1 + 1.6, "indic", rim=0, glint=0)
    r0, depth, x0, x1 = c.tail
    if depth:
        lamp(ctx, c.L - r0 - depth, c.L - r0, x0, x1, "tail")
    if c.seams:
        body_seams(ctx, c)
    for extra in c.extras:
        extra(ctx, c)
    return m


def build_glasshouse(ctx, c):
    def test(dx, t):
        return c.a <= t < c.d and abs(dx) < c.go(t)

    def z(dx, t):
        ad = abs(dx)
        if ad <= c.gr:
            return c.zc(t) + 1.6 * (1 - (dx / c.gr) ** 2)
        k = (ad - c.gr) / max(0.5, c.go(t) - c.gr)
        return lerp(c.zc(t), c.body_z(dx, t), k)

    roof = c.roof_mat or c.paint
    for x, y, dx, t in list(ctx.each(test)):
        ad = abs(dx)
        go = c.go(t)
        nd = 0
        if t < c.b:                                     # windscreen
            mat = c.paint if ad > go - 1.0 else "glass"
            if t >= c.b - 1 and ad <= c.gr:
                mat = roof
            elif mat == "glass":
                u = dx + 1.1 * (t - c.a)
                if -15 <= u < -12:
                    nd = 2
                elif -10 <= u < -9:
                    nd = 1
        elif t < c.c:                                   # roof and side windows
            if ad <= c.gr:
                mat = roof
            else:
                mat = "glass"
                if ad > go - 0.6:
                    mat = c.paint
                for p in c.pillars:
                    if p <= t < p + 2:
                        mat = c.paint
                if t < c.b + 1 or t >= c.c - 1:
                    mat = c.paint
        else:                                           # rear window
            mat = "glass" if ad < go - c.cpillar else c.paint
            if t < c.c + 1 and ad <= c.gr:
                mat = roof
            elif mat == "glass":
                u = dx + 1.1 * (t - c.c)
                if -9 <= u < -7:
                    nd = 1
        ctx.m.put(x, y, mat, z(dx, t), nd)
    if c.wipers:
        for side_x in (-14.0, 2.0):
            for i in range(9):
                x, y = ctx.px(side_x + i, c.a + 1.6 - i * 0.13)
                if ctx.m.mat[y][x] == "glass":
                    ctx.m.put(x, y, "trim", None, 0)
    if c.mirrors:
        for side in (-1, 1):
            ctx.paint(lambda dx, t, s=side: c.a + 1 <= t < c.a + 4 and
                      c.B - 2.5 <= dx * s < c.B + 1.0, c.paint, z=c.hb + 2.0)


def build_windscreen_only(ctx, c):
    """Open car: a framed, steeply raked windscreen, the cockpit comes from the extras."""
    def test(dx, t):
        return c.a <= t < c.b and abs(dx) < c.go(t)
    for x, y, dx, t in list(ctx.each(test)):
        go = c.go(t)
        frame = abs(dx) > go - 1.2 or t >= c.b - 1
        zz = lerp(c.hb, c.hr, (t - c.a) / (c.b - c.a))
        nd = 0
        if not frame:
            u = dx + 1.1 * (t - c.a)
            nd = 2 if -13 <= u < -11 else 0
        ctx.m.put(x, y, "chrome" if frame else "glass", zz, nd)
    if c.mirrors:
        for side in (-1, 1):
            ctx.paint(lambda dx, t, s=side: c.a <= t < c.a + 3 and
                      c.B - 2.5 <= dx * s < c.B + 1.0, c.paint, z=c.hb + 2.0)


def body_seams(ctx, c):
    """Shut lines: bonnet, doors and boot lid."""
    m = ctx.m
    hl_end = c.head[1] + 1.0

    def seam(test):
        for x, y, _, _ in list(ctx.each(test)):
            if m.mat[y][x] == c.paint:
                m.shade(x, y, -1)
    if c.cab == "closed":
        # bonnet: across behind the lamps and along both sides up to the windscreen
        seam(lambda dx, t: hl_end <= t < hl_end + 1 and abs(dx) < c.B - 4)
        seam(lambda dx, t: hl_end <= t < c.a - 1 and c.B - 5 <= abs(dx) < c.B - 4)
        # doors: lines across the flanks
        for tt in (c.a + 2, (c.b + c.c) / 2 + 1, c.c + 1):
            seam(lambda dx, t, tt=tt: tt <= t < tt + 1 and c.go(c.b) + 0.5 <= abs(dx) < c.B - 0.5)
        # boot lid
        bl = c.d + 1
        if bl < c.L - 8:
            seam(lambda dx, t: bl <= t < bl + 1 and abs(dx) < c.B - 4)
            seam(lambda dx, t: bl <= t < c.L - c.tail[0] - c.tail[1] - 1 and
                 c.B - 5 <= abs(dx) < c.B - 4)


# ---------------------------------------------------------------- per-model touches

def roof_rails(ctx, c):
    for side in (-1, 1):
        ctx.paint(lambda dx, t, s=side: c.b + 3 <= t < c.c - 2 and c.gr - 2 <= dx * s < c.gr - 1,
                  "chrome", z=c.hr + 2.0)
    for tt in (c.b + 9, c.c - 12):
        ctx.paint(lambda dx, t, tt=tt: tt <= t < tt + 1 and abs(dx) < c.gr - 2, "trim",
                  z=c.hr + 1.6)


def rear_spoiler(t0, t1, half, lift, mat=None):
    def extra(ctx, c):
        ctx.paint(lambda dx, t: t0 <= t < t1 and abs(dx) < half, mat or c.paint,
                  z=lambda dx, t: c.body_z(dx, t) + lift)
    return extra


def rear_wiper(ctx, c):
    for i in range(7):
        x, y = ctx.px(-1 + i * 0.9, c.d - 2 - i * 0.55)
        if ctx.m.mat[y][x] == "glass":
            ctx.m.put(x, y, "trim", None, 0)


def sunroof(t0, t1, half):
    def extra(ctx, c):
        ctx.paint(lambda dx, t: t0 <= t < t1 and abs(dx) < half, "glass",
                  z=lambda dx, t: c.hr + 0.6,
                  nudge=lambda dx, t: -1 if t < t0 + 1 or abs(dx) > half - 1 else
                  (2 if 2 <= dx + (t - t0) + half < 4 else 0))
    return extra


def badge(ctx, c):
    x, y = ctx.px(0, c.head[1] - 1)
    ctx.m.put(x - 1, y, "chrome", None, 1)
    ctx.m.put(x, y, "chrome", None, 0)


def grille(ctx, c):
    t0, t1, x0, _ = c.head
    ctx.paint(lambda dx, t: t0 + 0.5 <= t < t1 - 0.5 and abs(dx) < x0 - 1.5, "trim",
              nudge=lambda dx, t: 1 if int(t) % 2 == 0 else -1, keep_z=True)


def cockpit(ctx, c):
    """Open two-seater: recessed tub, two seats, wheel on the right, fairings behind."""
    tub = in_rrect(-14.5, c.b, 14.5, c.b + 19, 4)
    ctx.paint(lambda dx, t: tub(dx, t), "cabin", z=c.hb - 4.0)
    for side in (-1, 1):
        sx = 7.0 * side
        cushion = in_rrect(sx - 5, c.b + 4, sx + 5, c.b + 16, 3)
        ctx.paint(lambda dx, t, f=cushion: f(dx, t), "seat", z=c.hb - 2.5,
                  nudge=lambda dx, t, sx=sx: -1 if abs(dx - sx) < 0.6 else 0)
        back = in_rrect(sx - 5, c.b + 14, sx + 5, c.b + 19, 2)
        ctx.paint(lambda dx, t, f=back: f(dx, t), "seat", z=c.hb - 0.5)
        # fairing hump behind each headrest
        hump = in_ellipse(sx, c.b + 21, 4.5, 6.5)
        ctx.paint(lambda dx, t, f=hump: f(dx, t) and t >= c.b + 18, c.paint,
                  z=lambda dx, t, sx=sx: c.hb + 3.0 * (1 - ((dx - sx) / 4.5) ** 2
                                                   - ((t - c.b - 19) / 7.0) ** 2))
    # steering wheel on the right, seen nearly edge-on from above
    for x, y, dx, t in list(ctx.each(lambda dx, t: abs(((dx - 7) / 4.2) ** 2 +
                                                    ((t - c.b - 3) / 1.6) ** 2 - 1) < 0.45)):
        ctx.m.put(x, y, "trim", c.hb - 1.0, 1 if dx < 7 else 0)
    # gear lever and a chrome strip along the tub edge
    ctx.paint(lambda dx, t: abs(dx) < 1 and c.b + 6 <= t < c.b + 8, "chrome", z=c.hb - 2)
    # boot lid line behind the fairings
    ctx.nudge(lambda dx, t: c.b + 28 <= t < c.b + 29 and abs(dx) < c.B - 4, -1)
    # bonnet vents
    for i in range(3):
        ctx.nudge(lambda dx, t, i=i: 14 + 3 * i <= t < 15 + 3 * i and 3 <= abs(dx) < 9, -1)


def flames(ctx, c):
    """The rival team's paintwork: flames licking back over the bonnet and a side stripe."""
    def reach(dx, t):
        sway = 1.8 * math.sin(t * 0.33) * (1 if dx > 0 else -1)
        u = abs(dx) + 1.5 + sway
        k = int(u // 7.0)
        phase = (u / 7.0) % 1.0
        tongue = max(0.0, 1 - abs(phase - 0.5) * 2) ** 1.5
        long = 1.0 if k % 2 == 0 else 0.7
        return 4.0 + 21.0 * long * tongue * (1 - abs(dx) / 36.0)

    over = (c.paint,)
    end = c.a - 1

    def flame(dx, t, grow=0.0):
        return c.bumper_f <= t < end and t - c.bumper_f < reach(dx, t) + grow
    ctx.paint(lambda dx, t: flame(dx, t, 1.3), "vermil", keep_z=True, over=over, nudge=1)
    ctx.paint(lambda dx, t: flame(dx, t), "amber", keep_z=True, over=("vermil",),
              nudge=lambda dx, t: 1 if flame(dx, t, -5.0) else 0)
    # pinstripe down each flank, then a star on the roof
    for side in (-1, 1):
        ctx.paint(lambda dx, t, s=side: c.a + 2 <= t < c.L - 10 and
                  c.B - 4.0 <= dx * s < c.B - 3.0, "amber", keep_z=True, over=over, nudge=1)
        ctx.paint(lambda dx, t, s=side: c.a + 2 <= t < c.L - 10 and
                  c.B - 2.6 <= dx * s < c.B - 2.0, "amber", keep_z=True, over=over, nudge=-1)
    ct = (c.b + c.c) / 2
    pts = []
    for i in range(10):
        r = 6.0 if i % 2 == 0 else 2.6
        ang = -math.pi / 2 + i * math.pi / 5
        pts.append((r * math.cos(ang), ct + r * math.sin(ang)))
    ctx.paint(in_poly(pts), "amber", keep_z=True, over=over, nudge=1)


def racing_livery(ctx, c):
    over = (c.paint,)
    # white centre band with a pinstripe of blue either side, from nose to tail
    ctx.paint(lambda dx, t: abs(dx) < 7.5, "white", keep_z=True, over=over)
    ctx.paint(lambda dx, t: 7.5 <= abs(dx) < 9.0, "sponsor", keep_z=True, over=over)
    # yellow side stripes over the wheel arches
    ctx.paint(lambda dx, t: c.B - 7.0 <= abs(dx) < c.B - 4.5 and 6 <= t < c.L - 12, "amber",
              keep_z=True, over=over)
    # number roundel on the bonnet
    ctx.paint(in_ellipse(0, 19, 6.2, 6.2), "white", keep_z=True, nudge=1,
              over=(c.paint, "white", "sponsor"))
    ctx.paint(lambda dx, t: 5.2 <= math.hypot(dx, t - 19) < 6.2, "ink", keep_z=True)
    draw_text(ctx.m, "7", *ctx.px(-1.5, 16), "ink", shade=0)
    # sponsor boards on the side pods
    for side in (-1, 1):
        box = in_rect(side * 13.5 - 4.5, 62, side * 13.5 + 4.5, 79) if side > 0 else \
            in_rect(-18, 62, -9, 79)
        ctx.paint(lambda dx, t, f=box: f(dx, t), "sponsor", keep_z=True, over=over)
        ctx.paint(lambda dx, t, s=side: 63 <= t < 78 and abs(dx * s - 13.5) < 1.0, "white",
                  keep_z=True, over=("sponsor",))
    # sponsor stickers on the front wings
    for side in (-1, 1):
        ctx.paint(lambda dx, t, s=side: 22 <= t < 28 and 14 <= dx * s < 20, "amber",
                  keep_z=True, over=over, nudge=1)
        ctx.paint(lambda dx, t, s=side: 24 <= t < 26 and 15 <= dx * s < 19, "vermil",
                  keep_z=True, over=("amber",), nudge=-1)
    # louvres on the engine cover
    for i in range(4):
        ctx.nudge(lambda dx, t, i=i: 64 + 3 * i <= t < 65 + 3 * i and abs(dx) < 6, -2)
    # front splitter and the rear wing on its end plates
    ctx.paint(lambda dx, t: 0 <= t < 2 and abs(dx) < c.hw(t), "trim", z=1.5)
    wing = (c.L - 10, c.L - 4)
    ctx.paint(lambda dx, t: wing[0] <= t < wing[1] and abs(dx) < c.B + 0.5, "trim",
              z=lambda dx, t: c.hb + 6.0 - 0.5 * (t - wing[0]),
              nudge=lambda dx, t: 1 if t < wing[0] + 1 else 0)
    ctx.paint(lambda dx, t: wing[0] - 1 <= t < wing[1] + 1 and c.B - 1.5 <= abs(dx) < c.B + 0.6,
              c.paint, z=c.hb + 7.0)
    ctx.paint(lambda dx, t: wing[0] + 1 <= t < wing[1] - 1 and abs(dx) < 6, "sponsor",
              keep_z=True)


def limo_trim(ctx, c):
    # a chrome line round the roof edge and a little flag mast on the front wing
    ctx.paint(lambda dx, t: c.b + 1 <= t < c.c - 1 and c.gr - 0.6 <= abs(dx) < c.gr + 0.4,
              "chrome", keep_z=True)
    ctx.paint(lambda dx, t: 3 <= dx + 18 < 4 and 9 <= t < 12, "chrome", z=c.hb + 3.0)


# ---------------------------------------------------------------- trucks

def cab_over(ctx, c, cab_len, cab_h, face=4.0, glass=8.0):
    """A flat-fronted cab: front face, raked windscreen, flat roof."""
    B = c.B

    def zcab(dx, t):
        if t < c.bumper_f + face:
            z = lerp(c.hb, cab_h - 3, (t - c.bumper_f) / face)
        elif t < c.bumper_f + face + glass:
            z = lerp(cab_h - 3, cab_h, (t - c.bumper_f - face) / glass)
        else:
            z = cab_h
        side = c.hw(t) - abs(dx)
        z = lerp(c.hb, z, ease_out(side / 3.0)) + 0.8 * (1 - (dx / B) ** 2)
        back = cab_len - t
        return lerp(c.hb, z, ease_out(back / 1.5))

    ctx.paint(lambda dx, t: c.bumper_f <= t < cab_len and abs(dx) < c.hw(t), c.paint, z=zcab)
    g0, g1 = c.bumper_f + face, c.bumper_f + face + glass
    ctx.paint(lambda dx, t: g0 <= t < g1 and abs(dx) < B - 2.0, "glass", keep_z=True,
              nudge=lambda dx, t: 2 if -16 <= dx + 1.3 * (t - g0) < -13 else 0)
    # wipers resting at the bottom of the glass
    for sx in (-B + 4, 3):
        for i in range(int(B) - 8):
            x, y = ctx.px(sx + i, g1 - 1.5)
            if ctx.m.mat[y][x] == "glass":
                ctx.m.put(x, y, "trim", None, 0)
    return zcab


def build_kei(paint, covered):
    c = Car(W=48, L=82, paint=paint, rf=4.0, rr=2.0, taper_f=1.0, taper_r=0.0, hb=6.0,
            bumper_f=2, bumper_r=2, cab="none", axle_f=10.0, axle_r=82 - 14.0,
            head=(2.5, 6.0, 13.0, 21.0), tail=(0.0, 2.0, 15.0, 22.0), seams=False,
            crown=0.6, nose_drop=0.0, tail_drop=0.0)
    m = build_car(c)
    ctx = Ctx(m, c)
    B = c.B
    cab_len = 31
    cab_over(ctx, c, cab_len, 17.0, face=4.0, glass=8.0)
    lamp(ctx, 2.5, 6.0, 13.0, 21.0, "head")
    lamp(ctx, 3.0, 6.0, 21.0, 22.6, "indic", rim=0, glint=0)
    # drip rails on the roof and two marker lamps on the cab front
    ctx.nudge(lambda dx, t: 16 <= t < cab_len - 1 and B - 3.5 <= abs(dx) < B - 2.5, -1)
    # chassis gap between cab and bed
    ctx.paint(lambda dx, t: cab_len <= t < cab_len + 2 and abs(dx) < B - 3, "trim", z=2.5)
    ctx.paint(lambda dx, t: cab_len <= t < cab_len + 2 and B - 3 <= abs(dx) < B, "trim",
              z=2.5, nudge=-1)
    b0, b1 = cab_len + 2, c.L - 2
    if covered:
        def ztarp(dx, t):
            arch = 13.0 + 7.0 * (1 - (dx / B) ** 2)
            hoop = 0.5 if (int(t) - b0) % 9 == 0 else 0.0
            side = c.hw(t) - abs(dx)
            z = lerp(7.0, arch + hoop, ease_out(side / 4.0))
            return lerp(7.0, z, ease_out(min(t - b0, b1 - t) / 2.5))
        ctx.paint(lambda dx, t: b0 <= t < b1 and abs(dx) < c.hw(t), "olive", z=ztarp,
                  nudge=lambda dx, t: (-1 if (int(t) - b0) % 9 == 4 and abs(dx) < B - 3 else 0))
        # tie-down ropes along the lower edge
        for side in (-1, 1):
            for t in range(b0 + 2, b1 - 1, 3):
                x, y = ctx.px(side * (B - 1.5), t + 0.5)
                m.shade(x, y, -2)
        # headboard frame visible ahead of the tarp
        ctx.paint(lambda dx, t: b0 <= t < b0 + 1 and abs(dx) < B - 1, "chrome", z=16.0)
    else:
        floor_z = 3.5
        ctx.paint(lambda dx, t: b0 <= t < b1 and abs(dx) < c.hw(t), paint,
                  z=lambda dx, t: floor_z,
                  nudge=lambda dx, t: -4 if int(dx + 32) % 5 == 0 else -3)
        # drop sides, tailgate and headboard with its guard bars
        ctx.paint(lambda dx, t: b0 <= t < b1 and B - 2 <= abs(dx) < c.hw(t), paint, z=8.0)
        ctx.paint(lambda dx, t: b1 - 2 <= t < b1 and abs(dx) < c.hw(t), paint, z=8.0)
        ctx.paint(lambda dx, t: b0 <= t < b0 + 2 and abs(dx) < c.hw(t), paint, z=10.0)
        for gx in (-12, -6, 0, 6, 12):
            ctx.paint(lambda dx, t, gx=gx: b0 - 1 <= t < b0 + 1 and gx - 0.5 <= dx < gx + 0.5,
                      "chrome", z=13.0)
        ctx.paint(lambda dx, t: b0 - 1 <= t < b0 and abs(dx) < 13, "chrome", z=13.0)
        # gate hinges
        for side in (-1, 1):
            for tt in (b0 + 10, b0 + 28):
                ctx.paint(lambda dx, t, s=side, tt=tt: tt <= t < tt + 2 and
                          B - 2 <= dx * s < B, "chrome", keep_z=True)
    lamp(ctx, c.L - 2, c.L, 15.0, 22.0, "tail", rim=0, glint=1)
    return m


def build_lorry(paint):
    c = Car(H=128, W=62, L=126, paint=paint, rf=4.0, rr=1.0, taper_f=1.5, taper_r=0.0,
            hb=7.0, bumper_f=3, bumper_r=2, cab="none", axle_f=14.0, axle_r=126 - 18.0,
            tyre_len=13.0, head=(3.5, 7.0, 17.0, 26.0), tail=(0.0, 2.0, 18.0, 28.0),
            seams=False, crown=0.6, nose_drop=0.0, tail_drop=0.0)
    m = build_car(c)
    ctx = Ctx(m, c)
    B = c.B
    # second rear axle
    ctx.paint(lambda dx, t: B - 3 <= abs(dx) < B + 1 and abs(t - (c.L - 33)) < 6.5
              and not m.filled(*ctx.px(dx, t)), "tyre", z=3.0)
    cab_len = 27
    cab_over(ctx, c, cab_len, 20.0, face=4.0, glass=8.0)
    lamp(ctx, 3.5, 7.0, 17.0, 26.0, "head")
    lamp(ctx, 4.0, 7.0, 26.0, 28.5, "indic", rim=0, glint=0)
    # roof marker lamps and a sun visor over the windscreen
    ctx.paint(lambda dx, t: 15 <= t < 17 and abs(dx) < B - 4, c.paint, z=21.5)
    for mx in (-12, -6, 0, 6, 12):
        ctx.paint(lambda dx, t, mx=mx: 15 <= t < 16 and mx - 1 <= dx < mx + 1, "indic",
                  keep_z=True)
    # roof vent hatch
    ctx.paint(in_rrect(-6, 20, 6, 25, 1), "trim", z=20.6,
              nudge=lambda dx, t: 1 if t < 21 else 0)
    # mirrors on arms
    for side in (-1, 1):
        ctx.paint(lambda dx, t, s=side: 9 <= t < 10 and B - 2 <= dx * s < B + 1, "chrome",
                  z=16.0)
        ctx.paint(lambda dx, t, s=side: 7 <= t < 13 and B + 0 <= dx * s < B + 1, "trim",
                  z=16.0)
    # chassis gap
    ctx.paint(lambda dx, t: cab_len <= t < cab_len + 3 and abs(dx) < B, "trim", z=2.5,
              nudge=lambda dx, t: -1 if abs(dx) > B - 3 else 0)
    # the box: aluminium with raised ribs across the roof and a coloured stripe each side
    b0, b1 = cab_len + 3, c.L - 2

    def zbox(dx, t):
        side = c.hw(t) - abs(dx)
        z = 27.0 + 0.6 * (1 - (dx / B) ** 2)
        if (int(t) - b0) % 8 == 4:
            z += 0.7
        z = lerp(8.0, z, ease_out(side / 1.6))
        return lerp(8.0, z, ease_out(min(t - b0, b1 - t) / 1.6))
    ctx.paint(lambda dx, t: b0 <= t < b1 and abs(dx) < c.hw(t), "chrome", z=zbox)
    for side in (-1, 1):
        ctx.paint(lambda dx, t, s=side: b0 + 2 <= t < b1 - 2 and B - 4 <= dx * s < B - 2,
                  paint, keep_z=True)
    # rear door seam and lock bars
    ctx.nudge(lambda dx, t: b1 - 2 <= t < b1 - 1 and abs(dx) < B - 1, -1)
    ctx.nudge(lambda dx, t: b1 - 8 <= t < b1 - 2 and abs(dx) < 0.6, -1)
    lamp(ctx, c.L - 2, c.L, 18.0, 28.0, "tail", rim=0, glint=1)
    return m


# ---------------------------------------------------------------- the line-up

def saloon_navy():
    # the plain family saloon: narrower, with rounded corners and a waisted three-box body
    return build_car(Car(W=48, paint="navy", rf=14.0, rr=12.0, taper_f=4.0, taper_len_f=30.0,
                         taper_r=3.5, taper_len_r=24.0, waist=1.0, fender_len=10.0,
                         extras=[grille, badge]))


def hatch_red():
    return build_car(Car(W=53, paint="vermil", rf=12.0, rr=5.0, taper_f=3.0,
                         a=20.0, b=33.0, c=70.0, d=81.0, ga=20.0, gr=16.0, sb=4.0, gd=19.5,
                         cpillar=2.0, head=(3.0, 8.0, 12.0, 22.5), tail=(2.0, 6.0, 17.0, 24.5),
                         axle_f=15.0, axle_r=92 - 15.0, bumper_r=2,
                         extras=[grille, rear_spoiler(69.0, 72.0, 19.0, 7.5, "trim"),
                                 rear_wiper]))


def wagon_white(W=51):
    # an estate: a box with its corners barely rounded, the roof running to the tail
    return build_car(Car(W=W, paint="white", rf=3.0, rr=2.0, taper_f=0.6, taper_len_f=12.0,
                         taper_r=0.0,
                         a=25.0, b=37.0, c=83.0, d=87.0, gd=19.0, cpillar=1.5,
                         pillars=[52.0, 68.0], tail=(1.0, 8.0, 20.5, 24.0),
                         axle_r=92 - 17.0, bumper_mat="chrome", extras=[grille, roof_rails]))


def roadster_red():
    return build_car(Car(W=44, L=84, paint="vermil", rf=13.0, rr=8.0, taper_f=4.0,
                         taper_len_f=30.0, hb=6.0, cab="open", a=32.0, b=37.0, ga=15.0,
                         gr=14.0, sb=1.0, hr=10.0, head_shape="round",
                         head=(5.0, 11.0, 10.0, 16.0), tail=(2.5, 3.0, 10.0, 18.0),
                         axle_f=16.0, axle_r=84 - 15.0, bumper_f=2, bumper_r=2,
                         bumper_mat="chrome", extras=[cockpit], seams=False))


def saloon_crimson():
    # a big formal saloon: square corners and a long boot
    return build_car(Car(W=57, L=91, paint="crimson", rf=5.0, rr=3.0, taper_f=1.0,
                         taper_r=0.4, a=28.0, b=41.0, c=58.0,
                         d=72.0, ga=21.0, gr=17.0, sb=4.0, gd=19.5, head=(3.0, 7.0, 12.0, 25.0),
                         tail=(3.0, 3.0, 13.0, 25.5), bumper_mat="chrome",
                         extras=[grille, badge, sunroof(46.0, 56.0, 9.0)]))


def rival_purple(W=58):
    # wide stance: flared arches over the wheels, the body pulled in between them
    return build_car(Car(W=W - 5, paint="purple", rf=10.0, rr=7.0, taper_f=3.0, fender=3.5,
                         waist=2.0, fender_len=10.0, a=34.0, b=46.0, c=60.0, d=74.0, ga=20.0 * W / 58,
                         gr=14.0 * W / 58, sb=5.0, gd=18.0 * W / 58, hb=6.5, hr=12.0,
                         cpillar=4.0, head=(3.0, 7.0, 13.0, W / 2 - 4),
                         tail=(3.0, 3.0, 12.0, W / 2 - 2.5),
                         extras=[flames, rear_spoiler(92 - 7.0, 92 - 4.0, W / 2 - 3.0, 4.0)]))


def racer_red():
    # low and wide: a long pointed nose, a waist pinched between the wheels, a square tail
    return build_car(Car(W=58, paint="vermil", rf=6.0, rr=2.0, taper_f=12.0, taper_len_f=38.0,
                         fender=1.5, waist=5.0, fender_len=9.0, hb=5.0, hr=10.0, rs=7.0,
                         a=36.0, b=46.0, c=56.0, d=62.0, ga=15.0, gr=10.0, sb=3.0, gd=11.0,
                         cpillar=5.0, bumper_mat=None, head=(4.0, 9.0, 14.0, 22.0),
                         tail=(0.5, 3.0, 13.0, 24.0), axle_f=18.0, axle_r=92 - 20.0,
                         tyre_len=16.0, extras=[racing_livery], seams=False, wipers=False))


def kei_pickup():
    return build_kei("white", covered=False)


def kei_covered():
    return build_kei("white", covered=True)


def lorry():
    return build_lorry("teal")


def limo_bluegrey():
    return build_car(Car(H=128, W=55, L=126, paint="bluegrey", a=32.0, b=44.0, c=102.0,
                         d=111.0, ga=21.0, gr=16.0, sb=4.0, gd=19.0, pillars=[64.0, 84.0],
                         axle_f=20.0, axle_r=126 - 22.0, head=(3.0, 7.0, 13.0, 24.0),
                         tail=(3.0, 3.0, 13.0, 24.5), bumper_mat="chrome",
                         extras=[grille, badge, limo_trim]))


def coupe_bluegrey():
    # a short coupe: long tapering bonnet, round corners, narrow waist, short fastback
    return build_car(Car(W=51, L=86, paint="bluegrey", rf=14.0, rr=10.0, taper_f=5.0,
                         taper_len_f=36.0, fender=1.0, waist=2.0, fender_len=9.0,
                         a=30.0, b=42.0, c=50.0, d=73.0, gd=15.0, cpillar=2.0,
                         tail=(3.0, 3.0, 4.0, 21.0), axle_f=18.0, axle_r=86 - 17.0,
                         extras=[grille, rear_spoiler(78.0, 81.0, 20.0, 2.5)]))


def saloon_beige(W=51):
    return build_car(Car(W=W, paint="beige", rf=5.0, rr=5.0, taper_f=1.0, a=27.0, b=39.0,
                         c=61.0, d=70.0, head_shape="round", head=(3.0, 9.0, 14.0, 20.0),
                         bumper_mat="chrome", extras=[grille, badge]))


# ---------------------------------------------------------------- our label font
# Six rows high, one-pixel strokes; most letters four wide.

FONT = {
    "A": [".##.", "#..#", "#..#", "####", "#..#", "#..#"],
    "B": ["###.", "#..#", "###.", "#..#", "#..#", "###."],
    "D": ["###.", "#..#", "#..#", "#..#", "#..#", "###."],
    "E": ["####", "#...", "###.", "#...", "#...", "####"],
    "F": ["####", "#...", "###.", "#...", "#...", "#..."],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", "###"],
    "K": ["#..#", "#.#.", "##..", "#.#.", "#..#", "#..#"],
    "L": ["#...", "#...", "#...", "#...", "#...", "####"],
    "M": ["#...#", "##.##", "#.#.#", "#...#", "#...#", "#...#"],
    "O": [".##.", "#..#", "#..#", "#..#", "#..#", ".##."],
    "P": ["###.", "#..#", "#..#", "###.", "#...", "#..."],
    "R": ["###.", "#..#", "#..#", "###.", "#.#.", "#..#"],
    "S": [".###", "#...", ".##.", "...#", "...#", "###."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#..#", "#..#", "#..#", "#..#", "#..#", ".##."],
    "0": [".##.", "#..#", "#.##", "##.#", "#..#", ".##."],
    "1": [".#.", "##.", ".#.", ".#.", ".#.", "###"],
    "2": [".##.", "#..#", "...#", ".##.", "#...", "####"],
    "3": ["###.", "...#", ".##.", "...#", "...#", "###."],
    "4": ["#..#", "#..#", "####", "...#", "...#", "...#"],
    "5": ["####", "#...", "###.", "...#", "...#", "###."],
    "6": [".##.", "#...", "###.", "#..#", "#..#", ".##."],
    "7": ["####", "...#", "..#.", ".#..", ".#..", ".#.."],
    "8": [".##.", "#..#", ".##.", "#..#", "#..#", ".##."],
    "9": [".##.", "#..#", "#..#", ".###", "...#", ".##."],
    " ": ["..", "..", "..", "..", "..", ".."],
}


def text_bits(text):
    """The pixels of a word as a list of rows of booleans."""
    rows = [[] for _ in range(6)]
    for i, ch in enumerate(text):
        g = FONT[ch]
        for r in range(6):
            if i:
                rows[r].append(False)
            rows[r].extend(c == "#" for c in g[r])
    return rows


def draw_text(m, text, x, y, mat, shade=0, mirror=False):
    bits = text_bits(text)
    for r, row in enumerate(bits):
        if mirror:
            row = row[::-1]
        for i, on in enumerate(row):
            if on and m.inside(x + i, y + r):
                m.mat[y + r][x + i] = mat
                m.nudge[y + r][x + i] = shade


def text_width(text):
    return len(text_bits(text)[0])


# ---------------------------------------------------------------- markers

def marker(body):
    """A flat badge with a side-on car pictogram; only the top 16 rows are used because at
    the bottom of the view just that much shows."""
    m = Model(64, 32)
    plate = in_rrect(13, 0, 51, 15, 3)
    m.fill(plate, "ink", z=1.0)
    m.fill(in_rrect(14, 1, 50, 14, 2), "paper", z=1.0,
           nudge=lambda px, py: 1 if py < 2 else (-1 if py > 13 else 0))
    # body, roof, windows and wheels
    lower = in_rrect(17, 6, 47, 11, 2)
    roof = in_poly([(23, 6.5), (27, 2.5), (37, 2.5), (42, 6.5)])
    m.fill(lambda px, py: lower(px, py) or roof(px, py), body, z=1.0,
           nudge=lambda px, py: 1 if py < 7 and lower(px, py + 1) and not roof(px, py) else 0)
    m.fill(in_poly([(25.2, 6.2), (27.8, 3.5), (31.5, 3.5), (31.5, 6.2)]), "paper", z=1.0, nudge=1)
    m.fill(in_poly([(33, 6.2), (33, 3.5), (36.6, 3.5), (39.8, 6.2)]), "paper", z=1.0, nudge=1)
    for wx in (23, 41):
        m.fill(in_ellipse(wx, 11.5, 2.6, 2.6), "ink", z=1.0)
        m.fill(in_ellipse(wx, 11.5, 1.0, 1.0), "sgrey", z=1.0, nudge=1)
    # lamps at each end
    m.put(17, 7, "syellow", 1.0, 2)
    m.put(46, 7, "sred", 1.0, 2)
    return light_model(m, shadow=0, flat=True)


# ---------------------------------------------------------------- traffic signal heads

def signal_head(lit):
    """Horizontal head as used in Japan: blue-green, yellow and red lamps left to right."""
    m = Model(64, 32)
    m.fill(in_rrect(1, 5, 61, 27, 5), "ink", z=4.0)
    m.fill(in_rrect(2, 6, 60, 26, 4), "housing", z=4.0,
           nudge=lambda px, py: 1 if (py < 7.5 or px < 3.5) else (-1 if py > 24.5 or px > 58.5
                                                                    else 0))
    lamps = (("sgreen", 12.0), ("syel", 31.0), ("sredlamp", 50.0))
    cy, r = 16.0, 6.6
    for i, (mat, cx) in enumerate(lamps):
        on = i == lit
        if on:
            # glow spilling onto the housing around the lit lamp
            m.fill(lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= (r + 2.6) ** 2,
                   mat, z=4.0, nudge=0, only_filled=True)
        # visor: a dark hood over the upper half
        m.fill(lambda px, py: r <= math.hypot(px - cx, py - cy) < r + 1.6 and py < cy + 1,
               "housing", z=4.0, nudge=-2)
        m.fill(lambda px, py: math.hypot(px - cx, py - cy) < r, mat, z=4.0,
               nudge=(lambda px, py: 3 if math.hypot(px - cx + 2, py - cy + 2) < 1.6 else
                      (2 if math.hypot(px - cx + 1, py - cy + 1) < 3.6 else 1)) if on else
               (lambda px, py: 1 if math.hypot(px - cx + 2.5, py - cy + 2.5) < 0.8 else -1))
        m.fill(lambda px, py: r - 1 <= math.hypot(px - cx, py - cy) < r, mat, z=4.0,
               nudge=1 if on else -1)
    # bolts on the housing
    for bx in (21.5, 40.5):
        m.put(int(bx), 7, "housing", 4.0, 2)
        m.put(int(bx), 24, "housing", 4.0, 2)
    return light_model(m, shadow=3, flat=True)


# ---------------------------------------------------------------- rocks and spilled cargo

def value_noise(seed, scale):
    rnd = random.Random(seed)
    grid = {}

    def at(ix, iy):
        if (ix, iy) not in grid:
            grid[(ix, iy)] = rnd.random()
        return grid[(ix, iy)]

    def noise(x, y):
        fx, fy = x / scale, y / scale
        ix, iy = int(math.floor(fx)), int(math.floor(fy))
        ux, uy = smooth(fx - ix), smooth(fy - iy)
        a = lerp(at(ix, iy), at(ix + 1, iy), ux)
        b = lerp(at(ix, iy + 1), at(ix + 1, iy + 1), ux)
        return lerp(a, b, uy)
    return noise


def boulder(blobs, mat, seed):
    """Rocks as lumpy domes: each blob is (cx, cy, rx, ry, height)."""
    m = Model(64, 64)
    n1 = value_noise(seed, 6.0)
    n2 = value_noise(seed + 1, 2.5)
    rnd = random.Random(seed + 2)
    for y in range(64):
        for x in range(64):
            px, py = x + 0.5, y + 0.5
            best = None
            for cx, cy, rx, ry, h in blobs:
                wob = 1.0 + 0.22 * (n1(px * 1.3, py * 1.3) - 0.5)
                d = ((px - cx) / (rx * wob)) ** 2 + ((py - cy) / (ry * wob)) ** 2
                if d < 1.0:
                    z = h * math.sqrt(1 - d) ** 0.8
                    best = z if best is None or z > best else best
            if best is None:
                continue
            z = best + 2.2 * (n1(px, py) - 0.5) + 0.9 * (n2(px, py) - 0.5)
            # facets: step the height a little so it breaks into planes
            z = round(z / 1.2) * 1.2 + 0.4 * (n2(px + 9, py) - 0.5)
            nd = 0
            r = rnd.random()
            if r < 0.06:
                nd = 1
            elif r < 0.12:
                nd = -1
            m.put(x, y, mat, max(z, 1.0), nd)
    # a couple of cracks
    for _ in range(3):
        x, y = rnd.randrange(16, 48), rnd.randrange(16, 48)
        for _ in range(rnd.randrange(5, 10)):
            if m.filled(x, y) and m.z[y][x] > 4:
                m.shade(x, y, -2)
            x += rnd.choice((-1, 0, 1))
            y += rnd.choice((0, 1))
    return light_model(m, shadow=4, gain=0.8)


def crate(m, cx, cy, size, ang, h=13.0):
    ca, sa = math.cos(ang), math.sin(ang)
    half = size / 2
    for y in range(64):
        for x in range(64):
            px, py = x + 0.5 - cx, y + 0.5 - cy
            u = px * ca + py * sa
            v = -px * sa + py * ca
            if abs(u) >= half or abs(v) >= half:
                continue
            edge = min(half - abs(u), half - abs(v))
            z = lerp(h - 2.5, h, ease_out(edge / 1.5))
            nd = 0
            if edge < 2.2:
                nd = 1                                    # frame boards
            elif (v + half) % 5.0 < 1.0:
                nd = -2                                   # gaps between planks
            elif abs(u - v) < 1.3:
                nd = 1                                    # diagonal brace
            m.put(x, y, "wood", z, nd)


def drum_standing(m, cx, cy, r, mat):
    for y in range(64):
        for x in range(64):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d >= r:
                continue
            z = 15.0
            nd = 0
            if d > r - 1.6:
                z = 16.0                                  # rolled rim
            elif d > r - 2.6:
                z = 14.6
            if abs(d - r * 0.55) < 0.5:
                nd = -1                                   # pressed ring in the lid
            m.put(x, y, mat, z, nd)
    bx, by = int(cx + r * 0.35), int(cy - r * 0.35)
    m.put(bx, by, "trim", 15.0, 0)
    m.put(bx + 1, by, "trim", 15.0, 0)


def drum_lying(m, cx, cy, r, length, ang, mat):
    ca, sa = math.cos(ang), math.sin(ang)
    for y in range(64):
        for x in range(64):
            px, py = x + 0.5 - cx, y + 0.5 - cy
            u = px * ca + py * sa                      # along the drum
            v = -px * sa + py * ca                     # across it
            if abs(u) >= length / 2 or abs(v) >= r:
                continue
            z = 1.0 + r * 1.1 * math.sqrt(1 - (v / r) ** 2)
            nd = 0
            hoop = abs(u) - length / 5
            if -0.5 <= hoop < 0.6:
                nd, z = 1, z + 0.5                        # rolling hoops
            elif 0.6 <= hoop < 1.5:
                nd = -1
            if abs(u) > length / 2 - 1.4:
                nd, z = (1 if u < 0 else -2), z + 0.4     # rolled rims at the ends
            m.put(x, y, mat, z, nd)


def spilled_load():
    m = Model(64, 64)
    # oil run out of the drum on its side; everything else lies on the road itself
    n = value_noise(77, 3.0)
    m.fill(lambda px, py: ((px - 46) / 9.5) ** 2 + ((py - 52) / 5.5) ** 2 < 0.7 + 0.5 * n(px, py),
           "oil", z=0.2, nudge=lambda px, py: 1 if n(px * 1.7, py * 1.7) > 0.74 else 0)
    crate(m, 16, 16, 20, 0.0)
    crate(m, 45, 32, 16, 0.42, h=11.0)
    # a plank that came loose
    m.fill(lambda px, py: abs((px - 17) * 0.15 - (py - 57) * 0.99) < 1.5 and
           abs((px - 17) * 0.99 + (py - 57) * 0.15) < 9, "wood", z=2.0,
           nudge=lambda px, py: 1 if (px - 17) * 0.15 - (py - 57) * 0.99 < -0.5 else 0)
    drum_standing(m, 48, 9.5, 7.5, "sponsor")
    drum_standing(m, 9.5, 40, 6.0, "olive")
    drum_lying(m, 29, 45, 6.0, 20, -0.35, "vermil")
    return light_model(m, shadow=4, gain=0.9)


# ---------------------------------------------------------------- debris

DEBRIS_FRAMES = (
    # cloud radius, puffs, puff radius, fragments, shade
    (6.0, 3, 3.4, 22, -1),
    (12.0, 6, 5.2, 26, -1),
    (19.0, 10, 7.0, 22, 0),
    (26.0, 15, 8.4, 16, 1),
)


def debris(frame):
    """One frame of the crash cloud: billows of dust with chips of car flying out of it."""
    radius, puffs, pr, bits, tone = DEBRIS_FRAMES[frame]
    rnd = random.Random(100 + frame)
    m = Model(64, 64)
    cx, cy = 31.0, 31.0
    blobs = []
    for i in range(puffs):
        a = rnd.random() * 2 * math.pi
        d = radius * (0.15 + 0.75 * rnd.random()) if i else 0.0
        r = pr * (0.65 + 0.5 * rnd.random())
        blobs.append((cx + d * math.cos(a), cy + d * math.sin(a) * 0.85, r))
    n = value_noise(200 + frame, 2.2)
    grain = random.Random(300 + frame)
    for y in range(64):
        for x in range(64):
            px, py = x + 0.5, y + 0.5
            z = None
            near = False
            for bx, by, r in blobs:
                rr = r * (0.85 + 0.3 * n(px, py))
                d = ((px - bx) ** 2 + (py - by) ** 2) / (rr * rr)
                if d < 1:
                    zz = rr * 0.9 * math.sqrt(1 - d)
                    z = zz if z is None or zz > z else z
                elif d < 1.6:
                    near = True
            if z is None:
                # loose grains of dust round the billows
                if near and grain.random() < 0.12 + 0.05 * frame:
                    m.put(x, y, "dust", 2.0, tone)
                continue
            if frame == 3 and n(px * 1.5, py * 1.5) < 0.28 and z < 3.5:
                continue                                  # the oldest cloud is breaking up
            m.put(x, y, "dust", 3.0 + z, tone)
    # fragments: chips of paint, glass and metal, and sparks early on
    kinds = ["trim", "trim", "glass", "vermil", "chrome", "tyre"] + (["spark"] * 3 if frame < 2
                                                                     else [])
    shapes = (((0, 0),), ((0, 0), (1, 0)), ((0, 0), (0, 1)), ((0, 0), (1, 0), (0, 1)))
    for _ in range(bits):
        a = rnd.random() * 2 * math.pi
        d = radius * (0.7 + 0.9 * rnd.random()) + 3
        x = int(cx + d * math.cos(a))
        y = int(cy + d * math.sin(a))
        mat = rnd.choice(kinds)
        shape = shapes[0] if frame == 3 else rnd.choice(shapes)
        for ex, ey in shape:
            if 0 <= x + ex < 64 and 0 <= y + ey < 64:
                m.put(x + ex, y + ey, mat, 3.0, 1 if (ex, ey) == (0, 0) else -1)
    return light_model(m, shadow=2, gain=0.7)


# ---------------------------------------------------------------- pick-up labels

def icon_pump(m, mat, sh):
    m.fill(in_rect(10, 4, 17, 14), mat, nudge=sh)
    m.fill(in_rect(11, 5, 16, 8), mat, nudge=sh + 3)          # window
    m.fill(in_rect(9, 13, 18, 15), mat, nudge=sh)             # foot
    for x, y in line_pixels(17, 6, 19, 6) + line_pixels(20, 7, 20, 12) + [(21, 12)]:
        m.put(x, y, mat, None, sh)                            # hose and nozzle
    m.put(21, 11, mat, None, sh)


def icon_fast(m, mat, sh):
    for ox in (8, 15):
        m.fill(in_poly([(ox, 4), (ox + 7, 9), (ox, 14)]), mat, nudge=sh)


def icon_disc(m, mat, sh):
    """Brake disc with its drilled ring, hub and calliper."""
    def d(px, py):
        return math.hypot(px - 13.5, py - 9.5)
    m.fill(lambda px, py: 2.6 <= d(px, py) < 6.2, mat, nudge=sh)
    for a in range(0, 360, 60):
        hx = 13.5 + 4.4 * math.cos(math.radians(a + 30))
        hy = 9.5 + 4.4 * math.sin(math.radians(a + 30))
        m.erase(int(hx), int(hy))
    m.fill(lambda px, py: d(px, py) < 1.6, mat, nudge=sh)
    m.fill(in_rrect(17.5, 4, 22, 15, 1.5), mat, nudge=sh - 1 if sh > 0 else sh)
    m.fill(in_rect(18.5, 5, 21, 14), "ink" if mat != "ink" else mat, nudge=1 if mat != "ink" else 0)
    m.fill(in_rect(19, 6, 20.5, 13), mat, nudge=sh)


def icon_lines(m, mat, sh):
    for y, x0 in ((5, 9), (8, 6), (11, 9)):
        for x in range(x0, 17):
            m.put(x, y, mat, None, sh)
    m.fill(in_poly([(17, 3), (23, 8.5), (17, 14)]), mat, nudge=sh)


def plate(m, bg, rim):
    """A 30 x 30 plate: dark rim, lit top-left bevel, dark bottom-right bevel."""
    m.fill(in_rrect(0, 0, 30, 30, 3), rim, z=3.0, nudge=0)
    m.fill(in_rrect(1, 1, 29, 29, 2), bg, z=3.0,
           nudge=lambda px, py: 2 if (px < 2 or py < 2) else (-1 if (px > 28 or py > 28) else 0))


def write_word(m, word, y, mat, sh, shadow=None, mirror=False):
    w = text_width(word)
    x = (30 - w) // 2
    if shadow:
        draw_text(m, word, x + 1, y + 1, shadow[0], shadow[1], mirror)
    draw_text(m, word, x, y, mat, sh, mirror)


def label_good(word, bg, icon, fg=("slemon", 1)):
    m = Model(32, 32)
    plate(m, bg, "ink")
    content = Model(32, 32)
    icon(content, fg[0], fg[1])
    paste_over(m, content)
    write_word(m, word, 19, fg[0], fg[1], shadow=("ink", 0))
    return light_model(m, shadow=2, flat=True)


def label_bad(word, bg, icon, stripe=None):
    """The bad items: black print, the whole face mirrored."""
    m = Model(32, 32)
    plate(m, bg, "ink")
    if stripe:
        m.fill(in_rect(1, 15, 29, 28), stripe, nudge=0, only_filled=True)
        m.fill(in_rect(1, 15, 29, 16), stripe, nudge=1, only_filled=True)
        m.fill(in_rect(1, 27, 29, 28), stripe, nudge=-1, only_filled=True)
    content = Model(32, 32)
    icon(content, "ink", 0)
    write_word(content, word, 19, "ink", 0)
    paste_over(m, mirror_face(content))
    return light_model(m, shadow=2, flat=True)


def mirror_face(m):
    """Mirror the 30-pixel face of a plate about its own centre line."""
    out = Model(m.w, m.h)
    for y in range(m.h):
        for x in range(30):
            out.mat[y][29 - x] = m.mat[y][x]
            out.nudge[y][29 - x] = m.nudge[y][x]
    return out


def paste_over(dst, src):
    for y in range(src.h):
        for x in range(src.w):
            if src.mat[y][x] is not None:
                dst.mat[y][x] = src.mat[y][x]
                dst.nudge[y][x] = src.nudge[y][x]


def label_time():
    """A clock dial with the word on a ribbon across its lower half."""
    m = Model(32, 32)
    c = 15.0

    def dist(px, py):
        return math.hypot(px - c, py - c)
    m.fill(lambda px, py: dist(px, py) < 15.0, "ink", z=3.0)
    m.fill(lambda px, py: dist(px, py) < 14.0, "steal", z=3.0,
           nudge=lambda px, py: 2 if px + py < 27 else (0 if px + py > 33 else 1))
    m.fill(lambda px, py: dist(px, py) < 12.0, "slemon", z=3.0,
           nudge=lambda px, py: 0 if dist(px, py) > 11 and px + py > 30 else 2)
    for i in range(12):
        a = i * math.pi / 6
        inner = 8.6 if i % 3 == 0 else 9.8
        for rr in (inner, 10.6):
            x = int(math.floor(c + rr * math.sin(a)))
            y = int(math.floor(c - rr * math.cos(a)))
            if y < 16:
                m.put(x, y, "ink", None, 1)
    # hands at ten to two
    for x, y in line_pixels(15, 14, 15, 5) + line_pixels(14, 14, 9, 10):
        m.put(x, y, "ink", None, 0)
    for x, y in line_pixels(16, 14, 20, 10):
        m.put(x, y, "sred", None, 2)
    m.put(15, 15, "sred", None, 1)
    # ribbon
    m.fill(in_rect(1, 17, 30, 26), "ink", z=3.0)
    m.fill(in_rect(2, 18, 29, 25), "sred", z=3.0,
           nudge=lambda px, py: 1 if py < 19 else (-1 if py > 24 else 0))
    write_word(m, "TIME", 18, "slemon", 1, shadow=("sred", 0))
    return light_model(m, shadow=2, flat=True)


def label_sus():
    """The word printed over a coil spring lying across the plate."""
    m = Model(32, 32)
    plate(m, "sleaf", "ink")
    # a standing coil traced as a helix seen a little from above: back half dark, front bright
    cx, top, radius, pitch, tilt = 15.0, 6.5, 8.0, 3.7, 2.2
    for front in (False, True):
        for k in range(1400):
            th = k / 1400 * 5.0 * 2 * math.pi
            depth = math.cos(th)
            if (depth > 0) != front:
                continue
            px = cx + radius * math.sin(th)
            py = top + pitch * th / (2 * math.pi) + tilt * depth
            m.put(int(px), int(py), "vermil", None, (1 if depth > 0.5 else 0) if front else -2)
            if front and int(py) + 1 < 26:
                m.put(int(px), int(py) + 1, "vermil", None, -1)
    m.fill(in_rect(5, 3, 25, 5), "vermil", nudge=-1)
    m.fill(in_rect(5, 26, 25, 28), "vermil", nudge=-2)
    # the word, white with a dark outline so it reads over the coils
    w = text_width("SUS")
    x0, y0 = (30 - w) // 2, 12
    for ox in (-1, 0, 1):
        for oy in (-1, 0, 1):
            draw_text(m, "SUS", x0 + ox, y0 + oy, "ink", 0)
    draw_text(m, "SUS", x0 + 1, y0 + 1, "ink", 0)
    draw_text(m, "SUS", x0, y0, "slemon", 1)
    return light_model(m, shadow=2, flat=True)


# ---------------------------------------------------------------- motorbike

def motorbike():
    m = Model(32, 64)
    cx = 16.0

    def dome(px_c, py_c, rx, ry, h, base=0.0):
        return lambda px, py: base + h * math.sqrt(max(0.0, 1 - ((px - px_c) / rx) ** 2 -
                                                         ((py - py_c) / ry) ** 2))
    # tyres
    m.fill(in_rrect(cx - 2, 2, cx + 2, 17, 2), "tyre", z=4.0,
           nudge=lambda px, py: -1 if int(py) % 3 == 0 else 0)
    m.fill(in_rrect(cx - 2.5, 45, cx + 2.5, 61, 2), "tyre", z=4.0,
           nudge=lambda px, py: -1 if int(py) % 3 == 0 else 0)
    # mudguard, nose fairing, headlamp and screen
    m.fill(in_rrect(cx - 1.5, 5, cx + 1.5, 12, 1), "vermil", z=6.0)
    m.fill(in_ellipse(cx, 16.5, 5.0, 5.0), "vermil", z=dome(cx, 16.5, 5, 5, 4, 6))
    m.fill(in_ellipse(cx, 12.8, 2.2, 1.3), "head", z=8.0, nudge=1)
    m.fill(in_ellipse(cx, 17.2, 3.4, 2.4), "glass", z=dome(cx, 17.2, 3.4, 2.4, 2, 9),
           nudge=lambda px, py: 2 if px < cx - 1 and py < 17 else 0)
    # handlebars with grips and mirrors
    m.fill(in_rect(cx - 8, 20, cx + 8, 21), "chrome", z=10.0)
    for sx in (-1, 1):
        m.fill(in_rect(cx + sx * 8 - (1 if sx > 0 else 0) - 1, 20, cx + sx * 8 +
                       (1 if sx > 0 else 0), 21), "trim", z=10.0)
        m.put(int(cx + sx * 6.5), 18, "chrome", 11.0, 1)
        m.put(int(cx + sx * 6.5), 19, "trim", 10.0, 0)
    # tank, then the rider's knees and boots either side of it
    m.fill(in_ellipse(cx, 26, 4.6, 6.0), "vermil", z=dome(cx, 26, 4.6, 6, 4, 8))
    for sx in (-1, 1):
        m.fill(in_ellipse(cx + sx * 5.2, 33, 2.1, 6.0), "leather",
               z=dome(cx + sx * 5.2, 33, 2.1, 6, 3, 8))
        m.fill(in_ellipse(cx + sx * 5.0, 41, 1.6, 2.4), "ink", z=7.0)
    # exhaust on the right
    m.fill(in_rrect(cx + 3, 40, cx + 5.5, 53, 1), "chrome", z=6.0)
    # seat cowl and tail lamp
    m.fill(in_ellipse(cx, 47, 3.6, 6.0), "vermil", z=dome(cx, 47, 3.6, 6, 3, 7))
    m.fill(in_rect(cx - 1.5, 52, cx + 1.5, 53.5), "tail", z=8.0, nudge=1)
    # arms from the grips to the shoulders
    for sx in (-1, 1):
        for x, y in line_pixels(int(cx + sx * 6.5 - (1 if sx > 0 else 0)), 21,
                                int(cx + sx * 5.5 - (1 if sx > 0 else 0)), 27):
            m.put(x, y, "leather", 13.0, 0)
            m.put(x - sx, y, "leather", 13.0, 0)
    # back, with a white stripe, and the helmet over the tank
    m.fill(in_ellipse(cx, 33, 6.4, 7.5), "leather", z=dome(cx, 33, 6.4, 7.5, 5, 11))
    for y in range(29, 40):
        for x in (15, 16):
            if m.mat[y][x] == "leather":
                m.mat[y][x] = "white"
                m.nudge[y][x] = -1
    m.fill(in_ellipse(cx, 26.5, 4.4, 4.6), "white", z=dome(cx, 26.5, 4.4, 4.6, 4, 16))
    m.fill(lambda px, py: in_ellipse(cx, 26.5, 4.4, 4.6)(px, py) and py < 24.2, "glass",
           z=dome(cx, 26.5, 4.4, 4.6, 4, 16))
    m.fill(lambda px, py: abs(px - cx) < 1.0 and 24.2 <= py < 31, "vermil",
           z=dome(cx, 26.5, 4.4, 4.6, 4, 16), only_filled=True)
    return m


def capsule(x0, y0, x1, y1, r):
    def dist(px, py):
        vx, vy = x1 - x0, y1 - y0
        k = clamp01(((px - x0) * vx + (py - y0) * vy) / (vx * vx + vy * vy))
        return math.hypot(px - x0 - k * vx, py - y0 - k * vy)
    return dist


def limb(m, x0, y0, x1, y1, r, mat, base):
    d = capsule(x0, y0, x1, y1, r)
    m.fill(lambda px, py: d(px, py) < r, mat,
           z=lambda px, py: base + r * 1.2 * math.sqrt(max(0.0, 1 - (d(px, py) / r) ** 2)))


def thrown_rider():
    """The rider flat on the road ahead, the bike on its side behind."""
    m = Model(32, 64)
    # legs, then arms, then the body and the helmet over them
    limb(m, 17, 20, 9, 29, 1.8, "leather", 3.0)
    limb(m, 18, 20, 25, 28, 1.8, "leather", 3.0)
    for bx, by in ((8.5, 30), (25.5, 29)):
        m.fill(in_ellipse(bx, by, 1.8, 1.8), "ink", z=5.0)
    limb(m, 11, 8, 3.5, 14, 1.4, "leather", 3.0)
    limb(m, 14, 7, 22, 3.5, 1.4, "leather", 3.0)
    for gx, gy in ((3, 15), (23, 3)):
        m.fill(in_ellipse(gx, gy, 1.4, 1.4), "white", z=4.0, nudge=-1)
    body = capsule(12, 9, 17, 19, 3.8)
    m.fill(lambda px, py: body(px, py) < 3.8, "leather",
           z=lambda px, py: 4.0 + 3.0 * math.sqrt(max(0.0, 1 - (body(px, py) / 3.8) ** 2)))
    stripe = capsule(12, 9, 17, 19, 1)
    m.fill(lambda px, py: stripe(px, py) < 0.8 and body(px, py) < 3.8, "white", z=6.5, nudge=-1)
    m.fill(in_ellipse(10.5, 6.0, 3.8, 3.8), "white",
           z=lambda px, py: 6 + 4 * math.sqrt(max(0, 1 - ((px - 10.5) / 3.8) ** 2 -
                                                  ((py - 6) / 3.8) ** 2)))
    for y in range(2, 10):
        for x in range(6, 10):
            if m.mat[y][x] == "white" and (x - 9) + (y - 4) < -1:
                m.mat[y][x] = "glass"
    m.fill(lambda px, py: abs((px - 10.5) - (py - 6.0)) < 0.7 and
           in_ellipse(10.5, 6.0, 3.8, 3.8)(px, py) and px > 9, "vermil", z=8.0)
    # bike on its side: two wheels seen flat, frame, tank and seat between
    for wx, wy in ((22, 39), (10, 56)):
        m.fill(lambda px, py, wx=wx, wy=wy: math.hypot(px - wx, py - wy) < 6.0, "tyre", z=4.0)
        m.fill(lambda px, py, wx=wx, wy=wy: math.hypot(px - wx, py - wy) < 3.8, "chrome",
               z=4.6, nudge=lambda px, py, wx=wx, wy=wy: -1 if math.hypot(px - wx, py - wy) > 2.6
               else 1)
        m.fill(lambda px, py, wx=wx, wy=wy: math.hypot(px - wx, py - wy) < 1.3, "trim", z=5.0)
    m.fill(in_poly([(22, 39), (24, 41), (12, 57), (9, 55)]), "trim", z=5.0)
    m.fill(in_poly([(14, 43), (22, 45), (18, 51), (11, 49)]), "vermil",
           z=lambda px, py: 6.0 + 1.5 * (1 - abs(px + py - 62) / 8))
    m.fill(in_poly([(9, 49), (13, 51), (7, 55), (4, 53)]), "leather", z=6.0)
    m.fill(in_rrect(17, 52, 26, 55, 1), "chrome", z=5.0)
    for x, y in line_pixels(23, 37, 27, 32):
        m.put(x, y, "chrome", 5.0, 0)
    m.put(27, 31, "trim", 5.0, 0)
    m.fill(in_ellipse(25.5, 34.5, 1.6, 1.2), "head", z=5.0)
    # scrape marks on the road behind it
    for x, y in line_pixels(3, 62, 6, 60) + line_pixels(16, 63, 19, 61):
        m.put(x, y, "tyre", 0.3, 1)
    return m


# ---------------------------------------------------------------- turn signal arrows, brake lights

def arrow_left():
    m = Model(32, 32)
    shape = in_poly([(1, 5.5), (8, 0), (8, 3), (16, 3), (16, 8), (8, 8), (8, 11)])
    m.fill(shape, "indic", z=1.0, nudge=-2)
    inner = in_poly([(2.8, 5.5), (7, 2.2), (7, 4), (15, 4), (15, 7), (7, 7), (7, 8.8)])
    m.fill(inner, "indic", z=1.0,
           nudge=lambda px, py: 1 if py < 5 else 0)
    m.put(8, 4, "indic", 1.0, 1)
    m.put(12, 4, "indic", 1.0, 1)
    return light_model(m, shadow=0, flat=True)


def brake_bar():
    m = Model(32, 32)
    m.fill(in_rrect(0, 0, 32, 4, 1.5), "tail", z=1.0, nudge=-1)
    m.fill(in_rect(1, 1, 31, 3), "tail", z=1.0, nudge=1)
    m.fill(in_rect(3, 1, 29, 2), "tail", z=1.0, nudge=2)
    return light_model(m, shadow=0, flat=True)


# ---------------------------------------------------------------- turning vehicles round

def facing_down(model, top=1, length=92):
    """The same vehicle turned the other way, its top again at row `top`."""
    turned = model.turned()
    dy = top - (model.h - top - length)
    return turned.shifted(model.w, model.h, 0, dy)


def broadside(model, leftwards=False):
    """A nose-up car laid on its side for the cross traffic: 96 x 64, its top at row 1."""
    side = model.quarter_right().shifted(96, 64, -1, -6)
    return side.mirrored() if leftwards else side


def icon_spring(m, mat, sh):
    for i in range(5):
        x0 = 5 + i * 4
        for x, y in line_pixels(x0, 13, x0 + 2, 4) + line_pixels(x0 + 2, 4, x0 + 4, 13):
            m.put(x, y, mat, None, sh)
    for x in range(3, 8):
        m.put(x, 13, mat, None, sh)
    for x in range(23, 28):
        m.put(x, 13, mat, None, sh)


# ---------------------------------------------------------------- the sheet

def vehicle_pair(build, length, top=1):
    m = build()
    return light_model(m, shadow=3), light_model(facing_down(m, top, length), shadow=3)


def sprite_list():
    """(column, row, picture) for every sprite, the picture sized in whole cells."""
    out = []

    def pair(build, col, row, length):
        up, down = vehicle_pair(build, length)
        out.append((col, row, up))
        out.append((col + 2, row, down))

    pair(saloon_navy, 0, 0, 92)            # 1, 2 (and 0, the corner of 2)
    pair(hatch_red, 4, 0, 92)              # 3, 4
    out.append((14, 0, marker("navy")))    # 5
    out.append((14, 1, marker("olive")))   # 6
    out.append((14, 2, marker("crimson")))  # 7
    pair(wagon_white, 0, 3, 92)            # 8, 9
    pair(roadster_red, 4, 3, 84)           # 10, 11
    pair(saloon_crimson, 0, 6, 91)         # 12, 13
    out.append((4, 6, light_model(rival_purple(), shadow=3)))     # 14
    out.append((6, 6, light_model(racer_red(), shadow=3)))        # 15
    pair(kei_pickup, 0, 9, 82)             # 16, 17
    pair(kei_covered, 4, 9, 82)            # 18, 19
    lorry_m = lorry()
    out.append((8, 0, light_model(lorry_m, shadow=4)))            # 20
    out.append((10, 0, light_model(facing_down(lorry_m, 1, 126), shadow=4)))   # 21
    out.append((12, 0, light_model(limo_bluegrey(), shadow=3)))  # 22
    pair(coupe_bluegrey, 8, 4, 86)         # 23, 24
    out.append((14, 3, signal_head(2)))    # 25 red
    out.append((14, 4, signal_head(0)))    # 26 green
    out.append((14, 5, signal_head(1)))    # 27 yellow
    out.append((14, 6, boulder([(30, 30, 24, 21, 17)], "stone", 11)))                    # 28
    out.append((14, 8, boulder([(24, 27, 18, 17, 15), (42, 38, 15, 13, 11)], "sand", 23)))  # 29
    out.append((14, 10, boulder([(22, 20, 15, 13, 13), (44, 25, 13, 12, 11),
                                 (30, 43, 14, 12, 12)], "stone", 37)))                     # 30
    out.append((14, 12, spilled_load()))   # 31
    cross = ((0, wagon_white(51)), (3, rival_purple(51)), (6, saloon_beige(51)))
    for col, model in cross:               # 32..37
        out.append((col, 12, light_model(broadside(model), shadow=3)))
        out.append((col, 14, light_model(broadside(model, leftwards=True), shadow=3)))
    for f in range(4):                     # 38..41
        out.append((12, 4 + 2 * f, debris(f)))
    out.append((8, 7, label_good("FUEL", "steal", icon_pump)))                         # 42
    out.append((9, 7, label_time()))                                                   # 43
    out.append((10, 7, label_good("TURBO", "sblue", icon_fast)))                       # 44
    out.append((11, 7, label_good("BRK", "sred", icon_disc)))                          # 45
    out.append((8, 8, label_sus()))                                                    # 46
    out.append((9, 8, label_good("SPEED", "sblue", icon_lines)))                       # 47
    out.append((10, 8, label_bad("TURBO", "sgold", icon_fast)))                        # 48
    out.append((11, 8, label_bad("BRK", "sltblue", icon_disc)))                        # 49
    out.append((8, 9, label_bad("SUS", "paper", icon_spring, stripe="sgrey")))         # 50
    out.append((9, 9, label_bad("SPEED", "sgrey", icon_lines)))                        # 51
    out.append((8, 10, light_model(motorbike(), shadow=2)))                            # 52
    out.append((9, 10, light_model(thrown_rider(), shadow=2)))                         # 53
    left = arrow_left()
    out.append((10, 9, left))                                                          # 54
    out.append((11, 9, [row[::-1] for row in left]))                                   # 55
    out.append((10, 10, brake_bar()))                                                  # 56
    return out


def build_sheet():
    sheet = [[None] * SHEET for _ in range(SHEET)]
    taken = set()
    for col, row, pic in sprite_list():
        h, w = len(pic), len(pic[0])
        assert w % CELL == 0 and h % CELL == 0, (col, row, w, h)
        for cy in range(row, row + h // CELL):
            for cx in range(col, col + w // CELL):
                assert (cx, cy) not in taken, ("cell drawn twice", cx, cy)
                taken.add((cx, cy))
        for y in range(h):
            for x in range(w):
                sheet[row * CELL + y][col * CELL + x] = pic[y][x]
    return sheet


def split(sheet):
    rgb = [[CLEAR if p is None else p for p in row] for row in sheet]
    mask = [[0 if p is None else 1 for p in row] for row in sheet]
    # the masked blit relies on this pairing: transparent is pure white, paint never is
    for y in range(SHEET):
        for x in range(SHEET):
            if mask[y][x]:
                assert rgb[y][x] != CLEAR, (x, y)
            else:
                assert rgb[y][x] == CLEAR, (x, y)
    return rgb, mask


def previews(rgb, mask, folder):
    os.makedirs(folder, exist_ok=True)
    pnglib.write_rgb(os.path.join(folder, "sprites_1x.png"), rgb)
    pnglib.write_rgb(os.path.join(folder, "sprites_2x.png"), pnglib.scale(rgb, 2))
    # over the road: asphalt grey with a dashed lane line, as the player will see them
    road = []
    for y in range(SHEET):
        row = []
        for x in range(SHEET):
            g = 104 + ((x * 7 + y * 13) % 5) - 2
            c = (g, g + 1, g + 5)
            if x % 64 in (0, 1) and (y // 24) % 2 == 0:
                c = (226, 224, 214)
            row.append(rgb[y][x] if mask[y][x] else c)
        road.append(row)
    pnglib.write_rgb(os.path.join(folder, "sprites_road_1x.png"), road)
    pnglib.write_rgb(os.path.join(folder, "sprites_road_2x.png"), pnglib.scale(road, 2))
    for name, (x0, y0, x1, y1) in {"cars": (0, 0, 256, 384), "big": (256, 0, 512, 224),
                                   "small": (256, 192, 512, 384),
                                   "cross": (0, 384, 320, 512)}.items():
        part = [r[x0:x1] for r in road[y0:y1]]
        pnglib.write_rgb(os.path.join(folder, "road_%s_3x.png" % name), pnglib.scale(part, 3))


def main():
    sheet = build_sheet()
    rgb, mask = split(sheet)
    os.makedirs(ASSETS, exist_ok=True)
    pnglib.write_rgb(os.path.join(ASSETS, "sprites.png"), rgb)
    pnglib.write_mask(os.path.join(ASSETS, "sprites_mask.png"), mask)
    if "--preview" in sys.argv:
        previews(rgb, mask, sys.argv[sys.argv.index("--preview") + 1])


if __name__ == "__main__":
    main()
