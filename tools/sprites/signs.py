"""Flat, printed or self-lit pieces: the rival markers, the traffic signal heads, the turn
signal arrows and the brake lights."""
import math

from .model import Model, light_model
from .shapes import in_ellipse, in_poly, in_rect, in_rrect


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
