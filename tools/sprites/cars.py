"""Cars built nose up from a shape description, and the touches particular models add."""
import math

from .font import draw_text
from .model import Model
from .shapes import clamp01, ease_out, in_ellipse, in_poly, in_rect, in_rrect, lerp


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
