"""Colour helpers shared by the artwork generators: colours written as hex codes, ramps of
them from dark to light, and pictures of palette entries turned into colours."""


def hexc(code):
    """(r, g, b) of a colour written "#RRGGBB"."""
    code = code.lstrip("#")
    return (int(code[0:2], 16), int(code[2:4], 16), int(code[4:6], 16))


def ramp(*codes):
    """A ramp of shades, dark to light, from their hex codes."""
    return [hexc(c) for c in codes]


def to_rgb(palette, rows):
    """Rows of (r, g, b) tuples from rows of palette keys (indices into a list, or names)."""
    return [[tuple(palette[key]) for key in row] for row in rows]
