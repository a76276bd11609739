"""The sprites' materials: a few colour ramps chosen together, and each material a run of one of them."""
from palette import ramp


CLEAR = (255, 255, 255)  # transparent in the sheet; no paint is pure white

# A few ramps, dark to light, chosen together; every material below is a run of one of them,
# so two materials never carry near-identical colours. The greys double as the darker road
# colour of the shadows.

GREY = ramp("#0E0F12", "#1D1F24", "#2C2F35", "#3E4148", "#52565E", "#6C7079", "#8C919A",
            "#B0B4BB", "#D2D5DA", "#EEF0F2", "#FAFAF8")
GLASS = ramp("#121C2E", "#1F3049", "#334D6D", "#52729A", "#86A6C6", "#CFE2EE")
SKY = ramp("#2E6E98", "#4E98C4", "#7CC0E4", "#ACDCF4", "#D6F0FA")
NAVY = ramp("#0A0F2A", "#141C48", "#1E2A6A", "#2A3C8E", "#4460B4", "#7E96DA")
ROYAL = ramp("#0C1C5C", "#1A3296", "#2A4CC8", "#4C74E4", "#90AEF6")
STEEL = ramp("#26344A", "#3C5068", "#566E8A", "#7890AC", "#9CB2CA", "#C4D4E6")
RED = ramp("#4A0A07", "#7E140C", "#B42516", "#DA3A21", "#F26A45", "#FBAA8C")
LAMP_RED = ramp("#D81A10", "#FF5A40", "#F0321E", "#FF8A70", "#FFE0D4")
CRIMSON = ramp("#36040F", "#5E0A1E", "#8C1430", "#B52244", "#D4506A", "#EC98A6")
PURPLE = ramp("#240E32", "#401858", "#602680", "#803AA4", "#A460C8", "#CC9AE8")
TEAL = ramp("#0A3438", "#125458", "#1C7678", "#309896", "#5CBCB4", "#9CDED4")
MINT = ramp("#1CC09A", "#7CF2D0", "#D8FFF2")
OLIVE = ramp("#2E3012", "#4A4C1E", "#6A6C2E", "#8A8C44", "#AEB066", "#D2D496")
AMBER = ramp("#6E3400", "#A85808", "#E0860E", "#FFB228", "#FFD668", "#FFF0B4")
YELLOW = ramp("#3E2E06", "#6A500A", "#C49400", "#F2C414", "#FFE050") + AMBER[5:]
BEIGE = ramp("#564630", "#826E50", "#AC9872", "#CCBA92", "#E2D4B0", "#F4ECD2")
SAND = ramp("#4A3422", "#6E5036", "#94704C", "#B89266", "#D6B488")
WOOD = ramp("#3C2412", "#603A1C", "#87582C", "#AA7A42", "#CA9E62", "#E2C08A")
STONE = ramp("#34312E", "#524D48", "#736C64", "#958D82", "#B8B0A4", "#DAD4C8") + BEIGE[5:]
# Pick-up labels: the good ones print in lemon on teal, blue, red and green plates; the
# bad ones print in black on golden yellow, light blue and grey, so the two groups never
# share a colour and read apart at a glance.
LEMON = ramp("#4E4A08", "#8C8618", "#C8C030", "#FFF27A", "#FFF690")
GOLD = ramp("#5A3E00", "#A87400", "#EEB000", "#FFBE30", "#FFC63A")
LEAF = ramp("#0C2E10", "#1C5E24", "#2E8A3A", "#5CB85A", "#8ED488")
HEAD = ramp("#8E8A6A", "#E6E2BE", "#FFFBD8")

PALETTE = {
    # name: (shades dark to light, shade of a level surface, shaded by slopes?)
    "shadow":  (GREY[2:4], 0, False),             # cast shadow: core and soft rim
    "tyre":    (GREY[0:4], 1, True),
    "trim":    (GREY[1:6], 2, True),
    "chrome":  (GREY[4:10], 3, True),
    "white":   (GREY[5:11], 4, True),
    "cabin":   (GREY[0:3], 1, True),
    "oil":     (GREY[0:2] + STEEL[0:1], 1, True),
    "glass":   (GLASS, 2, True),
    "seat":    (SAND, 2, True),
    "navy":    (NAVY, 2, True),
    "vermil":  (RED, 3, True),
    "crimson": (CRIMSON, 3, True),
    "purple":  (PURPLE, 3, True),
    "bluegrey": (STEEL, 3, True),
    "beige":   (BEIGE, 3, True),
    "teal":    (TEAL, 3, True),
    "olive":   (OLIVE, 3, True),
    "amber":   (AMBER, 3, True),
    "sponsor": (ROYAL[0:4], 2, True),
    "leather": (NAVY[0:5], 2, True),
    "stone":   (STONE[0:6], 3, True),
    "sand":    (SAND + [BEIGE[4]], 3, True),
    "wood":    (WOOD, 3, True),
    "dust":    (STONE[1:7], 3, True),
    # lamps, self-lit
    "head":    (HEAD + [GREY[10]], 2, False),
    "tail":    (RED[0:2] + LAMP_RED[0:2] + [RED[5]], 2, False),
    "indic":   ([AMBER[0], AMBER[2], AMBER[3], AMBER[4]], 2, False),
    "spark":   (AMBER[1:3] + AMBER[4:6], 2, False),
    # printed and flat colours (labels, markers, signal heads)
    "ink":     (GREY[0:3], 0, False),
    "housing": (GREY[0:5], 2, False),
    "paper":   (GREY[7:11], 2, False),
    "sgrey":   (GREY[4:9], 2, False),
    "sblue":   (ROYAL, 2, False),
    "sred":    (RED[0:5], 2, False),
    "syellow": (YELLOW[1:6], 2, False),
    "sltblue": (SKY, 2, False),
    "slemon":  (LEMON, 2, False),
    "sgold":   (GOLD, 2, False),
    "sleaf":   (LEAF, 2, False),
    "steal":   (TEAL[0:5], 2, False),
    "sgreen":  (TEAL[0:2] + MINT, 1, False),
    "syel":    (YELLOW[0:2] + YELLOW[3:6], 1, False),
    "sredlamp": (RED[0:2] + LAMP_RED[2:5], 1, False),
}

for _name, (_r, _b, _l) in PALETTE.items():
    assert CLEAR not in _r, _name
