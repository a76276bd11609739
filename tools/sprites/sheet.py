"""Where every sprite sits on the 512 x 512 sheet, the sheet and its mask, and the previews."""
import os

import pnglib

from .labels import (icon_disc, icon_fast, icon_lines, icon_pump, icon_spring, label_bad,
    label_good, label_sus, label_time)
from .lineup import (broadside, coupe_bluegrey, facing_down, hatch_red, kei_covered, kei_pickup,
    limo_bluegrey, lorry, racer_red, rival_purple, roadster_red, saloon_beige, saloon_crimson,
    saloon_navy, wagon_white)
from .materials import CLEAR
from .model import light_model
from .motorbike import motorbike, thrown_rider
from .obstacles import boulder, debris, spilled_load
from .signs import arrow_left, brake_bar, marker, signal_head


SHEET = 512
CELL = 32

def vehicle_pair(build, length, top=1):
    m = build()
    return light_model(m, shadow=3), light_model(facing_down(m, top, length), shadow=3)


def sprite_list():
    """(column, row, picture) for every sprite, the picture sized in whole cells."""
    out = []

    def pair(build, col, row, length):
        up, down = vehicle_pair(build, length)
        out.append((col, row, up))
        out.append((col + 2, row, down))

    pair(saloon_navy, 0, 0, 92)            # 1, 2 (and 0, the corner of 2)
    pair(hatch_red, 4, 0, 92)              # 3, 4
    out.append((14, 0, marker("navy")))    # 5
    out.append((14, 1, marker("olive")))   # 6
    out.append((14, 2, marker("crimson")))  # 7
    pair(wagon_white, 0, 3, 92)            # 8, 9
    pair(roadster_red, 4, 3, 84)           # 10, 11
    pair(saloon_crimson, 0, 6, 91)         # 12, 13
    out.append((4, 6, light_model(rival_purple(), shadow=3)))     # 14
    out.append((6, 6, light_model(racer_red(), shadow=3)))        # 15
    pair(kei_pickup, 0, 9, 82)             # 16, 17
    pair(kei_covered, 4, 9, 82)            # 18, 19
    lorry_m = lorry()
    out.append((8, 0, light_model(lorry_m, shadow=4)))            # 20
    out.append((10, 0, light_model(facing_down(lorry_m, 1, 126), shadow=4)))   # 21
    out.append((12, 0, light_model(limo_bluegrey(), shadow=3)))  # 22
    pair(coupe_bluegrey, 8, 4, 86)         # 23, 24
    out.append((14, 3, signal_head(2)))    # 25 red
    out.append((14, 4, signal_head(0)))    # 26 green
    out.append((14, 5, signal_head(1)))    # 27 yellow
    out.append((14, 6, boulder([(30, 30, 24, 21, 17)], "stone", 11)))                    # 28
    out.append((14, 8, boulder([(24, 27, 18, 17, 15), (42, 38, 15, 13, 11)], "sand", 23)))  # 29
    out.append((14, 10, boulder([(22, 20, 15, 13, 13), (44, 25, 13, 12, 11),
                                 (30, 43, 14, 12, 12)], "stone", 37)))                     # 30
    out.append((14, 12, spilled_load()))   # 31
    cross = ((0, wagon_white(51)), (3, rival_purple(51)), (6, saloon_beige(51)))
    for col, model in cross:               # 32..37
        out.append((col, 12, light_model(broadside(model), shadow=3)))
        out.append((col, 14, light_model(broadside(model, leftwards=True), shadow=3)))
    for f in range(4):                     # 38..41
        out.append((12, 4 + 2 * f, debris(f)))
    out.append((8, 7, label_good("FUEL", "steal", icon_pump)))                         # 42
    out.append((9, 7, label_time()))                                                   # 43
    out.append((10, 7, label_good("TURBO", "sblue", icon_fast)))                       # 44
    out.append((11, 7, label_good("BRK", "sred", icon_disc)))                          # 45
    out.append((8, 8, label_sus()))                                                    # 46
    out.append((9, 8, label_good("SPEED", "sblue", icon_lines)))                       # 47
    out.append((10, 8, label_bad("TURBO", "sgold", icon_fast)))                        # 48
    out.append((11, 8, label_bad("BRK", "sltblue", icon_disc)))                        # 49
    out.append((8, 9, label_bad("SUS", "paper", icon_spring, stripe="sgrey")))         # 50
    out.append((9, 9, label_bad("SPEED", "sgrey", icon_lines)))                        # 51
    out.append((8, 10, light_model(motorbike(), shadow=2)))                            # 52
    out.append((9, 10, light_model(thrown_rider(), shadow=2)))                         # 53
    left = arrow_left()
    out.append((10, 9, left))                                                          # 54
    out.append((11, 9, [row[::-1] for row in left]))                                   # 55
    out.append((10, 10, brake_bar()))                                                  # 56
    return out


def build_sheet():
    sheet = [[None] * SHEET for _ in range(SHEET)]
    taken = set()
    for col, row, pic in sprite_list():
        h, w = len(pic), len(pic[0])
        assert w % CELL == 0 and h % CELL == 0, (col, row, w, h)
        for cy in range(row, row + h // CELL):
            for cx in range(col, col + w // CELL):
                assert (cx, cy) not in taken, ("cell drawn twice", cx, cy)
                taken.add((cx, cy))
        for y in range(h):
            for x in range(w):
                sheet[row * CELL + y][col * CELL + x] = pic[y][x]
    return sheet


def split(sheet):
    rgb = [[CLEAR if p is None else p for p in row] for row in sheet]
    mask = [[0 if p is None else 1 for p in row] for row in sheet]
    # the masked blit relies on this pairing: transparent is pure white, paint never is
    for y in range(SHEET):
        for x in range(SHEET):
            if mask[y][x]:
                assert rgb[y][x] != CLEAR, (x, y)
            else:
                assert rgb[y][x] == CLEAR, (x, y)
    return rgb, mask


def previews(rgb, mask, folder):
    os.makedirs(folder, exist_ok=True)
    pnglib.write_rgb(os.path.join(folder, "sprites_1x.png"), rgb)
    pnglib.write_rgb(os.path.join(folder, "sprites_2x.png"), pnglib.scale(rgb, 2))
    # over the road: asphalt grey with a dashed lane line, as the player will see them
    road = []
    for y in range(SHEET):
        row = []
        for x in range(SHEET):
            g = 104 + ((x * 7 + y * 13) % 5) - 2
            c = (g, g + 1, g + 5)
            if x % 64 in (0, 1) and (y // 24) % 2 == 0:
                c = (226, 224, 214)
            row.append(rgb[y][x] if mask[y][x] else c)
        road.append(row)
    pnglib.write_rgb(os.path.join(folder, "sprites_road_1x.png"), road)
    pnglib.write_rgb(os.path.join(folder, "sprites_road_2x.png"), pnglib.scale(road, 2))
    for name, (x0, y0, x1, y1) in {"cars": (0, 0, 256, 384), "big": (256, 0, 512, 224),
                                   "small": (256, 192, 512, 384),
                                   "cross": (0, 384, 320, 512)}.items():
        part = [r[x0:x1] for r in road[y0:y1]]
        pnglib.write_rgb(os.path.join(folder, "road_%s_3x.png" % name), pnglib.scale(part, 3))
