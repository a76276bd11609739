#!/usr/bin/env python3
"""Diagonal kerbs meet the straight kerb without a jog where the course lays them end to end.

    kerb_joins_test.py [road_tiles.png]

Reads the road tile sheet (assets/road_tiles.png unless given). Where a narrowing ends,
the course lays the straight kerb (tile 15) directly above the upper diagonal (48); where
a widening ends, the lower diagonal (58) directly above the straight kerb. In both the
two rows that touch must carry the kerb on the same columns: the pavement joint, the lit
inner edge, the top and the two face pixels of the straight kerb, each across from its
own kind in the diagonal. The top's speckle and joint marks may differ; nothing else."""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools"))
import pnglib  # noqa: E402

T = 32
# (upper tile, lower tile) stacked in one column as the course lays them
JOINS = ((15, 48), (58, 15))
BAND = range(T - 8, T)   # the straight kerb's 8 columns, joint to face, on the cell's right

# what part of the kerb a colour is (the sheet's concrete and paint ramps)
PART = {
    (146, 145, 139): "joint/face",   # c2: joint to the pavement, and the face's upper pixel
    (240, 236, 220): "edge",         # p1: lit inner edge
    (168, 167, 160): "top", (190, 189, 181): "top", (212, 211, 203): "top",  # c3..c5
    (122, 121, 116): "face",         # c1: the face in shade
}


def row_parts(sheet, tile, y):
    sx, sy = (tile % 8) * T, (tile // 8) * T
    return [PART.get(sheet[sy + y][sx + x], "road") for x in BAND]


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "assets", "road_tiles.png")
    sheet = pnglib.read_rgb(path)
    faults = []
    for upper, lower in JOINS:
        a = row_parts(sheet, upper, T - 1)
        b = row_parts(sheet, lower, 0)
        print("%d over %d:\n  %s\n  %s" % (upper, lower, " ".join(a), " ".join(b)))
        if "edge" not in a or "face" not in a:
            faults.append("tile %d's bottom row shows no kerb in its last 8 columns" % upper)
        if a != b:
            bad = [BAND[i] for i in range(len(a)) if a[i] != b[i]]
            faults.append("tile %d over tile %d: the kerb jogs at columns %s" % (upper, lower, bad))
    for f in faults:
        print("FAIL:", f)
    print("kerb joins:", "ok" if not faults else "%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
