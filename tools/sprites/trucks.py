"""The kei trucks and the lorry: a cab over the front wheels and a load bed behind."""
from .cars import Car, Ctx, build_car, lamp
from .shapes import ease_out, in_rrect, lerp


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
