#!/usr/bin/env python3
"""Draws the road tile sheet assets/road_tiles.png.

The sheet is 256 x 512 pixels: 8 columns x 16 rows of 32 x 32 cells, tile id t at
column t % 8, row t // 8. Everything is drawn here from code (standard library only),
so the look can be tuned and the sheet rebuilt at any time:

    python3 tools/gen_road_tiles.py [output.png]

Ground rules the road relies on:
  * Road surface, pavement and grass are 32-periodic textures sampled at (x % 32, y % 32),
    so any tile that shows them joins any other tile that shows them, in every direction.
  * Markings and features that span several cells (the painted 50, arrows, diagonal
    kerbs, decorations, buildings) are drawn on one larger canvas and cut into cells.
  * Light comes from the top-left: raised edges facing up/left are lit, faces turned
    down/right are dark, and solid things cast a short shadow to the bottom-right.
  * All random detail comes from fixed seeds, so the output is the same on every run.
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pnglib  # noqa: E402

T = 32  # cell size

# ---------------------------------------------------------------------------
# Palette: a handful of ramps, dark to light. Every pixel of the sheet is one of these.
# ---------------------------------------------------------------------------
PAL = {
    # asphalt (its lightest grains are concrete c1; a3 doubles as shadow on pavement)
    'a0': (48, 50, 55), 'a1': (64, 66, 71), 'a2': (80, 82, 87), 'a3': (95, 97, 102),
    # concrete: pavement slabs, kerbs, parapets (the kerb's lit edge uses the paint white)
    'c1': (122, 121, 116), 'c2': (146, 145, 139), 'c3': (168, 167, 160),
    'c4': (190, 189, 181), 'c5': (212, 211, 203),
    # road paint
    'p1': (240, 236, 220),
    'o0': (172, 90, 32), 'o1': (222, 124, 38), 'o2': (246, 160, 62),
    # greens: grass, bushes, trees
    'g0': (26, 46, 30), 'g1': (38, 68, 38), 'g2': (54, 92, 46), 'g3': (72, 116, 54),
    'g4': (98, 142, 66), 'g5': (136, 172, 86),
    # earth and stone
    'e0': (46, 40, 34), 'e1': (70, 62, 52), 'e2': (96, 86, 72), 'e3': (124, 112, 96),
    'e4': (154, 142, 122),
    # water
    'b1': (36, 70, 124), 'b2': (56, 102, 160), 'b3': (104, 150, 200),
    'b4': (178, 212, 236),
    # flowers
    'r0': (110, 26, 32), 'r1': (178, 38, 42), 'r2': (226, 76, 64),
    'k0': (156, 64, 108), 'k1': (212, 112, 156), 'k2': (244, 174, 204),
    'y0': (166, 126, 24), 'y1': (228, 188, 42), 'y2': (250, 228, 100),
    # flat roof membrane (shadows on it are a1)
    'm1': (74, 86, 100), 'm2': (96, 110, 124), 'm3': (122, 136, 148),
    # roof tiles
    't0': (84, 36, 28), 't1': (122, 52, 36), 't2': (156, 72, 46), 't3': (188, 100, 62),
    't4': (218, 138, 90),
}

LIGHT = (-math.sqrt(0.5), -math.sqrt(0.5))  # direction towards the light, screen coords


def h01(x, y, salt=0):
    """Deterministic hash of integer coordinates to [0, 1)."""
    n = ((x * 73856093) ^ (y * 19349663) ^ (salt * 83492791)) & 0xFFFFFFFF
    n = ((n ^ (n >> 13)) * 1274126177) & 0xFFFFFFFF
    n ^= n >> 16
    n = (n * 2246822519) & 0xFFFFFFFF
    n ^= n >> 13
    return n / 4294967296.0


class Img:
    """A small picture of palette names."""

    def __init__(self, w, h, fill='a2'):
        self.w, self.h = w, h
        self.p = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.p[y][x] = c

    def get(self, x, y):
        return self.p[y][x]

    def wset(self, x, y, c):
        """Set with wrap-around (for toroidal textures)."""
        self.p[y % self.h][x % self.w] = c

    def wget(self, x, y):
        return self.p[y % self.h][x % self.w]

    def crop(self, x0, y0, w=T, h=T):
        out = Img(w, h)
        for y in range(h):
            out.p[y] = self.p[y0 + y][x0:x0 + w]
        return out

    def paste(self, src, x0, y0):
        for y in range(src.h):
            for x in range(src.w):
                self.set(x0 + x, y0 + y, src.p[y][x])

    def fill_fn(self, fn):
        for y in range(self.h):
            for x in range(self.w):
                self.p[y][x] = fn(x, y)
        return self


# ---------------------------------------------------------------------------
# 32-periodic ground textures
# ---------------------------------------------------------------------------
def _smooth_noise(rng, n=T, passes=1):
    raw = [[rng.random() for _ in range(n)] for _ in range(n)]
    for _ in range(passes):
        raw = [[sum(raw[(y + j) % n][(x + i) % n] for i in (-1, 0, 1) for j in (-1, 0, 1)) / 9.0
                for x in range(n)] for y in range(n)]
    return raw


def make_asphalt():
    """Fine speckle of aggregate on a mid-grey binder; no blotches, so the 32-pixel repeat
    does not show."""
    rng = random.Random(19970401)
    tab = [[None] * T for _ in range(T)]
    for y in range(T):
        for x in range(T):
            r = rng.random()
            if r < 0.015:
                c = 'a0'
            elif r < 0.12:
                c = 'a1'
            elif r < 0.82:
                c = 'a2'
            elif r < 0.985:
                c = 'a3'
            else:
                c = 'c1'
            tab[y][x] = c
    return tab


def make_pavement():
    """Light concrete slabs, 16 x 16, joints on the 16-pixel grid (so the cell edges are joints)."""
    rng = random.Random(5150)
    tab = [[None] * T for _ in range(T)]
    for y in range(T):
        for x in range(T):
            sx, sy = x % 16, y % 16
            slab = (x // 16) + 2 * (y // 16)
            r = rng.random()
            if sx == 0 or sy == 0:
                c = 'c2' if r < 0.75 else 'c1'
            elif sx == 1 or sy == 1:
                c = 'c4' if r < 0.5 else 'c3'
            else:
                darker = slab in (1, 2)
                if r < (0.20 if darker else 0.09):
                    c = 'c2'
                elif r > (0.96 if darker else 0.92):
                    c = 'c4'
                else:
                    c = 'c3'
            tab[y][x] = c
    return tab


def make_grass():
    rng = random.Random(8080)
    tab = [[None] * T for _ in range(T)]
    for y in range(T):
        for x in range(T):
            r = rng.random()
            tab[y][x] = 'g2' if r < 0.16 else ('g4' if r > 0.86 else 'g3')
    # darker tufts: little fans of blades with a lit tip
    for _ in range(7):
        cx, cy = rng.randrange(T), rng.randrange(T)
        for dx, dy, c in ((0, 0, 'g1'), (-1, 0, 'g2'), (1, 0, 'g2'), (0, -1, 'g1'), (-1, -1, 'g2'),
                          (1, -1, 'g2'), (0, -2, 'g2'), (-2, -1, 'g2'), (2, -2, 'g2'),
                          (0, -3, 'g4'), (-2, -2, 'g4'), (2, -3, 'g4'), (1, 1, 'g1'), (0, 1, 'g1')):
            tab[(cy + dy) % T][(cx + dx) % T] = c
    return tab


ASPHALT = make_asphalt()
PAVEMENT = make_pavement()
GRASS = make_grass()


def road(x, y):
    return ASPHALT[y % T][x % T]


def pave(x, y):
    return PAVEMENT[y % T][x % T]


def grass(x, y):
    return GRASS[y % T][x % T]


# ---------------------------------------------------------------------------
# Paint
# ---------------------------------------------------------------------------
def paint_colour(x, y, kind, salt=0):
    h = h01(x, y, 77 + salt)
    if kind == 'w':
        if h < 0.09:
            return 'c4'
        if h < 0.11:
            return 'c3'
        return 'p1'
    if h < 0.10:
        return 'o0'
    if h > 0.94:
        return 'o2'
    return 'o1'


def paint(img, inside, kind='w', salt=0):
    for y in range(img.h):
        for x in range(img.w):
            if inside(x + 0.5, y + 0.5):
                img.set(x, y, paint_colour(x, y, kind, salt))


def road_img(w=T, h=T):
    return Img(w, h).fill_fn(road)


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def seg_dist(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    ll = vx * vx + vy * vy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / ll))
    dx, dy = px - (ax + t * vx), py - (ay + t * vy)
    return math.hypot(dx, dy)


def poly_dist(px, py, pts):
    return min(seg_dist(px, py, *pts[i], *pts[i + 1]) for i in range(len(pts) - 1))


def stroke(pts, half):
    return lambda x, y: poly_dist(x, y, pts) <= half


def in_poly(px, py, pts):
    inside = False
    n = len(pts)
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % n]
        if (ay > py) != (by > py):
            if px < ax + (py - ay) * (bx - ax) / (by - ay):
                inside = not inside
    return inside


def poly(pts):
    return lambda x, y: in_poly(x, y, pts)


def union(*fs):
    return lambda x, y: any(f(x, y) for f in fs)


def arc_pts(cx, cy, rx, ry, a0, a1, n=24):
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


def arrow_head(tip, direction, length, half_w):
    dx, dy = direction
    l = math.hypot(dx, dy)
    dx, dy = dx / l, dy / l
    bx, by = tip[0] - dx * length, tip[1] - dy * length
    return [tip, (bx - dy * half_w, by + dx * half_w), (bx + dy * half_w, by - dx * half_w)]


LINE_X0, LINE_X1 = 14, 18       # lane line across a cell: x 14..17
BAR_Y0, BAR_Y1 = 10, 22         # transverse bar (stop line, crossing rung): y 10..21


# ---------------------------------------------------------------------------
# Kerbs: one renderer for the straight, corner and diagonal pieces.
# d = distance from the kerb face into the raised block, n = face normal (towards the road).
# ---------------------------------------------------------------------------
KERB_W = 8
KERB_R = 10      # rounding of the outer block corners
DIAG_BOTH_ENDS = False
KERB_BLEND = 16.0  # pixels along a diagonal kerb over which it turns into the straight one

ORANGE_KERB = {'p1': 'o2', 'c5': 'o1', 'c4': 'o1', 'c3': 'o1', 'c2': 'o0', 'c1': 'o0'}


def kerb_colour(d, n, x, y, fill, along=None, orange=False):
    """Colour of a pixel at distance d from a kerb face with outward normal n.

    Across the kerb, from the road: the face (lit when it looks up/left, dark otherwise),
    three or four pixels of bright kerb top, then its inner edge (lit or shaded the other
    way round), then the fill (pavement or grass)."""
    if d < 0:
        return road(x, y)
    if d >= KERB_W:
        return fill(x, y)
    s = n[0] * LIGHT[0] + n[1] * LIGHT[1]
    lit, dark = s > 0.25, s < -0.25
    if d < 1:
        c = 'p1' if lit else ('c1' if dark else 'c3')
    elif d < 2:
        c = 'c2' if dark else 'c5'
    elif d < KERB_W - 2:
        c = 'c5'
        if along is not None and along % 16 == 0:
            c = 'c3'
        elif h01(x, y, 5) < 0.12:
            c = 'c4'
    elif d < KERB_W - 1:
        c = 'p1' if -s > 0.25 else ('c1' if -s < -0.25 else 'c4')
    else:
        c = 'c2' if -s > -0.25 else 'c3'   # joint between kerb and pavement
    if orange:
        if 2 <= d < KERB_W - 1 and h01(x, y, 9) < 0.07:
            return 'c4'  # a scuffed spot shows the concrete
        c = ORANGE_KERB.get(c, c)
    return c


def block_geom(faces, px, py):
    """Signed distance into a kerbed block whose open sides are `faces`."""
    R = KERB_R
    horiz = 'left' if 'left' in faces else ('right' if 'right' in faces else None)
    vert = 'top' if 'top' in faces else ('bottom' if 'bottom' in faces else None)
    if horiz and vert:
        cx = R if horiz == 'left' else T - R
        cy = R if vert == 'top' else T - R
        inx = px < cx if horiz == 'left' else px > cx
        iny = py < cy if vert == 'top' else py > cy
        if inx and iny:
            dx, dy = px - cx, py - cy
            r = math.hypot(dx, dy)
            return R - r, (dx / r, dy / r), None
    cands = []
    ix, iy = int(px), int(py)
    if 'top' in faces:
        cands.append((py, (0.0, -1.0), ix))
    if 'bottom' in faces:
        cands.append((T - py, (0.0, 1.0), ix))
    if 'left' in faces:
        cands.append((px, (-1.0, 0.0), iy))
    if 'right' in faces:
        cands.append((T - px, (1.0, 0.0), iy))
    if not cands:
        return 99.0, (0.0, -1.0), None
    return min(cands, key=lambda c: c[0])


BLOCK_FACES = {
    0: ('top', 'left'), 1: ('top',), 2: ('top', 'right'),
    8: ('left',), 9: (), 10: ('right',),
    16: ('bottom', 'left'), 17: ('bottom',), 18: ('bottom', 'right'),
}


def block_tile(faces, fill, orange=False):
    img = Img(T, T)
    for y in range(T):
        for x in range(T):
            d, n, along = block_geom(faces, x + 0.5, y + 0.5)
            img.p[y][x] = kerb_colour(d, n, x, y, fill, along, orange)
    return img


def diag_stack(a, b, q, fill=pave, both_ends=DIAG_BOTH_ENDS):
    """32 x 64 picture of a diagonal kerb (upper cell over lower cell), face from a on the
    bottom edge to b on the top edge; q is a point on the pavement side.

    The face runs exactly corner to corner: that is the only line that meets the straight
    kerb of the cell above or below without a step, and the only way through the corner
    points where one diagonal column hands over to the next (plain pavement on one side of
    that point, plain road on the other). At the corner where the pavement side leaves the
    column the raised band cannot keep its width, so it narrows smoothly into that corner,
    with its face, top and inner edge all drawn in the narrower band, instead of being cut
    off along the column edge."""
    ax, ay = a
    bx, by = b
    ux, uy = bx - ax, by - ay
    l = math.hypot(ux, uy)
    ux, uy = ux / l, uy / l
    nx, ny = uy, -ux
    if (q[0] - ax) * nx + (q[1] - ay) * ny > 0:
        nx, ny = -nx, -ny

    def room(s):
        """How far the band can reach into the pavement from the face point at s."""
        fx = ax + ux * s
        if nx > 0:
            return fx / nx
        return (T - fx) / -nx

    # At the other end the pavement side stays in the column and the straight kerb of the
    # cell above or below carries on from the corner. A slanted band is wider across than
    # the straight one (KERB_W / cos), so near that end the band is measured across (as the
    # straight kerb is) instead of square to the face, fading over KERB_BLEND pixels: at
    # the cell edge the face, top, inner edge and joint fall on the straight kerb's columns.
    full_end = None if both_ends else (l if room(l) >= KERB_W else 0.0)
    slope = (bx - ax) / (by - ay)      # face x per pixel of y
    across = -1.0 if nx > 0 else 1.0   # pavement side, measured along x

    img = Img(T, 2 * T)
    for y in range(2 * T):
        for x in range(T):
            px, py = x + 0.5, y + 0.5
            d = -((px - ax) * nx + (py - ay) * ny)
            s = min(max((px - ax) * ux + (py - ay) * uy, 0.0), l)
            if full_end is not None:
                t = 1.0 - abs(full_end - s) / KERB_BLEND
                if t > 0:
                    dx = (px - (ax + (py - ay) * slope)) * across
                    d = d * (1 - t) + dx * t
            w = min(KERB_W, room(s))
            if both_ends:
                w = min(w, room(l - s))
            w = max(w, 2.5)
            if 2 <= d < KERB_W and w < KERB_W:
                # the face keeps its two pixels; the top and inner edge squeeze in behind
                d = 2 + (d - 2) * (KERB_W - 2) / (w - 2) if d < w else KERB_W
            img.p[y][x] = kerb_colour(d, (nx, ny), x, y, fill)
    return img


# ---------------------------------------------------------------------------
# Small pixel font for numbers (3 x 5)
# ---------------------------------------------------------------------------
FONT = {
    '0': ('111', '101', '101', '101', '111'), '1': ('010', '110', '010', '010', '111'),
    '2': ('111', '001', '111', '100', '111'), '3': ('111', '001', '011', '001', '111'),
    '4': ('101', '101', '111', '001', '001'), '5': ('111', '100', '111', '001', '111'),
    '6': ('111', '100', '111', '101', '111'), '7': ('111', '001', '010', '010', '010'),
    '8': ('111', '101', '111', '101', '111'), '9': ('111', '101', '111', '001', '111'),
}


def draw_text(img, text, x0, y0, colour, scale=1):
    for i, ch in enumerate(text):
        rows = FONT[ch]
        for ry, row in enumerate(rows):
            for rx, bit in enumerate(row):
                if bit == '1':
                    for sy in range(scale):
                        for sx in range(scale):
                            img.set(x0 + (i * 4 + rx) * scale + sx, y0 + ry * scale + sy, colour)


def text_width(text, scale=1):
    return (len(text) * 4 - 1) * scale


# ---------------------------------------------------------------------------
# Individual markings
# ---------------------------------------------------------------------------
DASH_Y0, DASH_Y1 = 8, 24          # white lane dash: y 8..23, centred in its cell


def t_lane_line(kind):
    """Lane line piece, centred in the cell. The white lane line is dashed, one dash per
    tile: the course lays it in every row, so a dash of half the cell height, centred,
    gives an even 16-on, 16-off line. The orange no-overtaking line runs the full height
    and joins up solid."""
    img = road_img()
    if kind == 'w':
        paint(img, rect(LINE_X0, DASH_Y0, LINE_X1, DASH_Y1), kind)
    else:
        paint(img, rect(LINE_X0, 0, LINE_X1, T), kind)
    return img


def t_line_branch():
    img = road_img()
    paint(img, union(rect(LINE_X0, 0, LINE_X1, T),
                     stroke([(16, 24), (28.5, 4)], 2.1)), 'w')
    return img


def t_short_bar():
    img = road_img()
    paint(img, rect(8, 14, 24, 18), 'w')
    return img


def t_corner(right):
    img = road_img()
    if right:
        shape = union(rect(LINE_X0, LINE_X0, LINE_X1, T), rect(LINE_X0, LINE_X0, T, LINE_X1))
    else:
        shape = union(rect(LINE_X0, LINE_X0, LINE_X1, T), rect(0, LINE_X0, LINE_X1, LINE_X1))
    paint(img, shape, 'w')
    return img


def t_zebra():
    img = road_img()
    paint(img, rect(8, 0, 24, T), 'w')
    return img


def t_bar(stem=None, stem_kind='w'):
    img = road_img()
    paint(img, rect(0, BAR_Y0, T, BAR_Y1), 'w')
    if stem == 'down':
        paint(img, rect(LINE_X0, BAR_Y1, LINE_X1, T), stem_kind, salt=3)
    elif stem == 'up':
        paint(img, rect(LINE_X0, 0, LINE_X1, BAR_Y0), stem_kind, salt=3)
    return img


def t_yellow_square():
    img = road_img()
    for y in range(5, 27):
        for x in range(5, 27):
            edge_tl = x == 5 or y == 5
            edge_br = x == 26 or y == 26
            c = 'y2' if edge_tl else ('y0' if edge_br else 'y1')
            img.set(x, y, c)
    draw_text(img, '0', 16 - 3, 16 - 5, 'a0', scale=2)
    return img


def t_number(num):
    img = Img(T, T, 'a0')
    for i in range(T):
        for c in ((i, 0), (i, T - 1), (0, i), (T - 1, i)):
            img.set(c[0], c[1], 'a2')
    text = str(num)
    draw_text(img, text, (T - text_width(text, 2)) // 2, 11, 'p1', scale=2)
    return img


def t_boards_single():
    img = Img(T, T).fill_fn(pave)
    x0, y0, x1, y1 = 4, 6, 26, 25
    for y in range(y0 + 3, y1 + 3):
        for x in range(x0 + 3, x1 + 3):
            if not (x0 <= x < x1 and y0 <= y < y1):
                img.set(x, y, 'a3')
    for y in range(y0, y1):
        for x in range(x0, x1):
            k = (y - y0) % 5
            if k == 4:
                c = 'a1'
            elif k == 0:
                c = 'c3'
            else:
                c = 'c2' if h01(x, y, 41) > 0.2 else 'c1'
            if x == x0:
                c = 'c4' if k != 4 else 'a1'
            if x == x1 - 1:
                c = 'a2' if k != 4 else 'a1'
            img.set(x, y, c)
    return img


def t_stone():
    img = Img(T, T).fill_fn(pave)
    cx, cy, rx, ry = 15, 15, 11, 9
    for y in range(T):
        for x in range(T):
            px, py = x + 0.5, y + 0.5
            if ((px - cx - 3) / rx) ** 2 + ((py - cy - 3) / ry) ** 2 <= 1:
                img.set(x, y, 'a3')
    for y in range(T):
        for x in range(T):
            px, py = x + 0.5, y + 0.5
            u, v = (px - cx) / rx, (py - cy) / ry
            q = u * u + v * v
            if q <= 1:
                nz = math.sqrt(max(0.0, 1 - q))
                b = -0.55 * u - 0.6 * v + 0.6 * nz + (h01(x, y, 42) - 0.5) * 0.25
                c = 'c5' if b > 0.75 else 'c3' if b > 0.4 else 'c2' if b > 0.05 else 'c1'
                if q > 0.8 and u + v > 0.3:
                    c = 'a2'
                img.set(x, y, c)
    return img


def canopy(img, cx, cy, r, ramp, salt, wrap=True, outline='g0'):
    """A round, lumpy, lit-from-top-left canopy (bush or tree)."""
    ph = h01(int(cx), int(cy), salt) * 6.28
    for y in range(int(cy - r - 3), int(cy + r + 4)):
        for x in range(int(cx - r - 3), int(cx + r + 4)):
            px, py = x + 0.5 - cx, y + 0.5 - cy
            dist = math.hypot(px, py)
            ang = math.atan2(py, px)
            rr = r * (1 + 0.07 * math.sin(ang * 7 + ph) + 0.04 * math.sin(ang * 11 + 2 * ph))
            if dist > rr:
                continue
            u, v = px / rr, py / rr
            nz = math.sqrt(max(0.0, 1 - u * u - v * v))
            b = -0.5 * u - 0.55 * v + 0.65 * nz
            # leafy clumps
            b += (h01(x // 2, y // 2, salt) - 0.5) * 0.35 + (h01(x, y, salt + 1) - 0.5) * 0.15
            if dist > rr - 1.2 and (u + v) > -0.2:
                c = outline
            else:
                idx = 0 if b < 0.05 else 1 if b < 0.35 else 2 if b < 0.62 else 3 if b < 0.85 else 4
                c = ramp[idx]
            if wrap:
                img.wset(x, y, c)
            else:
                img.set(x, y, c)


def shadow_disc(img, cx, cy, r, shade_fn, wrap=True):
    for y in range(int(cy - r - 2), int(cy + r + 3)):
        for x in range(int(cx - r - 2), int(cx + r + 3)):
            if math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r:
                if wrap:
                    img.wset(x, y, shade_fn(x, y))
                else:
                    img.set(x, y, shade_fn(x, y))


def grass_shadow(x, y):
    return 'g1' if h01(x, y, 3) > 0.15 else 'g2'


def t_bush():
    img = Img(T, T).fill_fn(grass)
    shadow_disc(img, 18.5, 18.5, 11, grass_shadow, wrap=False)
    canopy(img, 15, 15, 11, ('g1', 'g2', 'g3', 'g4', 'g5'), 44, wrap=False)
    return img


# ---------------------------------------------------------------------------
# Multi-cell markings
# ---------------------------------------------------------------------------
def g_fifty():
    """Painted 50, 64 x 64: returns the canvas."""
    img = road_img(64, 64)
    hw = 3.1
    five = union(
        stroke([(27, 7), (9, 7), (9, 29)], hw),
        stroke([(9, 29)] + arc_pts(17, 42, 11.5, 14, -125, 140, 40), hw),
    )
    zero = lambda x, y: abs(_stadium_dist(x, y, 47, 32, 9.5, 25)) <= hw  # noqa: E731
    paint(img, union(five, zero), 'w')
    return img


def _stadium_dist(px, py, cx, cy, rx, ry):
    # distance from the outline of a vertical capsule (half width rx, half height ry)
    top, bot = cy - ry + rx, cy + ry - rx
    if py < top:
        return math.hypot(px - cx, py - top) - rx
    if py > bot:
        return math.hypot(px - cx, py - bot) - rx
    return abs(px - cx) - rx


def g_straight_arrow():
    """30 31 over 38 39: head block (64 x 32) and shaft block (64 x 32)."""
    head = road_img(64, 32)
    shaft = road_img(64, 32)
    sx0, sx1 = 28, 36
    paint(head, union(poly([(32, 1), (50, 23), (14, 23)]), rect(sx0, 20, sx1, 32)), 'w')
    paint(shaft, rect(sx0, 0, sx1, 32), 'w')
    return head, shaft


def g_turn_heads():
    """32 and 33: a turn branch leaving the wide arrow shaft (38|39) to the left or right.
    The shaft itself runs on through the cell, so 32|39 under 30|31 is 'straight or left'."""
    left = road_img(64, 32)
    right = road_img(64, 32)
    sx0, sx1 = 28, 36
    paint(left, union(rect(sx0, 0, sx1, 32), rect(12, 12, sx0 + 1, 20),
                      poly([(1, 16), (14, 4), (14, 28)])), 'w')
    paint(right, union(rect(sx0, 0, sx1, 32), rect(sx1 - 1, 12, 52, 20),
                       poly([(63, 16), (50, 4), (50, 28)])), 'w')
    return left, right


def g_side_arrows():
    """Turn arrows drawn with a lane-line-thin shaft: the shaft is an ordinary lane line cell
    below; 25 bends it left into 28 (a left-pointing half diamond), 24 bends it right into 29
    (the right half). 28 beside 29 makes a whole diamond. Returns the 28|25 and 24|29 pairs."""
    yc, r = 12, 10
    hw = 2.0
    # right-hand version: curve in the left cell, head in the right cell
    rimg = road_img(64, 32)
    path = [(16, 33), (16, yc + r)] + arc_pts(16 + r, yc + r, r, r, 180, 270, 16) + [(32.5, yc)]
    paint(rimg, union(stroke(path, hw), rect(LINE_X0, yc + r, LINE_X1, 32),
                      poly([(32, yc - 11), (58, yc), (32, yc + 11)])), 'w')
    limg = road_img(64, 32)
    lpath = [(48, 33), (48, yc + r)] + arc_pts(48 - r, yc + r, r, r, 0, -90, 16) + [(31.5, yc)]
    paint(limg, union(stroke(lpath, hw), rect(32 + LINE_X0, yc + r, 32 + LINE_X1, 32),
                      poly([(32, yc - 11), (6, yc), (32, yc + 11)])), 'w')
    return limg, rimg


def g_merge_arrows():
    """18 over 26: 'lane ends, move right' arrow painted ahead of a narrowing (bending up and
    to the right); 19 over 27 is the same bending left. 32 x 64 each."""
    out = []
    for sign in (1, -1):
        img = road_img(32, 64)
        cx = 16 - sign * 3
        pts = [(cx, 60), (cx, 38), (cx + sign * 7, 16)]
        tip = (cx + sign * 11.5, 2)
        head = arrow_head(tip, (sign * 7, -22), 15, 8)
        paint(img, union(stroke(pts, 3.0), poly(head)), 'w')
        out.append(img)
    return out


# ---------------------------------------------------------------------------
# Decorations (64 x 64, seamless with themselves in both directions)
# ---------------------------------------------------------------------------
D = 64


def tor_points(rng, n, min_d):
    pts = []
    tries = 0
    while len(pts) < n and tries < 5000:
        tries += 1
        p = (rng.uniform(0, D), rng.uniform(0, D))
        ok = True
        for q in pts:
            dx = min(abs(p[0] - q[0]), D - abs(p[0] - q[0]))
            dy = min(abs(p[1] - q[1]), D - abs(p[1] - q[1]))
            if math.hypot(dx, dy) < min_d:
                ok = False
                break
        if ok:
            pts.append(p)
    return pts


def cell_points(rng, per_cell, r_lo, r_hi, min_gap):
    """Round things for a decoration, kept wholly inside their own cell: a decoration can
    stop at any cell edge (end of a run of pavement, start or end of the event), and a
    canopy or rock cut in half there would look broken. Returns (x, y, r) in block coords."""
    out = []
    for oy in (0, T):
        for ox in (0, T):
            placed = []
            tries = 0
            while len(placed) < per_cell and tries < 4000:
                tries += 1
                r = rng.uniform(r_lo, r_hi)
                m = r * 1.12 + 1
                x, y = rng.uniform(m, T - m), rng.uniform(m, T - m)
                if all(math.hypot(x - px, y - py) >= r + pr + min_gap for px, py, pr in placed):
                    placed.append((x, y, r))
            out += [(ox + x, oy + y, r) for x, y, r in placed]
    return out


def d_water():
    rng = random.Random(64)
    mott = _smooth_noise(rng, D, passes=3)
    lo = min(min(r) for r in mott)
    hi = max(max(r) for r in mott)
    img = Img(D, D)
    for y in range(D):
        for x in range(D):
            m = (mott[y][x] - lo) / (hi - lo)
            img.p[y][x] = 'b1' if m < 0.35 else 'b2'
    # ripples: short shallow arcs, lit on top, dark underneath
    for (cx, cy) in tor_points(rng, 16, 12):
        w = rng.randint(5, 9)
        for i in range(-w, w + 1):
            yy = int(cy + (i * i) / (w * 1.6))
            img.wset(int(cx) + i, yy, 'b3' if abs(i) < w - 1 else 'b2')
            if abs(i) < w - 2:
                img.wset(int(cx) + i, yy + 1, 'b1')
        img.wset(int(cx) - 1, int(cy), 'b4')
        img.wset(int(cx), int(cy), 'b4')
    for _ in range(10):
        img.wset(rng.randrange(D), rng.randrange(D), 'b4')
    return img


def d_flower_bed(petal, seed, leaf_bias=0.0):
    rng = random.Random(seed)
    img = Img(D, D)
    for y in range(D):
        for x in range(D):
            r = h01(x, y, seed)
            img.p[y][x] = 'g1' if r < 0.45 + leaf_bias else ('g2' if r < 0.85 else 'g0')
    # leafy mounds
    for (cx, cy) in tor_points(rng, 14, 14):
        rr = rng.uniform(6, 8.5)
        for y in range(int(cy - rr - 1), int(cy + rr + 2)):
            for x in range(int(cx - rr - 1), int(cx + rr + 2)):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                q = math.hypot(dx, dy) / rr
                if q <= 1:
                    b = -0.5 * dx / rr - 0.55 * dy / rr + 0.5 * math.sqrt(max(0, 1 - q * q))
                    b += (h01(x, y, seed + 2) - 0.5) * 0.4
                    img.wset(x, y, 'g1' if b < 0.05 else 'g2' if b < 0.4 else 'g3')
        # blossoms on the mound
        for _ in range(int(rr * 2.2)):
            a = rng.uniform(0, 6.28)
            d = rng.uniform(0, rr - 1.5)
            fx, fy = int(cx + math.cos(a) * d), int(cy + math.sin(a) * d)
            lit = (math.cos(a) + math.sin(a)) * d / rr < 0.1
            img.wset(fx, fy, petal[2] if lit else petal[1])
            img.wset(fx + 1, fy, petal[1])
            img.wset(fx, fy + 1, petal[1])
            img.wset(fx + 1, fy + 1, petal[0])
    return img


def d_shrubs():
    rng = random.Random(68)
    img = Img(D, D)
    for y in range(D):
        for x in range(D):
            img.p[y][x] = 'e1' if h01(x, y, 68) < 0.7 else 'e0'
    pts = cell_points(rng, 3, 5.5, 7.5, -2.5)
    for (cx, cy, r) in pts:
        shadow_disc(img, cx + 3, cy + 3, r, lambda x, y: 'g0')
    for i, (cx, cy, r) in enumerate(pts):
        canopy(img, cx, cy, r, ('g1', 'g2', 'g3', 'g4', 'g5'), 680 + i)
    return img


def d_scrub():
    """Dry ground with low bushes and tufts of green and straw-coloured grass."""
    rng = random.Random(70)
    img = Img(D, D)
    for y in range(D):
        for x in range(D):
            r = h01(x, y, 70)
            img.p[y][x] = 'e2' if r < 0.62 else ('e3' if r < 0.88 else 'e1')
    bushes = cell_points(rng, 2, 3.8, 5.2, 4)
    for (cx, cy, r) in bushes:
        shadow_disc(img, cx + 2, cy + 2, r, lambda x, y: 'e0')
    for i, (cx, cy, r) in enumerate(bushes):
        canopy(img, cx, cy, r, ('g0', 'g1', 'g2', 'g3', 'g4'), 700 + i, outline='g0')
    for (cx, cy) in tor_points(rng, 40, 6):
        if any(min(abs(cx - bx), D - abs(cx - bx)) < 6 and min(abs(cy - by), D - abs(cy - by)) < 6
               for bx, by, _ in bushes):
            continue
        size = rng.randint(2, 4)
        dry = rng.random() < 0.4
        for i in range(size * 3):
            a = rng.uniform(-2.7, -0.45)
            l = rng.uniform(1, size + 1)
            for k in range(int(l) + 1):
                x, y = int(cx + math.cos(a) * k), int(cy + math.sin(a) * k)
                if dry:
                    img.wset(x, y, 'e4' if k == int(l) else 'e3')
                else:
                    img.wset(x, y, 'g4' if k == int(l) else ('g2' if k > 0 else 'g1'))
        img.wset(int(cx) + 1, int(cy) + 1, 'e1')
    return img


def d_rocks():
    rng = random.Random(83)
    img = Img(D, D)
    for y in range(D):
        for x in range(D):
            r = h01(x, y, 83)
            img.p[y][x] = 'e2' if r < 0.55 else ('e1' if r < 0.8 else 'e3')
    pts = cell_points(rng, 2, 7.5, 9.5, -1.5)
    rocks = []
    for (cx, cy, r) in pts:
        rx, ry = r * 1.05, r * rng.uniform(0.7, 0.85)
        verts = []
        nv = 7
        for i in range(nv):
            a = 6.283 * i / nv + rng.uniform(-0.3, 0.3)
            k = rng.uniform(0.85, 1.0)
            verts.append((cx + math.cos(a) * rx * k, cy + math.sin(a) * ry * k))
        rocks.append((cx, cy, rx, ry, verts))
    for (cx, cy, rx, ry, verts) in rocks:
        sh = [(vx + 3, vy + 3) for vx, vy in verts]
        for y in range(int(cy - ry - 2), int(cy + ry + 6)):
            for x in range(int(cx - rx - 2), int(cx + rx + 6)):
                if in_poly(x + 0.5, y + 0.5, sh):
                    img.wset(x, y, 'e0')
    for (cx, cy, rx, ry, verts) in rocks:
        for y in range(int(cy - ry - 2), int(cy + ry + 3)):
            for x in range(int(cx - rx - 2), int(cx + rx + 3)):
                if in_poly(x + 0.5, y + 0.5, verts):
                    u, v = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                    b = -0.6 * u - 0.7 * v + (h01(x // 2, y // 2, 84) - 0.5) * 0.5
                    edge = not (in_poly(x + 1.5, y + 1.5, verts))
                    if edge:
                        c = 'e1'
                    else:
                        c = 'c4' if b > 0.6 else 'c3' if b > 0.15 else 'c2' if b > -0.35 else 'c1'
                    img.wset(x, y, c)
    return img


def d_trees():
    """Round canopies over a mossy, leaf-strewn floor, each with its shadow."""
    rng = random.Random(85)
    mott = _smooth_noise(rng, D, passes=3)
    lo = min(min(r) for r in mott)
    hi = max(max(r) for r in mott)
    img = Img(D, D)
    for y in range(D):
        for x in range(D):
            m = (mott[y][x] - lo) / (hi - lo)
            r = h01(x, y, 85)
            if m > 0.45:
                c = grass(x, y)
            else:
                c = 'e2' if r < 0.6 else ('e3' if r < 0.8 else 'e1')
            img.p[y][x] = c
    pts = cell_points(rng, 1, 11, 12.8, 0)
    for (cx, cy, r) in pts:
        shadow_disc(img, cx + 4, cy + 4, r, lambda x, y: 'g0' if h01(x, y, 4) > 0.25 else 'e0')
    for i, (cx, cy, r) in enumerate(pts):
        canopy(img, cx, cy, r, ('g1', 'g2', 'g3', 'g4', 'g5'), 850 + i)
    return img


def d_boards():
    """A board hoarding: panels of upright grey boards, each panel 48 pixels tall with a
    capping rail on top, standing on a strip of bare ground that takes its shadow (down
    and to the right, away from the light). Boards are 8 pixels wide: lit left edge, dark
    gap on the right, grain running along each board, two rows of nails where the rails
    behind hold them. Seamless with itself every 64 pixels both ways."""
    img = Img(D, D)
    top, foot = 2, 50            # boards stand from y 2 to 49; the cap rail covers y 0..2
    for y in range(D):
        for x in range(D):
            # ground between the panels: packed grey earth
            r = h01(x, y, 97)
            c = 'e3' if r < 0.3 else ('c1' if r < 0.85 else 'e2')
            img.p[y][x] = c
    for y in range(D):
        for x in range(D):
            sx, sy = x - 3, y
            # shadow of the panel on the ground below it, reaching 5 px down, 3 px right
            if foot <= y < foot + 5 and (x - 3) % D < D:
                img.p[y][x] = 'a2' if y < foot + 4 else 'a3'
            del sx, sy
    for y in range(0, foot):
        for x in range(D):
            board = x // 8
            k = x % 8
            shade = 'c2' if h01(board, 7, 99) < 0.5 else 'c3'
            r = h01(x, y, 99)
            grain = h01(x, y // 5 + board * 11, 98) < 0.25
            c = shade
            if grain:
                c = 'c1' if shade == 'c2' else 'c2'
            elif r < 0.05:
                c = 'c4'
            if k == 0:
                c = 'c4'                 # lit left edge of each board
            elif k == 6:
                c = 'c1'                 # its shaded right edge
            elif k == 7:
                c = 'a1'                 # gap between boards
            if y < top:
                c = 'c5' if y == 0 else 'c3'     # capping rail, lit on top
            elif y == top:
                c = 'a2'                         # its shadow on the boards
            elif y == foot - 1:
                c = 'c1'                         # board feet, in shade
            if y in (10, 40) and k in (2, 4):
                c = 'a0'                         # nail heads into the rails behind
            img.p[y][x] = c
    return img


def d_stony():
    rng = random.Random(115)
    img = Img(D, D)
    for y in range(D):
        for x in range(D):
            r = h01(x, y, 115)
            img.p[y][x] = 'e1' if r < 0.5 else ('e0' if r < 0.85 else 'e2')
    for (cx, cy) in tor_points(rng, 70, 5):
        rx, ry = rng.uniform(1.2, 2.6), rng.uniform(1.0, 2.0)
        for y in range(int(cy - ry - 1), int(cy + ry + 2)):
            for x in range(int(cx - rx - 1), int(cx + rx + 2)):
                u, v = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                if u * u + v * v <= 1:
                    c = 'e3' if (u + v) < -0.4 else ('e2' if (u + v) < 0.6 else 'e1')
                    img.wset(x, y, c)
        img.wset(int(cx + rx), int(cy + ry), 'e0')
    return img


def d_yellow_field():
    rng = random.Random(117)
    img = Img(D, D)
    for y in range(D):
        for x in range(D):
            r = h01(x, y, 117)
            img.p[y][x] = 'g3' if r < 0.5 else ('g2' if r < 0.8 else 'g4')
    for (cx, cy) in tor_points(rng, 150, 3.2):
        x, y = int(cx), int(cy)
        img.wset(x, y, 'y2')
        img.wset(x + 1, y, 'y1')
        img.wset(x, y + 1, 'y1')
        img.wset(x + 1, y + 1, 'y0')
    return img


# ---------------------------------------------------------------------------
# Buildings (96 x 96, standing on pavement, shadow to the bottom-right)
# ---------------------------------------------------------------------------
B = 96


def cast_shadow(img, inside, dx, dy):
    for y in range(B):
        for x in range(B):
            if not inside(x + 0.5, y + 0.5) and inside(x + 0.5 - dx, y + 0.5 - dy):
                img.set(x, y, 'a3')


def raised_box(img, x0, y0, x1, y1, top, lit='c5', dark='c1', shade='a1', sh=2):
    for y in range(y0 + sh, y1 + sh):
        for x in range(x0 + sh, x1 + sh):
            if not (x0 <= x < x1 and y0 <= y < y1):
                img.set(x, y, shade)
    for y in range(y0, y1):
        for x in range(x0, x1):
            c = top
            if x == x0 or y == y0:
                c = lit
            elif x == x1 - 1 or y == y1 - 1:
                c = dark
            img.set(x, y, c)


def building_flat():
    img = Img(B, B).fill_fn(pave)
    x0, y0, x1, y1 = 3, 4, 84, 85
    inside = rect(x0, y0, x1, y1)
    cast_shadow(img, inside, 6, 6)
    P = 4  # parapet width
    for y in range(y0, y1):
        for x in range(x0, x1):
            dl, dt, dr, db = x - x0, y - y0, x1 - 1 - x, y1 - 1 - y
            m = min(dl, dt, dr, db)
            if m < P:
                if m == 0:
                    c = 'c5' if (dl == 0 or dt == 0) and not (dr == 0 or db == 0) else 'c1'
                    if dl == 0 and db == 0 or dt == 0 and dr == 0:
                        c = 'c3'
                elif m == P - 1:
                    # inner face of the parapet: lit where it faces up/left
                    c = 'c2' if (dl == m or dt == m) else 'c5'
                else:
                    c = 'c4' if h01(x, y, 80) > 0.1 else 'c3'
            else:
                # membrane with seams, shadow of the parapet along its top and left
                ix, iy = x - x0 - P, y - y0 - P
                if ix < 2 or iy < 2:
                    c = 'a1'
                elif (ix % 12 == 11) or (iy % 12 == 11):
                    c = 'm1'
                else:
                    r = h01(x, y, 81)
                    c = 'm2' if r < 0.8 else ('m1' if r < 0.9 else 'm3')
            img.set(x, y, c)
    # stair house
    raised_box(img, 50, 14, 72, 36, 'c3', sh=5)
    for x in range(53, 69):
        img.set(x, 20, 'c2')
    raised_box(img, 56, 36, 64, 40, 'c2', sh=2)   # door canopy
    # air-conditioning units with fans
    for (ux, uy) in ((14, 58), (28, 58), (14, 70)):
        raised_box(img, ux, uy, ux + 11, uy + 8, 'c4', sh=2)
        for y in range(uy + 2, uy + 7):
            for x in range(ux + 2, ux + 9):
                if math.hypot(x + 0.5 - (ux + 5.5), y + 0.5 - (uy + 4.5)) < 2.7:
                    img.set(x, y, 'a1' if (x + y) % 2 else 'a2')
    # water tank on legs
    tcx, tcy, tr = 26, 26, 8
    shadow_disc(img, tcx + 4, tcy + 4, tr, lambda x, y: 'a1', wrap=False)
    for y in range(tcy - tr - 1, tcy + tr + 2):
        for x in range(tcx - tr - 1, tcx + tr + 2):
            px, py = x + 0.5 - tcx, y + 0.5 - tcy
            dd = math.hypot(px, py)
            if dd <= tr:
                b = (-px - py) / tr
                c = 'c5' if b > 0.55 else 'c4' if b > -0.2 else 'c3' if b > -0.8 else 'c2'
                if dd > tr - 1 and px + py > 0:
                    c = 'c1'
                if abs(dd - 3) < 0.7:
                    c = 'c2' if px + py < 0 else 'c4'
                img.set(x, y, c)
    # vent pipes
    for (vx, vy) in ((44, 50), (70, 60), (66, 72)):
        shadow_disc(img, vx + 2.5, vy + 2.5, 2.2, lambda x, y: 'a1', wrap=False)
        for y in range(vy - 3, vy + 3):
            for x in range(vx - 3, vx + 3):
                dd = math.hypot(x + 0.5 - vx, y + 0.5 - vy)
                if dd <= 2.4:
                    img.set(x, y, 'a0' if dd < 1.1 else ('c5' if x + y < vx + vy else 'c2'))
    # roof drain
    img.set(79, 80, 'a0')
    img.set(78, 80, 'a1')
    return img


def building_tiled():
    img = Img(B, B).fill_fn(pave)
    x0, y0, x1, y1 = 3, 12, 87, 78      # eaves outline
    inside = rect(x0, y0, x1, y1)
    cast_shadow(img, inside, 6, 6)
    h = (y1 - y0) / 2.0
    cy = y0 + h
    rx0, rx1 = x0 + h, x1 - h            # ridge ends (45-degree hips)
    ramps = {
        'top': ('t2', 't3', 't4'),
        'left': ('t2', 't3', 't4'),
        'right': ('t0', 't1', 't2'),
        'bottom': ('t1', 't2', 't3'),
    }
    for y in range(y0, y1):
        for x in range(x0, x1):
            px, py = x + 0.5, y + 0.5
            dl, dr, dt, db = px - x0, x1 - px, py - y0, y1 - py
            # which slope: nearest eave wins (hip roof)
            m = min(dl, dr, dt, db)
            if m == dt:
                face, along, depth = 'top', px, dt
            elif m == db:
                face, along, depth = 'bottom', px, db
            elif m == dl:
                face, along, depth = 'left', py, dl
            else:
                face, along, depth = 'right', py, dr
            dk, md, lt = ramps[face]
            # courses of tiles parallel to the eave, with staggered joints
            course = int(depth) // 4
            k = int(depth) % 4
            off = 2 if course % 2 else 0
            if k == 3:
                c = dk
            elif (int(along) + off) % 4 == 0 and k < 3:
                c = dk if k == 2 else md
            else:
                c = lt if k == 0 else md
            # hips and ridge: raised lines, lit from the top-left
            ridge = (abs(py - cy) < 1.6 and rx0 - 1 <= px <= rx1 + 1)
            hip = False
            for (hx, hy) in ((x0, y0), (x1, y0), (x0, y1), (x1, y1)):
                # points on the hip line satisfy |px-hx| == |py-hy| within the corner square
                ax, ay = abs(px - hx), abs(py - hy)
                if ax <= h + 1 and ay <= h + 1 and abs(ax - ay) < 1.3:
                    hip = True
            if ridge:
                c = 't4' if py < cy else 't1'
                if abs(py - cy) < 0.6:
                    c = 't3'
            elif hip:
                c = 't4' if face in ('top', 'left') else 't3'
            # eaves edge
            if m < 1:
                c = 't4' if face in ('top', 'left') else 't0'
            img.set(x, y, c)
    # ridge end caps
    for (ex, ey) in ((int(rx0), int(cy)), (int(rx1), int(cy))):
        img.set(ex, ey - 1, 't4')
        img.set(ex, ey, 't3')
        img.set(ex, ey + 1, 't1')
    return img


# ---------------------------------------------------------------------------
# Sheet assembly
# ---------------------------------------------------------------------------
def build_sheet():
    tiles = {}

    def put_block(base, img, cols, rows):
        for j in range(rows):
            for i in range(cols):
                tiles[base + j * 8 + i] = img.crop(i * T, j * T)

    plain = road_img()
    for t in range(128):
        tiles[t] = plain

    tiles[0] = t_yellow_square()
    tiles[43] = t_yellow_square()
    tiles[60] = t_yellow_square()
    tiles[1] = plain
    tiles[2] = t_lane_line('w')
    tiles[3] = t_lane_line('o')
    tiles[4] = t_line_branch()
    tiles[10] = t_short_bar()
    tiles[11] = t_corner(right=True)
    tiles[12] = t_corner(right=False)
    tiles[20] = t_zebra()
    tiles[40] = t_bar()
    tiles[35] = t_bar('down')
    tiles[36] = t_bar('up')
    tiles[52] = t_bar('down', 'o')
    tiles[41] = t_boards_single()
    tiles[42] = t_stone()
    tiles[44] = t_bush()

    # kerbed blocks: road side strip (pavement) and central reserve (grass)
    for off, faces in BLOCK_FACES.items():
        tiles[5 + off] = block_tile(faces, pave)
        tiles[45 + off] = block_tile(faces, grass)
    tiles[37] = block_tile(('right',), pave, orange=True)
    tiles[34] = block_tile(('left',), pave, orange=True)

    # diagonal kerbs, upper half over lower half
    for up, a, b, q in ((48, (0, 64), (32, 0), (0, 0)),     # strip widens going up
                        (50, (32, 64), (0, 0), (0, 64)),    # strip narrows going up
                        (49, (32, 64), (0, 0), (32, 0)),    # the same two with the strip on the right
                        (51, (0, 64), (32, 0), (32, 64))):
        img = diag_stack(a, b, q)
        tiles[up] = img.crop(0, 0)
        tiles[up + 8] = img.crop(0, T)

    # painted 50
    f = g_fifty()
    tiles[8], tiles[9] = f.crop(0, 0), f.crop(T, 0)
    tiles[16], tiles[17] = f.crop(0, T), f.crop(T, T)

    # arrows
    head, shaft = g_straight_arrow()
    tiles[30], tiles[31] = head.crop(0, 0), head.crop(T, 0)
    tiles[38], tiles[39] = shaft.crop(0, 0), shaft.crop(T, 0)
    left, right = g_turn_heads()
    tiles[32] = left.crop(0, 0)
    tiles[33] = right.crop(T, 0)
    limg, rimg = g_side_arrows()
    tiles[28], tiles[25] = limg.crop(0, 0), limg.crop(T, 0)
    tiles[24], tiles[29] = rimg.crop(0, 0), rimg.crop(T, 0)
    mr, ml = g_merge_arrows()
    tiles[18], tiles[26] = mr.crop(0, 0), mr.crop(0, T)
    tiles[19], tiles[27] = ml.crop(0, 0), ml.crop(0, T)

    # decorations
    put_block(64, d_water(), 2, 2)
    put_block(66, d_flower_bed(('r0', 'r1', 'r2'), 66), 2, 2)
    put_block(68, d_shrubs(), 2, 2)
    put_block(70, d_scrub(), 2, 2)
    put_block(83, d_rocks(), 2, 2)
    put_block(85, d_trees(), 2, 2)
    put_block(99, d_boards(), 2, 2)
    put_block(101, d_flower_bed(('k0', 'k1', 'k2'), 101, leaf_bias=-0.1), 2, 2)
    put_block(115, d_stony(), 2, 2)
    put_block(117, d_yellow_field(), 2, 2)

    # buildings
    put_block(80, building_flat(), 3, 3)
    put_block(104, building_tiled(), 3, 3)

    # cells that are never laid carry their number
    for t in (87, 95, 103, 111, 119, 127):
        tiles[t] = t_number(t)

    sheet = Img(8 * T, 16 * T)
    for t, img in tiles.items():
        sheet.paste(img, (t % 8) * T, (t // 8) * T)
    return sheet


def to_rgb(img):
    return [[PAL[c] for c in row] for row in img.p]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'assets', 'road_tiles.png')
    sheet = build_sheet()
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    pnglib.write_rgb(out, to_rgb(sheet))
    print('wrote', os.path.normpath(out))


if __name__ == '__main__':
    main()
