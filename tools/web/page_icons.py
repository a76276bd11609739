#!/usr/bin/env python3
"""Makes the page's icons from the game's window icon: the browser tab's favicon.ico and
the installed app's icons at 192 and 512 px, plus a maskable one whose picture stays
inside the middle 80 % that every launcher's mask keeps.

usage: page_icons.py ICON.png OUT_FOLDER"""
import os
import sys

from PIL import Image

BACKGROUND = (0, 0, 0, 255)  # the page's own black


def scaled(icon, size):
    # Whole pixels only: the icon is pixel art and stays sharp.
    return icon.resize((size, size), Image.NEAREST)


def main():
    source, out = sys.argv[1], sys.argv[2]
    icon = Image.open(source).convert("RGBA")
    if icon.width != icon.height:
        raise SystemExit(f"page_icons.py: {source} is not square")
    os.makedirs(out, exist_ok=True)
    for size in (192, 512):
        scaled(icon, size).save(os.path.join(out, f"icon-{size}.png"), optimize=True)
    # The largest whole multiple of the icon inside the safe circle (80 % of the side).
    masked = Image.new("RGBA", (512, 512), BACKGROUND)
    side = icon.width * max(1, int(512 * 0.8) // icon.width)
    picture = scaled(icon, side)
    masked.alpha_composite(picture, ((512 - side) // 2, (512 - side) // 2))
    masked.save(os.path.join(out, "icon-maskable-512.png"), optimize=True)
    icon.save(os.path.join(out, "favicon.ico"), sizes=[(16, 16), (32, 32)])


if __name__ == "__main__":
    main()
