#!/usr/bin/env python3
"""Lays stretches of the course with the road tile sheet, to check how the tiles join.

    python3 tools/preview_road.py [--sim build/kelto1-sim] [sheet.png] [out_dir]

Reads assets/road_tiles.png (or the given sheet) and writes, into out_dir (default /tmp):
  road_preview.png      all strips side by side
  road_preview_N.png    each strip on its own (N = 1, 2, ...)
The game lays the rows (kelto1-sim --road-rows; KELTO1_SIM or --sim names the runner): its
patterns and sections, lower row first, each new row above the last, with the roadside
decorations, buildings and bushes its scroller lays over them.
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pnglib  # noqa: E402

T = 32
HERE = os.path.dirname(os.path.abspath(__file__))

# The decorations by the scenery mode the game gives them.
DECOR = {'boards': 3, 'stony': 4, 'water': 5, 'shrubs': 6, 'red': 7, 'pink': 8,
         'yellow': 9, 'rocks': 10, 'scrub': 11, 'trees': 12}
BUILDING = {'A': 1, 'B': 2}


class Strip:
    """A stretch of course and its scenery, as a plan for `kelto1-sim --road-rows`: the
    game lays the rows, so the patterns, sections and tiles laid over them are its own."""

    def __init__(self, *sections):
        self.lines = []
        for item in sections:
            s, n = item if isinstance(item, tuple) else (item, 1)
            self.lines.append('section %d %d' % (s, n))

    def decorate(self, name, start, length, phase=0):
        self.lines.append('decoration %d %d %d %d' % (start, DECOR[name], length, phase))
        return self

    def building(self, kind, near):
        """Starts on the first row at or above `near` where the game lets a building start."""
        self.lines.append('building %d %d' % (near, BUILDING[kind]))
        return self

    def bushes(self):
        self.lines.append('bushes')
        return self

    def rows(self, sim):
        """Tile rows, lowest (first laid) first."""
        done = subprocess.run([sim, '--road-rows'], input='\n'.join(self.lines) + '\n',
                              capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit('preview_road: kelto1-sim --road-rows failed: ' + done.stderr.strip())
        return [[int(t) for t in line.split()] for line in done.stdout.splitlines()]


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
    # 1: wide road: dashes, the 50, lane arrows, no-parking kerb, a crossing
    yield Strip(1, 5, 1, 6, 7, 8, 2, 1)
    # 2: crossings on the wide road, with a decoration on the side strip
    yield Strip(1, 3, 1, 4, 1).decorate('trees', 2, 12).bushes()
    # 3: wide road narrows to the middle road, crossing, no-parking stretch
    yield Strip(1, 10, (12, 2), 13, 12, 17, 12, 16, 12).building('A', 44).decorate('pink', 52, 10).bushes()
    # 4: middle road crossings, narrowing to the narrow road, narrow crossings
    yield Strip(12, 14, 12, 21, (23, 2), 25, 23).building('B', 40).decorate('water', 72, 8)
    # 5: narrow road widens to middle, then wide road again
    yield (Strip(23, 26, 23, 22, (12, 2), 18, 19, 12, 11, 1, 1)
           .decorate('rocks', 2, 9).building('A', 16).decorate('yellow', 60, 7).bushes())
    # 6: every decoration on the narrow road
    strip = Strip((23, 12))
    for i, name in enumerate(DECOR):
        strip.decorate(name, 1 + 7 * i, 6, phase=i % 2)
    yield strip
    # 7: both buildings and more decorations on the middle road
    yield (Strip((12, 8)).building('A', 2).building('B', 8).decorate('scrub', 14, 6)
           .building('B', 22).decorate('shrubs', 26, 7).decorate('red', 36, 6).building('A', 42))


def main():
    args = sys.argv[1:]
    sim = os.environ.get('KELTO1_SIM', os.path.join(HERE, '..', 'build', 'kelto1-sim'))
    if '--sim' in args:
        i = args.index('--sim')
        sim = args[i + 1] if i + 1 < len(args) else ''
        del args[i:i + 2]
    if not os.access(sim, os.X_OK):
        sys.exit('preview_road: the game lays the road: build kelto1-sim (cmake --build build --target kelto1-sim) '
                 'or name it with --sim PATH; not found: %s' % (sim or '(no path)'))
    sheet_path = args[0] if args else os.path.join(HERE, '..', 'assets', 'road_tiles.png')
    out_dir = args[1] if len(args) > 1 else '/tmp'
    sheet = pnglib.read_rgb(sheet_path)
    pics = [render(sheet, strip.rows(sim)) for strip in strips()]
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
