"""The motorbike and its thrown rider."""
import math

from .model import Model
from .shapes import clamp01, in_ellipse, in_poly, in_rect, in_rrect, line_pixels


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
