#!/usr/bin/env python3
"""Draws the page library's bitmaps and icon: the four arrow buttons
(32 x 32, 4 bits per pixel, uncompressed) and the tab icon (32 x 32 and
16 x 16, 16 colours), all on the 16-colour VGA palette of Windows.

    draw_resources.py [DIR]          writes the files into DIR (page/resources)
    draw_resources.py --check [DIR]  exits 1 if a file in DIR differs
"""

import os
import struct
import sys

# The 16 colours of the Windows VGA palette, in palette order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_CYAN, LIGHT_GREY, DARK_GREY, YELLOW, CYAN, WHITE = 0, 6, 7, 8, 11, 14, 15
BUTTON_FACE = LIGHT_GREY
ARROW_FILL = DARK_GREY
ARROW_OUTLINE = BLACK

SIZE = 32
BITMAP_INFO_HEADER_SIZE = 40
FILE_HEADER_SIZE = 14
BITS_PER_PIXEL = 4
BI_RGB = 0


def palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)


def row_bytes(bits):
    """A bitmap row of `bits` bits, padded to a multiple of 4 bytes."""
    return (bits + 31) // 32 * 4


def pack_4bpp(pixels, width):
    """Rows bottom-up, two pixels a byte, the left one in the high nibble."""
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray(row_bytes(width * BITS_PER_PIXEL))
        for x, index in enumerate(row):
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        out += line
    return bytes(out)


def pack_mask(mask, width):
    """The icon's AND mask: 1 where the picture is transparent."""
    out = bytearray()
    for row in reversed(mask):
        line = bytearray(row_bytes(width))
        for x, transparent in enumerate(row):
            if transparent:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def info_header(width, height, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", BITMAP_INFO_HEADER_SIZE, width, height, 1,
                       BITS_PER_PIXEL, BI_RGB, image_size, 0, 0, colours_used, 0)


def bitmap_file(pixels):
    bits = pack_4bpp(pixels, SIZE)
    offset = FILE_HEADER_SIZE + BITMAP_INFO_HEADER_SIZE + len(PALETTE) * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return header + info_header(SIZE, SIZE, len(bits), len(PALETTE)) + palette_bytes() + bits


def inside_up_arrow(x, y):
    """The up arrow: a head from row 4 to 15 and a shaft down to row 27,
    symmetric about the middle of the 32 columns."""
    across = abs(x - 15.5)
    if 4 <= y <= 15:
        return across <= (y - 4) + 0.5
    if 16 <= y <= 27:
        return across <= 4.5
    return False


def arrow(inside):
    """An outlined arrow on the button face: pixels inside with a neighbour
    outside (of the eight) are the outline, the rest the fill."""
    def at(x, y):
        return 0 <= x < SIZE and 0 <= y < SIZE and inside(x, y)

    pixels = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if not at(x, y):
                row.append(BUTTON_FACE)
            elif all(at(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                row.append(ARROW_FILL)
            else:
                row.append(ARROW_OUTLINE)
        pixels.append(row)
    return pixels


ARROWS = {
    "arrow_up.bmp": lambda x, y: inside_up_arrow(x, y),
    "arrow_left.bmp": lambda x, y: inside_up_arrow(y, x),
    "arrow_right.bmp": lambda x, y: inside_up_arrow(y, SIZE - 1 - x),
    "arrow_down.bmp": lambda x, y: inside_up_arrow(x, SIZE - 1 - y),
}


class Canvas:
    """A transparent picture that shapes are painted on."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[None] * size for _ in range(size)]

    def point(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def box(self, left, top, right, bottom, fill, border=BLACK):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                edge = x in (left, right) or y in (top, bottom)
                self.point(x, y, border if edge else fill)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            self.point(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)


def tv_icon(size):
    """A television: antenna, a grey cabinet with a cyan screen, two knobs
    and two feet. Drawn in units of size / 16 pixels."""
    u = size // 16
    c = Canvas(size)
    c.line(8 * u, 3 * u, 5 * u, 0, BLACK)
    c.line(8 * u, 3 * u, 11 * u, 0, BLACK)
    c.box(3 * u, 13 * u, 4 * u + u - 1, 14 * u + u - 1, BLACK)
    c.box(11 * u, 13 * u, 12 * u + u - 1, 14 * u + u - 1, BLACK)
    c.box(0, 3 * u, 16 * u - 1, 13 * u + u - 1, LIGHT_GREY)
    c.box(2 * u, 5 * u, 11 * u + u - 1, 11 * u + u - 1, CYAN)
    c.point(3 * u + u - 1, 6 * u + u - 1, WHITE)
    c.box(13 * u, 6 * u, 13 * u + u - 1, 6 * u + u - 1, YELLOW, DARK_GREY if u == 1 else BLACK)
    c.box(13 * u, 9 * u, 13 * u + u - 1, 9 * u + u - 1, YELLOW, DARK_GREY if u == 1 else BLACK)
    return c.pixels


def icon_image(picture):
    size = len(picture)
    xor = pack_4bpp([[BLACK if p is None else p for p in row] for row in picture], size)
    mask = pack_mask([[p is None for p in row] for row in picture], size)
    # An icon's header counts both masks in its height.
    return info_header(size, 2 * size, len(xor) + len(mask), 0) + palette_bytes() + xor + mask


def icon_file(pictures):
    images = [icon_image(p) for p in pictures]
    directory_size = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = directory_size
    for picture, image in zip(pictures, images):
        size = len(picture)
        out += struct.pack("<BBBBHHII", size, size, len(PALETTE), 0, 1, BITS_PER_PIXEL,
                           len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def drawings():
    files = {name: bitmap_file(arrow(inside)) for name, inside in ARROWS.items()}
    files["tv_out.ico"] = icon_file([tv_icon(32), tv_icon(16)])
    return files


def main(argv):
    check = "--check" in argv
    rest = [a for a in argv if a != "--check"]
    here = os.path.dirname(os.path.abspath(__file__))
    directory = rest[0] if rest else os.path.join(here, "..", "page", "resources")
    differing = []
    for name, data in sorted(drawings().items()):
        path = os.path.join(directory, name)
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        differing.append(name)
            except OSError:
                differing.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if differing:
        print("differ from their drawing: " + ", ".join(differing), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
