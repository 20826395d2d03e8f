#!/usr/bin/env python3
"""Draws the program's two images with the standard library only and writes them next to
this script:

  printer.bmp  256 x 164, 24-bit: a black line drawing of a dot-matrix printer on white
               (the picture on the settings page);
  pl4120.ico   32 x 32, 16 colours with a transparency mask: a printer (the window icon);
  icons/       the same printer for the desktop's icon theme: pl4120.svg (scalable, square
               for square with the 32 x 32 pixels) and pl4120-N.png for N = 32, 64, 128, 256
               (each pixel of the icon enlarged to an N/32 square, with transparency).

Run it again after changing a drawing: python3 assets/draw_assets.py
"""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    def __init__(self, width, height, background):
        self.width = width
        self.height = height
        self.pixels = [[background] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.dot(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polyline(self, points, colour):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.line(x0, y0, x1, y1, colour)

    def rect(self, x, y, w, h, colour):
        self.polyline([(x, y), (x + w - 1, y), (x + w - 1, y + h - 1), (x, y + h - 1), (x, y)],
                      colour)

    def fill(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.dot(xx, yy, colour)

    def circle(self, cx, cy, r, colour):
        x, y, err = r, 0, 1 - r
        while x >= y:
            for px, py in ((x, y), (y, x), (-y, x), (-x, y), (-x, -y), (-y, -x), (y, -x),
                           (x, -y)):
                self.dot(cx + px, cy + py, colour)
            y += 1
            if err < 0:
                err += 2 * y + 1
            else:
                x -= 1
                err += 2 * (y - x) + 1


def draw_picture():
    black, white = (0, 0, 0), (255, 255, 255)
    c = Canvas(256, 164, white)
    # Continuous paper standing up out of the feed slot, with its tractor holes.
    c.polyline([(70, 62), (70, 6), (186, 6), (186, 62)], black)
    c.line(80, 6, 80, 62, black)
    c.line(176, 6, 176, 62, black)
    for y in range(12, 60, 8):
        c.circle(75, y, 2, black)
        c.circle(181, y, 2, black)
    for y in range(16, 56, 7):  # a few lines of print
        c.line(88, y, 88 + (y * 37) % 70 + 10, y, black)
    # Top cover, slanting back, with the feed slot.
    c.polyline([(36, 92), (56, 58), (200, 58), (220, 92)], black)
    c.rect(64, 62, 128, 6, black)
    # Body.
    c.rect(28, 92, 200, 50, black)
    c.line(28, 100, 227, 100, black)
    # Platen knob on the right side.
    c.rect(228, 104, 8, 22, black)
    c.line(236, 108, 236, 122, black)
    # Control panel: three buttons and two lamps.
    c.rect(150, 110, 64, 22, black)
    for x in (156, 176, 196):
        c.rect(x, 118, 12, 8, black)
    c.circle(158, 114, 1, black)
    c.circle(166, 114, 1, black)
    # Ventilation slits and the name plate.
    for x in range(40, 100, 8):
        c.line(x, 112, x, 132, black)
    c.rect(108, 116, 34, 10, black)
    # Feet.
    c.rect(40, 142, 24, 6, black)
    c.rect(192, 142, 24, 6, black)
    # Paper coming out at the front and lying on the table.
    c.polyline([(96, 142), (88, 156), (168, 156), (160, 142)], black)
    c.line(20, 157, 236, 157, black)
    return c


def write_bmp24(canvas, path):
    row_size = (canvas.width * 3 + 3) & ~3
    image = bytearray()
    for row in reversed(canvas.pixels):
        data = bytearray()
        for r, g, b in row:
            data += bytes((b, g, r))
        image += data + b"\0" * (row_size - len(data))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(image),
                       3780, 3780, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + image)


# The standard 16-colour palette.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREEN, SILVER, GREY, WHITE = 0, 10, 7, 8, 15
TRANSPARENT = -1


def draw_icon():
    c = Canvas(32, 32, TRANSPARENT)
    # Paper sheet with printed lines.
    c.fill(9, 2, 14, 12, WHITE)
    c.rect(9, 2, 14, 12, BLACK)
    for y in (5, 8, 11):
        c.line(11, y, 20, y, GREY)
    # Body with a dark slot and a shaded front.
    c.fill(3, 13, 26, 13, SILVER)
    c.rect(3, 13, 26, 13, BLACK)
    c.line(7, 15, 24, 15, BLACK)
    c.fill(4, 22, 24, 3, GREY)
    c.dot(24, 18, GREEN)
    c.dot(25, 18, GREEN)
    # Printed sheet coming out at the front, and the feet.
    c.fill(9, 26, 14, 3, WHITE)
    c.polyline([(9, 26), (9, 28), (22, 28), (22, 26)], BLACK)
    c.fill(5, 26, 3, 2, BLACK)
    c.fill(24, 26, 3, 2, BLACK)
    return c


def write_ico16(canvas, path):
    w, h = canvas.width, canvas.height
    xor = bytearray()
    mask = bytearray()
    mask_row = ((w + 31) // 32) * 4
    for row in reversed(canvas.pixels):
        for x in range(0, w, 2):
            hi, lo = (max(row[x], 0), max(row[x + 1], 0))
            xor.append((hi << 4) | lo)
        bits = bytearray(mask_row)
        for x, index in enumerate(row):
            if index == TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE16)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def rgba(index):
    if index == TRANSPARENT:
        return (0, 0, 0, 0)
    return PALETTE16[index] + (255,)


def write_png(canvas, scale, path):
    """The canvas of palette indices as an 8-bit RGBA PNG, each pixel a scale x scale square."""
    raw = bytearray()
    for row in canvas.pixels:
        line = b"".join(bytes(rgba(index)) * scale for index in row)
        for _ in range(scale):
            raw += b"\0" + line  # filter type 0 for every scan line

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", canvas.width * scale, canvas.height * scale, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write_svg(canvas, path):
    """The canvas as squares of one unit per pixel; runs of one colour along a row become one
    rectangle."""
    shapes = []
    for y, row in enumerate(canvas.pixels):
        x = 0
        while x < canvas.width:
            index = row[x]
            end = x
            while end < canvas.width and row[end] == index:
                end += 1
            if index != TRANSPARENT:
                r, g, b = PALETTE16[index]
                shapes.append('  <rect x="%d" y="%d" width="%d" height="1" fill="#%02x%02x%02x"/>'
                              % (x, y, end - x, r, g, b))
            x = end
    svg = ('<?xml version="1.0" encoding="UTF-8"?>\n'
           '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d" '
           'shape-rendering="crispEdges">\n'
           '  <title>ПЛ 4120</title>\n%s\n</svg>\n'
           % (canvas.width, canvas.height, canvas.width, canvas.height, "\n".join(shapes)))
    with open(path, "w", encoding="utf-8") as f:
        f.write(svg)


if __name__ == "__main__":
    write_bmp24(draw_picture(), os.path.join(HERE, "printer.bmp"))
    icon = draw_icon()
    write_ico16(icon, os.path.join(HERE, "pl4120.ico"))
    os.makedirs(os.path.join(HERE, "icons"), exist_ok=True)
    write_svg(icon, os.path.join(HERE, "icons", "pl4120.svg"))
    for size in (32, 64, 128, 256):
        write_png(icon, size // icon.width, os.path.join(HERE, "icons", "pl4120-%d.png" % size))
