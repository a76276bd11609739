#!/usr/bin/env python3
"""Draws the Kelto1 sprite sheet (assets/sprites.png) and its mask (assets/sprites_mask.png).

Every sprite is modelled, not painted: each pixel gets a material (a colour ramp), a height
above the road and a small shade nudge. Vehicles are built nose up and then turned as a whole,
and only after that is the light worked out from the height slopes, so a car driving down the
screen is still lit from the top-left like everything else. Shadows fall a few pixels to the
bottom-right as opaque darker road grey. A sprite pixel is fully opaque or fully transparent:
transparent is pure white in the sheet and black in the mask, and no paint is pure white.

The sprites are drawn in tools/sprites/, one module per family (cars, trucks, the motorbike,
signs, obstacles, labels); sprites/sheet.py says where each sits on the sheet.

Usage: python3 tools/gen_sprites.py [--out DIR] [--preview DIR]
(--out writes the assets into DIR instead of assets/)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pnglib  # noqa: E402
from sprites.sheet import build_sheet, previews, split  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ASSETS = os.path.join(ROOT, "assets")
if "--out" in sys.argv:
    ASSETS = sys.argv[sys.argv.index("--out") + 1]


def main():
    sheet = build_sheet()
    rgb, mask = split(sheet)
    os.makedirs(ASSETS, exist_ok=True)
    pnglib.write_rgb(os.path.join(ASSETS, "sprites.png"), rgb)
    pnglib.write_mask(os.path.join(ASSETS, "sprites_mask.png"), mask)
    if "--preview" in sys.argv:
        previews(rgb, mask, sys.argv[sys.argv.index("--preview") + 1])


if __name__ == "__main__":
    main()
