"""The model canvas every sprite is built on (material, height and shade nudge per pixel),
and its lighting: shades from the height slopes, a short shadow to the bottom-right."""
import math

from .materials import PALETTE


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
