"""Shape tests for Model.fill and small easing helpers."""

def lerp(a, b, t):
    return a + (b - a) * t


def clamp01(t):
    return 0.0 if t < 0 else 1.0 if t > 1 else t


def ease_out(t):
    t = clamp01(t)
    return 1 - (1 - t) * (1 - t)


def smooth(t):
    t = clamp01(t)
    return t * t * (3 - 2 * t)


def in_ellipse(cx, cy, rx, ry):
    return lambda px, py: ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2 <= 1.0


def in_rect(x0, y0, x1, y1):
    return lambda px, py: x0 <= px < x1 and y0 <= py < y1


def in_rrect(x0, y0, x1, y1, r):
    def test(px, py):
        if not (x0 <= px < x1 and y0 <= py < y1):
            return False
        cx = min(max(px, x0 + r), x1 - r)
        cy = min(max(py, y0 + r), y1 - r)
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return test


def in_poly(pts):
    def test(px, py):
        inside = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > py) != (yj > py):
                if px < xi + (py - yi) * (xj - xi) / (yj - yi):
                    inside = not inside
            j = i
        return inside
    return test


def line_pixels(x0, y0, x1, y1):
    """Integer pixels of a one-pixel line (Bresenham)."""
    pts = []
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx = 1 if x0 < x1 else -1
    sy = 1 if y0 < y1 else -1
    err = dx + dy
    while True:
        pts.append((x0, y0))
        if x0 == x1 and y0 == y1:
            return pts
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy
