#!/usr/bin/env python3
"""Lays stretches of the course with the road tile sheet, to check how the tiles join.

    python3 tools/preview_road.py [sheet.png] [out_dir]

Reads assets/road_tiles.png (or the given sheet) and writes, into out_dir (default /tmp):
  road_preview.png      all strips side by side
  road_preview_N.png    each strip on its own (N = 1, 2, ...)
Patterns are laid the way the game lays them: lower row first, each new row above the last;
roadside decorations, buildings and bushes are substituted as the scroller does.
"""
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pnglib  # noqa: E402

T = 32

# Road patterns: upper row, lower row ("same" = lower row equals upper row); "AxN" = A repeated N times.
PATTERNS = {
    0: ("14 15 1x3 2 1 1 2 1 1 53 54 55 1 1", "same"),
    1: ("14 15 1x9 53 54 55 1 1", "same"),
    2: ("14 37 1x3 2 1 1 2 1 1 53 54 55 1 1", "same"),
    3: ("14 37 1x9 53 54 55 1 1", "same"),
    4: ("14 37 1x3 3 1 1 3 1 1 53 54 55 1 1", "14 15 1x3 3 1 1 3 1 1 53 54 55 1 1"),
    5: ("14 37 1x9 53 54 55 1 1", "same"),
    6: ("6 7 40x9 45 46 47 1 1", "14 15 1x3 3 1 1 3 1 1 53 54 55 1 1"),
    7: ("6 7 40x9 45 46 47 1 1", "14 15 1x3 2 1 1 2 1 1 53 54 55 1 1"),
    8: ("14 15 20x9 53 54 55 1 1", "same"),
    9: ("6 7 1x9 45 46 47 1 1", "14 15 1x9 53 54 55 1 1"),
    10: ("14 15 1 8 9 2 8 9 2 8 9 53 54 55 1 1", "14 15 1 16 17 2 16 17 2 16 17 53 54 55 1 1"),
    11: ("14 15 40x9 53 54 55 1 1", "14 15 20x9 53 54 55 1 1"),
    12: ("14 15 20x9 53 54 55 1 1", "14 15 40x9 53 54 55 1 1"),
    13: ("14 37 1 8 9 3 8 9 3 8 9 53 54 55 1 1", "14 37 1 16 17 3 16 17 3 16 17 53 54 55 1 1"),
    14: ("14 15 1x9 53 54 55 1 1", "22 23 1x9 61 62 63 40 40"),
    15: ("1x16", "same"),
    16: ("40 20 1x14", "same"),
    17: ("1 20 1x14", "same"),
    18: ("10 20 1x14", "1x16"),
    19: ("10 1x15", "1x16"),
    20: ("1x16", "same"),
    21: ("10 20 1x14", "1x16"),
    22: ("14 15 40x9 53 54 55 1 1", "14 15 1x3 3 1 1 3 1 1 53 54 55 1 1"),
    23: ("14 15 1 30 31 2 30 31 2 30 31 53 54 55 1 1", "14 15 1 38 39 2 38 39 2 38 39 53 54 55 1 1"),
    24: ("14 15 1 38 39 2 38 39 2 38 39 53 54 55 1 1", "same"),
    25: ("14 15 1 30 31 3 30 31 3 30 31 53 54 55 1 1", "14 15 1 38 39 3 38 39 3 38 39 53 54 55 1 1"),
    26: ("14 15 1 38 39 3 38 39 3 38 39 53 54 55 1 1", "same"),
    27: ("14 15 28 25 1 2 30 31 2 24 29 53 54 55 1 1", "14 15 1 2 1 2 38 39 2 2 1 53 54 55 1 1"),
    28: ("14 15 1 2 1 2 38 39 2 2 1 53 54 55 1 1", "same"),
    29: ("14 15 28 25 1 3 30 31 3 24 29 53 54 55 1 1", "14 15 1 2 1 3 38 39 3 2 1 53 54 55 1 1"),
    30: ("14 15 1 2 1 3 38 39 3 2 1 53 54 55 1 1", "same"),
    31: ("14 15 1 32 39 2 38 39 2 38 33 53 54 55 1 1", "14 15 1 38 39 2 38 39 2 38 39 53 54 55 1 1"),
    32: ("14 15 1 32 39 3 38 39 3 38 33 53 54 55 1 1", "14 15 1 38 39 3 38 39 3 38 39 53 54 55 1 1"),
    33: ("14x4 48 1x6 53 54 55 1 1", "14x4 56 1x6 53 54 55 1 1"),
    34: ("14x3 48 1 2 1 1 2 1 1 53 54 55 1 1", "14x3 56 1 2 1 1 2 1 1 53 54 55 1 1"),
    35: ("14 14 48 1x8 53 54 55 1 1", "14 14 56 1x8 53 54 55 1 1"),
    36: ("14 15 1 18 1 2 1 1 2 1 1 53 54 55 1 1", "14 15 1 26 1 2 1 1 2 1 1 53 54 55 1 1"),
    37: ("14 14 50 1x8 53 54 55 1 1", "14 14 58 1x8 53 54 55 1 1"),
    38: ("14x3 50 1 2 1 1 2 1 1 53 54 55 1 1", "14x3 58 1 2 1 1 2 1 1 53 54 55 1 1"),
    39: ("14x4 50 1x6 53 54 55 1 1", "14x4 58 1x6 61 62 63 1 1"),
    40: ("14x4 15 1x3 2 1 1 2 1 1 2 1", "same"),
    41: ("14x4 15 1x6 2 1x4", "same"),
    42: ("14x4 37 1x3 2 1 1 2 1 1 2 1", "same"),
    43: ("14x4 37 1x6 2 1x4", "same"),
    44: ("14x4 37 1x3 3 1 1 2 1 1 3 1", "14x4 15 1x3 3 1 1 2 1 1 3 1"),
    45: ("14x4 37 1x6 2 1x4", "same"),
    46: ("6x4 7 40x7 1x4", "14x4 15 1x3 3 1 1 2 1x4"),
    47: ("6x4 7 40x7 1x4", "14x4 15 1x3 2 1 1 2 1x4"),
    48: ("14x4 15 40x7 1x4", "14x4 15 1x3 2 1 1 2 1x4"),
    49: ("14x4 15 40x7 1x4", "14x4 15 1x3 3 1 1 2 1x4"),
    50: ("14x4 15 40x11", "14x4 15 20x11"),
    51: ("14x4 15 20x11", "same"),
    52: ("14x4 15 20x11", "14x4 15 40x11"),
    53: ("6x4 7 1x11", "14x4 15 1x11"),
    54: ("14x4 15 1x6 2 1x4", "22x4 23 1x6 40x5"),
    55: ("14x4 15 1 8 9 2 8 9 2 1x4", "14x4 15 1 16 17 2 16 17 2 1x4"),
    56: ("14x4 37 1 8 9 3 8 9 3 1x4", "14x4 37 1 16 17 3 16 17 3 1x4"),
    57: ("1x16", "same"),
    58: ("1 20 40 40 20 1x11", "same"),
    59: ("1 20 40 40 20 1x11", "10 20 40 40 20 1x11"),
    60: ("1 20 40 40 20 1x11", "10 20 40 40 20 1x11"),
    61: ("1x4 20 1x11", "same"),
    62: ("1x4 20 1x11", "10x4 20 1x11"),
    63: ("14x4 15 1 30 31 2 30 31 2 1 1 2 1", "14x4 15 1 38 39 2 38 39 2 1 1 2 1"),
    64: ("14x4 15 1 38 39 2 38 39 2 1x4", "same"),
    65: ("14x4 15 1 30 31 3 30 31 2 1 1 2 1", "14x4 15 1 38 39 3 38 39 2 1 1 2 1"),
    66: ("14x4 15 1 38 39 3 38 39 2 1x4", "same"),
    67: ("14x4 15 1 30 31 2 24 29 2 1 1 2 1", "14x4 15 1 38 39 2 2 1 2 1 1 2 1"),
    68: ("14x4 15 1 38 39 2 2 1 2 1x4", "same"),
    69: ("14x4 15 1 30 31 3 24 29 2 1 1 2 1", "14x4 15 1 38 39 3 2 1 2 1 1 2 1"),
    70: ("14x4 15 1 38 39 3 2 1 2 1x4", "same"),
    71: ("14x4 15 1x11", "same"),
    72: ("14x4 15 1 32 39 2 38 33 2 1 1 2 1", "14x4 15 1 38 39 2 38 39 2 1 1 2 1"),
    73: ("14x4 15 1 32 39 3 38 33 2 1 1 2 1", "14x4 15 1 38 39 3 38 39 2 1 1 2 1"),
    74: ("14x5 50 1x5 2 1x4", "14x5 58 1x5 2 1x4"),
    75: ("14x6 50 1 2 1 1 2 1 1 2 1", "14x6 58 1 2 1 1 2 1 1 2 1"),
    76: ("14x7 50 1x3 2 1x4", "14x7 58 1x3 2 1x4"),
    77: ("14x7 48 1x3 2 1x4", "14x7 56 1x3 2 1x4"),
    78: ("14x6 48 1 2 1 1 2 1 1 2 1", "14x6 56 1 2 1 1 2 1 1 2 1"),
    79: ("14x5 48 1x5 2 1x4", "14x5 56 1x5 2 1x4"),
    80: ("14x4 15 1 18 1 2 1 1 2 1 1 2 1", "14x4 15 1 26 1 2 1 1 2 1 1 2 1"),
    81: ("14x7 15 1x3 2 1x3 13", "same"),
    82: ("14x7 37 1x3 2 1x3 34", "same"),
    83: ("14x7 15 20x7 13", "same"),
    84: ("14x7 15 40x3 2 1x3 13", "22x7 23 1x3 2 1x3 21"),
    85: ("1x4 20 40x3 1x8", "same"),
    86: ("1x4 20 40x3 1x8", "10x4 20 40x3 1x8"),
    87: ("1x5 40x3 1x8", "same"),
    88: ("14x7 15 1x3 2 1x3 13", "same"),
    89: ("1x4 20 40x3 1x8", "10x4 20 40x3 1x8"),
    90: ("6x7 7 20x7 5", "14x7 15 20x7 13"),
}

# Sections: pattern numbers in laying order.
SECTIONS = {
    1: [0, 1, 1], 2: [9, 15, 14], 3: [8, 11, 9, 20, 19, 20, 21, 17, 17, 17, 17, 14, 8, 8],
    4: [8, 11, 9, 20, 19, 20, 19, 20, 18, 17, 17, 17, 17, 14, 8, 8],
    5: [10, 1, 1], 6: [4, 4, 4, 4, 26, 25, 22], 7: [4, 4, 4, 4, 32, 25, 22],
    8: [4, 4, 4, 4, 30, 29, 22], 9: [4], 10: [36, 1, 1, 36, 1, 1, 36, 35, 34, 33],
    11: [39, 38, 37], 12: [40, 41, 41], 13: [53, 57, 54],
    14: [53, 58, 58, 58, 60, 58, 58, 58, 54, 51], 16: [55, 41, 41],
    17: [44, 44, 44, 44, 66, 65, 49], 18: [44, 44, 44, 44, 73, 65, 49],
    19: [44, 44, 44, 44, 70, 69, 49], 20: [44], 21: [80, 41, 41, 80, 41, 41, 80, 79, 78, 77],
    22: [76, 75, 74], 23: [81, 81, 81], 24: [85], 25: [90, 87, 87, 87, 89, 85, 85, 85, 84, 83],
    26: [90, 87, 87, 87, 87, 87, 86, 85, 85, 85, 85, 85, 84, 83],
}

# Decoration top-left tiles by name.
DECOR = {'boards': 99, 'stony': 115, 'water': 64, 'shrubs': 68, 'red': 66, 'pink': 101,
         'yellow': 117, 'rocks': 83, 'scrub': 70, 'trees': 85}


def expand(s):
    out = []
    for tok in s.split():
        if 'x' in tok:
            a, n = tok.split('x')
            out += [int(a)] * int(n)
        else:
            out.append(int(tok))
    return out


def pattern_rows(p):
    up, lo = PATTERNS[p]
    upper = expand(up)
    lower = upper if lo == 'same' else expand(lo)
    return lower, upper


def lay(patterns):
    """Tile rows, lowest (first laid) first."""
    rows = []
    for p in patterns:
        lower, upper = pattern_rows(p)
        rows.append(list(lower))
        rows.append(list(upper))
    return rows


def sections(*items):
    seq = []
    for item in items:
        if isinstance(item, tuple):
            s, n = item
        else:
            s, n = item, 1
        for _ in range(n):
            seq += SECTIONS[s][:15]
    return seq


def decorate(rows, name, start, length, phase=0):
    t = DECOR[name]
    for k in range(start, min(start + length, len(rows))):
        phase ^= 1
        for col in range(16):
            if rows[k][col] == 14:
                rows[k][col] = t + (col % 2) + 8 * phase


def building(rows, kind, near):
    """A building starts on the first row at or above `near` whose column 2 is pavement
    interior (as the game requires) and covers columns 0..2 of three rows."""
    start = near
    while rows[start][2] != 14:
        start += 1
    base = 80 if kind == 'A' else 104
    for i, k in enumerate(range(start, start + 3)):
        timer = 2 - i
        for col in range(3):
            rows[k][col] = base + 8 * timer + col
    return start


def bushes(rows, seed=1):
    rng = random.Random(seed)
    for row in rows:
        for col in range(16):
            if rng.random() < 0.2 and row[col] == 54:
                row[col] = 44


def render(sheet, rows):
    h = len(rows) * T
    out = [[(0, 0, 0)] * (16 * T) for _ in range(h)]
    for k, row in enumerate(rows):
        y0 = h - (k + 1) * T
        for col, t in enumerate(row):
            sx, sy = (t % 8) * T, (t // 8) * T
            for y in range(T):
                out[y0 + y][col * T:(col + 1) * T] = sheet[sy + y][sx:sx + T]
    return out


def strips():
    s = []
    # 1: wide road: dashes, the 50, lane arrows, no-parking kerb, a crossing
    s.append(lay(sections(1, 5, 1, 6, 7, 8, 2, 1)))
    # 2: crossings on the wide road, with a decoration on the side strip
    r = lay(sections(1, 3, 1, 4, 1))
    decorate(r, 'trees', 2, 12)
    bushes(r, 2)
    s.append(r)
    # 3: wide road narrows to the middle road, crossing, no-parking stretch
    r = lay(sections(1, 10, (12, 2), 13, 12, 17, 12, 16, 12))
    building(r, 'A', 44)
    decorate(r, 'pink', 52, 10)
    bushes(r, 3)
    s.append(r)
    # 4: middle road crossings, narrowing to the narrow road, narrow crossings
    r = lay(sections(12, 14, 12, 21, (23, 2), 25, 23))
    building(r, 'B', 40)
    decorate(r, 'water', 72, 8)
    s.append(r)
    # 5: narrow road widens to middle, then wide road again
    r = lay(sections(23, 26, 23, 22, (12, 2), 18, 19, 12, 11, 1, 1))
    decorate(r, 'rocks', 2, 9)
    building(r, 'A', 16)
    decorate(r, 'yellow', 60, 7)
    bushes(r, 5)
    s.append(r)
    # 6: every decoration and both buildings on the narrow road
    r = lay(sections((23, 12)))
    names = list(DECOR)
    k = 1
    for i, n in enumerate(names):
        decorate(r, n, k, 6, phase=i % 2)
        k += 7
    s.append(r)
    r = lay(sections((12, 8)))
    building(r, 'A', 2)
    building(r, 'B', 8)
    decorate(r, 'scrub', 14, 6)
    building(r, 'B', 22)
    decorate(r, 'shrubs', 26, 7)
    decorate(r, 'red', 36, 6)
    building(r, 'A', 42)
    s.append(r)
    return s


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    sheet_path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'assets', 'road_tiles.png')
    out_dir = sys.argv[2] if len(sys.argv) > 2 else '/tmp'
    sheet = pnglib.read_rgb(sheet_path)
    pics = [render(sheet, r) for r in strips()]
    for i, pic in enumerate(pics):
        pnglib.write_rgb(os.path.join(out_dir, 'road_preview_%d.png' % (i + 1)), pic)
    gap = 16
    h = max(len(p) for p in pics)
    w = len(pics) * (16 * T + gap) - gap
    big = [[(24, 24, 24)] * w for _ in range(h)]
    for i, pic in enumerate(pics):
        x0 = i * (16 * T + gap)
        off = h - len(pic)
        for y, row in enumerate(pic):
            big[off + y][x0:x0 + 16 * T] = row
    pnglib.write_rgb(os.path.join(out_dir, 'road_preview.png'), big)
    print('wrote', len(pics), 'strips to', out_dir)


if __name__ == '__main__':
    main()
