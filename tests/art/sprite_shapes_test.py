#!/usr/bin/env python3
"""Traffic cars: each model keeps inside its collision size, and models that share a
size must still differ in outline, not only in colour.

    sprite_shapes_test.py [sprites.png]

Reads the sprite sheet (assets/sprites.png unless given). A car's outline is every opaque
pixel of its 64 x 96 picture, cast shadow included; its body is the same without the two
shadow greys. The body must lie inside the Width the game gives the model, centred
across the picture, and be no longer than its Length; two outlines of a look-alike
group may share at most MAX_OVERLAP of their union."""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import pnglib  # noqa: E402

MAX_OVERLAP = 0.93
SHADOW = {(0x2C, 0x2F, 0x35), (0x3E, 0x41, 0x48)}
CLEAR = (255, 255, 255)

# sprite: (cell column, cell row, collision width, collision length); sprite 1 is also the
# player's FamilyCar, 50 wide
CARS = {1: (0, 0, 50, 92), 8: (0, 3, 51, 92), 23: (8, 4, 51, 92),
        12: (0, 6, 57, 91), 14: (4, 6, 58, 92), 15: (6, 6, 58, 92)}
LOOK_ALIKE = ((1, 8, 23), (12, 14, 15))


def outline(sheet, col, row):
    return {(x, y) for y in range(96) for x in range(64)
            if sheet[row * 32 + y][col * 32 + x] != CLEAR}


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "assets", "sprites.png")
    sheet = pnglib.read_rgb(path)
    faults = []
    shapes = {}
    for s, (col, row, width, length) in CARS.items():
        shapes[s] = outline(sheet, col, row)
        body = [(x, y) for x, y in shapes[s]
                if sheet[row * 32 + y][col * 32 + x] not in SHADOW]
        left, right = (64 - width) / 2, (64 + width) / 2
        out = [(x, y) for x, y in body if x < left or x + 1 > right]
        if out:
            faults.append("sprite %d: %d body pixels wider than its %d, e.g. %s"
                          % (s, len(out), width, out[0]))
        rows = max(y for _, y in body) - min(y for _, y in body) + 1
        if rows > length:
            faults.append("sprite %d: body %d rows long, its length is %d" % (s, rows, length))
    for group in LOOK_ALIKE:
        for i, a in enumerate(group):
            for b in group[i + 1:]:
                share = len(shapes[a] & shapes[b]) / len(shapes[a] | shapes[b])
                print("sprites %d and %d: outlines overlap %.3f" % (a, b, share))
                if share > MAX_OVERLAP:
                    faults.append("sprites %d and %d have nearly the same outline (%.3f)"
                                  % (a, b, share))
    for f in faults:
        print("FAIL:", f)
    print("car shapes:", "ok" if not faults else "%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
