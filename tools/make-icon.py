#!/usr/bin/env python3
"""Draws the program's icon: one 32x32 image in the 16 standard colours, a
blue box with a white down arrow (an update arriving) over a grey tray.

Writes src/platform/windows/MainIcon.ico. Run it again only to change the picture."""
import struct
import sys

PALETTE = [  # the 16 colours of the standard Windows palette, as (r, g, b)
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, GREY, SILVER, BLUE, WHITE = 0, 4, 8, 7, 12, 15


def picture():
    size = 32
    pixels = [[None] * size for _ in range(size)]  # None: transparent

    def box(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                pixels[y][x] = colour

    box(3, 2, 28, 22, NAVY)        # outline
    box(4, 3, 27, 21, BLUE)
    box(13, 5, 18, 13, WHITE)      # arrow shaft
    for row in range(7):           # arrow head
        box(9 + row, 14 + row, 22 - row, 14 + row, WHITE)
    box(2, 24, 29, 29, BLACK)      # tray
    box(3, 25, 28, 28, SILVER)
    box(3, 28, 28, 28, GREY)
    return pixels


def ico(pixels):
    size = len(pixels)
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        row = pixels[y]
        for x in range(0, size, 2):
            hi = row[x] if row[x] is not None else 0
            lo = row[x + 1] if row[x + 1] is not None else 0
            xor.append((hi << 4) | lo)
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        mask += bits.to_bytes(4, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 22)
    return directory + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "src/platform/windows/MainIcon.ico"
    with open(out, "wb") as f:
        f.write(ico(picture()))
