#!/usr/bin/env python3
"""Draws Quillane's own art and writes it into res/.

Everything is drawn here from simple shapes and a small pixel font, with the Python
standard library only, so the pictures can be remade and changed without any other tool.
Running it twice gives the same bytes.

    res/quillane.ico      program icon, 32 x 32, 16 colours, with an AND mask
    res/banner.bmp        88 x 31 maker's banner, 24-bit
    res/glyph-close.ico   16 x 16 button glyphs, 32-bit with alpha and an AND mask
    res/glyph-ok.ico
    res/glyph-retry.ico
"""

import math
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")

# The classic Windows 16-colour palette, in its usual order, as (R, G, B).
PALETTE16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


# ---------------------------------------------------------------------------------------
# Geometry shared by the drawings: each shape is a test "is the point (x, y) inside?".

def seg_dist(px, py, ax, ay, bx, by):
    """Distance from a point to the segment a-b."""
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def stroke(points, half_width):
    """A polyline drawn with a round pen of the given half width."""
    segments = list(zip(points, points[1:]))

    def inside(x, y):
        return any(seg_dist(x, y, a[0], a[1], b[0], b[1]) <= half_width for a, b in segments)
    return inside


def polygon(points):
    """A filled polygon (even-odd rule)."""
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def arc(cx, cy, radius, half_width, start_deg, end_deg):
    """A ring segment from start to end angle (degrees, counter-clockwise on screen, 0 = right)."""
    def inside(x, y):
        dx, dy = x - cx, cy - y
        if abs(math.hypot(dx, dy) - radius) > half_width:
            return False
        angle = math.degrees(math.atan2(dy, dx)) % 360.0
        return (angle - start_deg) % 360.0 <= (end_deg - start_deg) % 360.0
    return inside


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


# ---------------------------------------------------------------------------------------
# A true-colour canvas with straight alpha; shapes are sampled on a sub-pixel grid so
# edges are smooth.

class Canvas:
    SUB = 6  # samples per pixel along each axis

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [[tuple(fill) for _ in range(width)] for _ in range(height)]

    def put(self, x, y, rgb, alpha=1.0):
        """Composites a colour over one pixel with the given coverage."""
        if not (0 <= x < self.width and 0 <= y < self.height) or alpha <= 0:
            return
        r0, g0, b0, a0 = self.pixels[y][x]
        a0 /= 255.0
        a = alpha + a0 * (1 - alpha)
        mix = [(c * alpha + c0 * a0 * (1 - alpha)) / a for c, c0 in zip(rgb, (r0, g0, b0))]
        self.pixels[y][x] = tuple(int(round(v)) for v in mix) + (int(round(a * 255)),)

    def fill(self, shape, colour, box=None):
        """Fills a shape; colour is an (R, G, B) or a function of (x, y) giving one."""
        sub = self.SUB
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for sy in range(sub):
                    for sx in range(sub):
                        if shape(x + (sx + 0.5) / sub, y + (sy + 0.5) / sub):
                            hits += 1
                if hits:
                    rgb = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                    self.put(x, y, rgb, hits / (sub * sub))


# ---------------------------------------------------------------------------------------
# File writers.

def bitmap_info_header(width, height, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0, 0, 0)


def and_mask(transparent, width, height):
    """The 1-bit AND mask, bottom-up, each row padded to 32 bits; 1 = let the screen show."""
    stride = (width + 31) // 32 * 4
    out = bytearray()
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            if transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def icon_file(width, height, colour_count, bits, image):
    """An .ico holding one image (BITMAPINFOHEADER, palette, XOR bitmap, AND mask)."""
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, colour_count % 256, 0,
                        1, bits, len(image), 6 + 16)
    return header + entry + image


def write(name, data):
    with open(os.path.join(RES, name), "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------------------
# Program icon: a quill writing over a small window that shows colour swatches, in the
# 16 classic colours so it looks the same at every colour depth.

def draw_icon():
    size = 32
    img = [[None] * size for _ in range(size)]  # palette index, None = transparent

    def rect(x0, y0, x1, y1, index):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                img[y][x] = index

    # Window: black frame, navy caption with a close box, white client, swatches.
    rect(1, 9, 23, 29, BLACK)
    rect(2, 10, 22, 28, SILVER)
    rect(3, 11, 21, 14, NAVY)
    rect(18, 12, 20, 13, SILVER)
    rect(4, 12, 10, 12, WHITE)           # caption text stroke
    rect(3, 16, 21, 27, WHITE)
    rect(3, 16, 21, 16, GREY)            # sunken client edge
    rect(3, 16, 3, 27, GREY)
    swatches = [RED, YELLOW, LIME, BLUE]
    for i, index in enumerate(swatches):
        x = 5 + i * 4
        rect(x, 23, x + 2, 25, index)
    for x, y in ((4, 19), (5, 18), (6, 18), (7, 19), (8, 20), (9, 20)):
        img[y][x] = NAVY                 # the line the quill has just written
    rect(24, 11, 24, 30, GREY)           # shadow to the right and below
    rect(3, 30, 24, 30, GREY)

    # Quill: nib at the lower left, feather reaching to the upper right corner.
    ax, ay = 10.5, 21.5
    bx, by = 30.5, 1.0
    length = math.hypot(bx - ax, by - ay)
    ux, uy = (bx - ax) / length, (by - ay) / length
    quill = {}
    for y in range(size):
        for x in range(size):
            px, py = x + 0.5 - ax, y + 0.5 - ay
            t = (px * ux + py * uy) / length
            d = px * uy - py * ux          # > 0 on the lower right side of the shaft
            if t < 0 or t > 1:
                continue
            if t < 0.13:                   # metal-dark nib, widening from the point
                if abs(d) <= 0.2 + t * 7:
                    quill[(x, y)] = BLACK if abs(d) < 0.5 or t < 0.07 else GREY
                continue
            if t < 0.27:                   # bare quill shaft
                if abs(d) <= 0.9:
                    quill[(x, y)] = SILVER
                continue
            s = (t - 0.27) / 0.73
            width = 4.6 * math.sin(math.pi * min(1.0, s * 1.08)) ** 0.6
            if d > 0:
                width *= 0.85
            # two small splits in the vane, as real feathers have
            if d < 0 and abs(s - 0.40) < 0.035 or d > 0 and abs(s - 0.62) < 0.035:
                width *= 0.55
            if abs(d) <= width:
                if abs(d) < 0.5:
                    quill[(x, y)] = GREY   # the shaft through the vane
                else:
                    quill[(x, y)] = WHITE if d < 0 else SILVER
    outline = set()
    for (x, y) in quill:
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            n = (x + dx, y + dy)
            if n not in quill and 0 <= n[0] < size and 0 <= n[1] < size:
                outline.add(n)
    for (x, y) in outline:
        img[y][x] = BLACK
    for (x, y), index in quill.items():
        img[y][x] = index

    # XOR bitmap: 4 bits per pixel, bottom-up, rows padded to 32 bits.
    stride = (size * 4 + 31) // 32 * 4
    xor = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            index = img[y][x] or 0
            row[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor += row
    mask = and_mask(lambda x, y: img[y][x] is None, size, size)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE16)
    image = bitmap_info_header(size, size * 2, 4, len(xor) + len(mask)) + palette + xor + mask
    return icon_file(size, size, 16, 4, image)


# ---------------------------------------------------------------------------------------
# Button glyphs, 16 x 16, 32-bit with alpha.

def glyph_icon(canvas):
    size = canvas.width
    # Nearly clear edge samples become fully clear, so that the AND mask (for drawing
    # without alpha) and the alpha channel agree.
    pixels = [[(0, 0, 0, 0) if p[3] < 24 else p for p in row] for row in canvas.pixels]
    xor = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = pixels[y][x]
            xor += bytes((b, g, r, a))
    mask = and_mask(lambda x, y: pixels[y][x][3] == 0, size, size)
    image = bitmap_info_header(size, size * 2, 32, len(xor) + len(mask)) + bytes(xor) + mask
    return icon_file(size, size, 0, 32, image)


def vertical(top, bottom, y0, y1):
    """A colour function shading from top to bottom between rows y0 and y1."""
    def colour(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


def draw_close():
    c = Canvas(16, 16)
    arms = [((3.5, 3.5), (12.5, 12.5)), ((12.5, 3.5), (3.5, 12.5))]
    outline = union(*(stroke(list(arm), 2.3) for arm in arms))
    inner = union(*(stroke(list(arm), 1.35) for arm in arms))
    c.fill(outline, (140, 10, 10))
    c.fill(inner, vertical((255, 110, 100), (215, 20, 20), 2.0, 14.0))
    return glyph_icon(c)


def draw_ok():
    c = Canvas(16, 16)
    path = [(2.8, 8.6), (6.2, 12.0), (13.2, 4.0)]
    c.fill(stroke(path, 2.2), (20, 110, 20))
    c.fill(stroke(path, 1.25), vertical((140, 235, 110), (40, 170, 40), 3.0, 13.0))
    return glyph_icon(c)


def grown_polygon(points, margin):
    """A polygon widened by margin on every side, for drawing its outline."""
    inner = polygon(points)
    edges = list(zip(points, points[1:] + points[:1]))

    def inside(x, y):
        return inner(x, y) or any(
            seg_dist(x, y, a[0], a[1], b[0], b[1]) <= margin for a, b in edges)
    return inside


def draw_retry():
    c = Canvas(16, 16)
    cx, cy, r = 7.6, 8.9, 4.8
    # The ring runs clockwise from its tail (right) round the bottom, the left and the top,
    # and ends in an arrow head at the top that points on, to the right, into the gap.
    tail, head_at = 330.0, 92.0
    a = math.radians(head_at)
    base = [(cx + (r + s) * math.cos(a), cy - (r + s) * math.sin(a)) for s in (3.0, -3.0)]
    tangent = (math.sin(a), math.cos(a))           # clockwise direction on screen
    mid = (cx + r * math.cos(a), cy - r * math.sin(a))
    head = base + [(mid[0] + tangent[0] * 4.3, mid[1] + tangent[1] * 4.3)]
    c.fill(union(arc(cx, cy, r, 1.65, head_at, tail), grown_polygon(head, 0.9)), (20, 55, 140))
    shade = vertical((130, 190, 255), (30, 95, 215), 2.0, 14.0)
    c.fill(union(arc(cx, cy, r, 0.85, head_at, tail - 4.0), polygon(head)), shade)
    return glyph_icon(c)


# ---------------------------------------------------------------------------------------
# Maker's banner, 88 x 31: the maker's name in a pixel font beside a small quill, on a
# blue gradient inside a 1-pixel frame.

# Letters of the name, 2-pixel strokes, 10 rows from the top of the tallest letter to the
# baseline; lower-case letters fill the last 7 rows.
FONT = {
    "T": ["########", "########", "...##...", "...##...", "...##...",
          "...##...", "...##...", "...##...", "...##...", "...##..."],
    "o": [".####.", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."],
    "l": ["##"] * 10,
    "e": [".####.", "##..##", "##..##", "######", "##....", "##...#", ".#####"],
    "m": ["########.", "##..##.##", "##..##.##", "##..##.##",
          "##..##.##", "##..##.##", "##..##.##"],
    "a": [".####.", "....##", ".#####", "##..##", "##..##", "##..##", ".#####"],
    "r": ["##.###", "#####.", "###...", "##....", "##....", "##....", "##...."],
    "k": ["##....", "##....", "##....", "##..##", "##.##.", "####..", "###...",
          "####..", "##.##.", "##..##"],
}
FONT_HEIGHT = 10


def text_pixels(text, spacing=1):
    """The set of lit (x, y) pixels of text, with its width."""
    lit, x = set(), 0
    for ch in text:
        rows = FONT[ch]
        top = FONT_HEIGHT - len(rows)
        for y, row in enumerate(rows):
            for dx, mark in enumerate(row):
                if mark == "#":
                    lit.add((x + dx, top + y))
        x += len(rows[0]) + spacing
    return lit, x - spacing


def draw_banner():
    width, height = 88, 31
    c = Canvas(width, height)
    frame = (20, 36, 84)
    top, bottom = (64, 120, 200), (18, 52, 128)
    for y in range(height):
        t = (y - 1) / (height - 3)
        rgb = tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
        for x in range(width):
            edge = x in (0, width - 1) or y in (0, height - 1)
            c.pixels[y][x] = (frame if edge else rgb) + (255,)
    # A soft highlight along the top inside edge, so the banner reads as a raised plate.
    for x in range(1, width - 1):
        c.put(x, 1, (255, 255, 255), 0.35)

    # The quill: a white feather leaning right, its dark nib at the bottom left.
    ax, ay, bx, by = 4.5, 27.5, 17.0, 3.0
    length = math.hypot(bx - ax, by - ay)
    ux, uy = (bx - ax) / length, (by - ay) / length

    def along(x, y):
        px, py = x - ax, y - ay
        return (px * ux + py * uy) / length, px * uy - py * ux

    def vane(x, y):
        t, d = along(x, y)
        if not 0.28 <= t <= 1.0:
            return False
        s = (t - 0.28) / 0.72
        w = 4.0 * math.sin(math.pi * min(1.0, s * 1.06)) ** 0.6 * (0.8 if d > 0 else 1.0)
        if d < 0 and abs(s - 0.42) < 0.04 or d > 0 and abs(s - 0.66) < 0.04:
            w *= 0.5                       # splits in the vane
        return abs(d) <= w

    def shaft(x, y):
        t, d = along(x, y)
        return 0.1 <= t <= 0.95 and abs(d) <= 0.45

    def nib(x, y):
        t, d = along(x, y)
        return 0.0 <= t <= 0.14 and abs(d) <= 0.15 + t * 5.0

    box = (1, 1, 24, 30)
    c.fill(lambda x, y: vane(x - 1, y - 1) or nib(x - 1, y - 1), (10, 24, 64), box)  # shadow
    c.fill(vane, lambda x, y: (255, 255, 255) if along(x, y)[1] < 0 else (196, 212, 238), box)
    c.fill(shaft, (120, 136, 170), box)
    c.fill(nib, (236, 200, 96), box)

    lit, text_width = text_pixels("Tollemark")
    x0 = 22 + (width - 1 - 22 - text_width) // 2
    y0 = (height - FONT_HEIGHT) // 2
    for (x, y) in lit:
        c.put(x0 + x + 1, y0 + y + 1, (10, 24, 64))
    for (x, y) in lit:
        c.put(x0 + x, y0 + y, (255, 255, 255))

    # 24-bit BMP, bottom-up, rows padded to 4 bytes.
    stride = (width * 3 + 3) // 4 * 4
    data = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b, _ = c.pixels[y][x]
            row += bytes((b, g, r))
        data += row + bytes(stride - len(row))
    info = bitmap_info_header(width, height, 24, len(data))
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return file_header + info + bytes(data)


def main():
    os.makedirs(RES, exist_ok=True)
    write("quillane.ico", draw_icon())
    write("glyph-close.ico", draw_close())
    write("glyph-ok.ico", draw_ok())
    write("glyph-retry.ico", draw_retry())
    write("banner.bmp", draw_banner())


if __name__ == "__main__":
    main()
