"""Rocks, the spilled cargo and the debris clouds."""
import math
import random

from .model import Model, light_model
from .shapes import ease_out, lerp, smooth


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
