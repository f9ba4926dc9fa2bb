#!/usr/bin/env python3
"""Writes the program's 16-colour icons (zentiq.ico 32x32 and 16x16, tray16.ico 16x16)."""
import struct
import sys

# The standard 16-colour palette (B, G, R, 0).
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
           (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
           (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
BLACK, GREEN, DGRAY, RED, LIME, YELLOW, WHITE, SILVER = 0, 2, 8, 9, 10, 11, 15, 7


def meter(size):
    """A dark rounded panel with a rising green-yellow-red bar chart."""
    px = [[None] * size for _ in range(size)]
    s = size / 16.0
    for y in range(size):
        for x in range(size):
            if 0 < x < size - 1 and 0 < y < size - 1 or (x in (0, size - 1)) != (y in (0, size - 1)):
                px[y][x] = DGRAY if x in (0, size - 1) or y in (0, size - 1) else BLACK
    heights = [3, 5, 7, 9, 11, 13]
    colours = [LIME, LIME, LIME, YELLOW, YELLOW, RED]
    for i, (h, c) in enumerate(zip(heights, colours)):
        x0 = int((2 + i * 2) * s)
        for x in range(x0, x0 + max(1, int(s * 1.5))):
            for y in range(int((14 - h) * s), int(14 * s)):
                if 0 < x < size - 1 and 0 < y < size - 1:
                    px[y][x] = c
    return px


def image(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in
                   [(p[2], p[1], p[0]) for p in PALETTE])
    xor = b''
    row_bytes = ((size * 4 + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray(row_bytes)
        for x in range(size):
            v = px[y][x] if px[y][x] is not None else 0
            row[x // 2] |= v << (4 if x % 2 == 0 else 0)
        xor += bytes(row)
    and_bytes = ((size + 31) // 32) * 4
    mask = b''
    for y in reversed(range(size)):
        row = bytearray(and_bytes)
        for x in range(size):
            if px[y][x] is None:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(row)
    return header + pal + xor + mask


def ico(sizes):
    images = [image(meter(s)) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


if __name__ == '__main__':
    folder = sys.argv[1] if len(sys.argv) > 1 else '.'
    open(f'{folder}/zentiq.ico', 'wb').write(ico([32, 16]))
    open(f'{folder}/tray32.ico', 'wb').write(ico([32]))
    open(f'{folder}/tray16.ico', 'wb').write(ico([16]))
