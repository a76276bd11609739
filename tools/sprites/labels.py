"""The pick-up labels: good ones in lemon on coloured plates, bad ones in black on pale ones."""
import math

from .font import draw_text, text_width
from .model import Model, light_model
from .shapes import in_poly, in_rect, in_rrect, line_pixels


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


def icon_spring(m, mat, sh):
    for i in range(5):
        x0 = 5 + i * 4
        for x, y in line_pixels(x0, 13, x0 + 2, 4) + line_pixels(x0 + 2, 4, x0 + 4, 13):
            m.put(x, y, mat, None, sh)
    for x in range(3, 8):
        m.put(x, 13, mat, None, sh)
    for x in range(23, 28):
        m.put(x, 13, mat, None, sh)
