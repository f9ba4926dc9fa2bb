#!/usr/bin/env python3
"""Writes the About box's pictures as 8-bit BMP files, run-length encoded (BI_RLE8): a palette of
256 colours keeps them at a third of the size of 24-bit ones in zentiq.exe, the runs of the
plain backgrounds at less than half again; the most frequent colours, the transparent magenta
among them, are kept exactly, the blends of the soft edges take the nearest of the rest. Every
row is encoded in full (no skips), so the decoded picture covers every pixel:

banner.bmp     212 x 56, the maker's banner for the black panel: the meter mark and the words
               ZENTIQ / DEVELOPERS.
lettering.bmp  117 x 54, the product's name as lettering, on magenta (255, 0, 255), the
               transparent colour; its soft edges are blended with the dialog face colour.

Everything is drawn from strokes and circles with distance-based anti-aliasing, so the output
depends only on this script (run it again after a change: python3 res/make_pictures.py res).
"""
import math
import struct
import sys

BLACK = (0, 0, 0)
MAGENTA = (255, 0, 255)
FACE = (224, 222, 214)  # between the classic and the XP dialog face colours
METER = [(0, 170, 60), (240, 210, 0), (225, 40, 20)]  # the meter bar's green, yellow and red


def lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def gradient(stops, t):
    t = min(max(t, 0.0), 1.0) * (len(stops) - 1)
    i = min(int(t), len(stops) - 2)
    return lerp(stops[i], stops[i + 1], t - i)


class Picture:
    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.px = [[tuple(float(c) for c in background)] * width for _ in range(height)]

    def paint(self, coverage, colour):
        """Blends `colour` (an RGB tuple or a function of x, y) over the pixels by coverage."""
        for (x, y), a in coverage.items():
            if 0 <= x < self.width and 0 <= y < self.height and a > 0:
                c = colour(x, y) if callable(colour) else colour
                self.px[y][x] = lerp(self.px[y][x], c, min(a, 1.0))

    def rgb(self):
        return [[tuple(int(round(min(max(c, 0), 255))) for c in self.px[y][x])
                 for x in range(self.width)] for y in range(self.height)]

    def bmp(self):
        pixels = self.rgb()
        palette = quantise([p for line in pixels for p in line], 256)
        index = {}
        data = bytearray()
        for y in reversed(range(self.height)):
            line = bytearray()
            for p in pixels[y]:
                if p not in index:
                    index[p] = min(range(len(palette)), key=lambda i: distance(p, palette[i]))
                line.append(index[p])
            data += rle8_row(line)
        data += bytes((0, 1))  # end of bitmap
        table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
        table += bytes(4 * (256 - len(palette)))
        offset = 14 + 40 + len(table)
        header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 8, 1, len(data),
                           2835, 2835, 256, 0)
        return header + info + table + bytes(data)


def rle8_row(line):
    """One row in BI_RLE8: runs of two or more as (count, index), the rest as absolute groups of
    three or more (padded to a word), single leftovers as runs of one; then the end of the line."""
    out = bytearray()
    i, n = 0, len(line)
    while i < n:
        j = i
        while j < n and j - i < 255 and line[j] == line[i]:
            j += 1
        if j - i >= 2:
            out += bytes((j - i, line[i]))
            i = j
            continue
        k = i
        while k < n and k - i < 255 and not (k + 1 < n and line[k] == line[k + 1]):
            k += 1
        if k - i >= 3:
            out += bytes((0, k - i)) + line[i:k] + bytes((k - i) % 2)
        else:
            for x in range(i, k):
                out += bytes((1, line[x]))
        i = k
    return out + bytes((0, 0))


def quantise(pixels, size, exact=64):
    """A palette of at most `size` colours: the `exact` most frequent colours as they are, and
    the others split by median cut (along their widest channel) into boxes whose weighted mean
    colours complete the palette."""
    counts = {}
    for p in pixels:
        counts[p] = counts.get(p, 0) + 1
    ranked = sorted(counts, key=lambda p: (-counts[p], p))
    if len(ranked) <= size:
        return ranked
    palette = ranked[:exact]
    boxes = [ranked[exact:]]
    while len(boxes) < size - exact:
        boxes.sort(key=lambda b: max(max(p[c] for p in b) - min(p[c] for p in b)
                                     for c in range(3)) if len(b) > 1 else -1)
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        channel = max(range(3), key=lambda c: max(p[c] for p in box) - min(p[c] for p in box))
        box.sort(key=lambda p: p[channel])
        boxes += [box[:len(box) // 2], box[len(box) // 2:]]
    means = [mean(box, counts) for box in boxes]
    rest = ranked[exact:]
    for _ in range(4):  # a few rounds of nearest-mean refinement
        groups = [[] for _ in means]
        for p in rest:
            groups[min(range(len(means)), key=lambda i: distance(p, means[i]))].append(p)
        means = [mean(g, counts) if g else m for g, m in zip(groups, means)]
    return palette + [tuple(int(round(c)) for c in m) for m in means]


def mean(colours, counts):
    weight = sum(counts[p] for p in colours)
    return tuple(sum(p[c] * counts[p] for p in colours) / weight for c in range(3))


def distance(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b))

def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def strokes(paths, width, grow=0.0):
    """Coverage of round-capped polylines `width` pixels wide (plus `grow` on each side)."""
    half = width / 2 + grow
    cover = {}
    for path in paths:
        for (ax, ay), (bx, by) in zip(path, path[1:] or path):
            x0, x1 = int(min(ax, bx) - half - 2), int(max(ax, bx) + half + 2)
            y0, y1 = int(min(ay, by) - half - 2), int(max(ay, by) + half + 2)
            for y in range(y0, y1 + 1):
                for x in range(x0, x1 + 1):
                    d = segment_distance(x + 0.5, y + 0.5, ax, ay, bx, by)
                    a = half + 0.5 - d
                    if a > cover.get((x, y), 0.0):
                        cover[(x, y)] = min(a, 1.0)
    return cover


def rounded_box(x0, y0, x1, y1, radius):
    """Coverage of a filled rectangle with rounded corners."""
    cover = {}
    for y in range(int(y0) - 1, int(y1) + 2):
        for x in range(int(x0) - 1, int(x1) + 2):
            cx = min(max(x + 0.5, x0 + radius), x1 - radius)
            cy = min(max(y + 0.5, y0 + radius), y1 - radius)
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) - radius
            a = 0.5 - d
            if a > 0:
                cover[(x, y)] = min(a, 1.0)
    return cover


def arc(cx, cy, rx, ry, start, end, steps=24):
    """Points of an elliptic arc; angles in degrees, y downwards (90 is the bottom)."""
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


# A geometric stroke alphabet: capitals are 1 high (baseline at 1), small letters have their
# x-height at 0.4 and descend to 1.35. Each glyph: (advance width, [paths]).
GLYPHS = {
    'Z': (0.62, [[(0, 0), (0.62, 0), (0, 1), (0.62, 1)]]),
    'E': (0.52, [[(0.52, 0), (0, 0), (0, 1), (0.52, 1)], [(0, 0.5), (0.44, 0.5)]]),
    'N': (0.66, [[(0, 1), (0, 0), (0.66, 1), (0.66, 0)]]),
    'T': (0.62, [[(0, 0), (0.62, 0)], [(0.31, 0), (0.31, 1)]]),
    'I': (0.0, [[(0, 0), (0, 1)]]),
    'H': (0.64, [[(0, 0), (0, 1)], [(0.64, 0), (0.64, 1)], [(0, 0.5), (0.64, 0.5)]]),
    'O': (0.9, [arc(0.45, 0.5, 0.45, 0.5, 0, 360, 48)]),
    'Q': (0.9, [arc(0.45, 0.5, 0.45, 0.5, 0, 360, 48), [(0.58, 0.72), (0.92, 1.04)]]),
    'D': (0.7, [[(0.25, 1), (0, 1), (0, 0), (0.25, 0)] + arc(0.25, 0.5, 0.45, 0.5, -90, 90)[1:]]),
    'V': (0.68, [[(0, 0), (0.34, 1), (0.68, 0)]]),
    'L': (0.5, [[(0, 0), (0, 1), (0.5, 1)]]),
    'P': (0.58, [[(0, 1), (0, 0), (0.3, 0)] + arc(0.3, 0.27, 0.28, 0.27, -90, 90)[1:] +
                 [(0, 0.54)]]),
    'R': (0.6, [[(0, 1), (0, 0), (0.3, 0)] + arc(0.3, 0.27, 0.28, 0.27, -90, 90)[1:] +
                [(0, 0.54)], [(0.28, 0.54), (0.6, 1)]]),
    'S': (0.58, [arc(0.29, 0.255, 0.28, 0.245, -25, -270) + arc(0.29, 0.745, 0.29, 0.255, -90, 155)[1:]]),
    'e': (0.6, [[(0.02, 0.7), (0.6, 0.7)] + arc(0.3, 0.7, 0.3, 0.3, 0, -305, 40)]),
    'n': (0.52, [[(0, 0.4), (0, 1)], [(0, 0.66)] + arc(0.26, 0.66, 0.26, 0.26, 180, 360) +
                 [(0.52, 1)]]),
    't': (0.38, [[(0.12, 0.12), (0.12, 0.84)] + arc(0.3, 0.84, 0.18, 0.16, 180, 90)[1:] +
                 [(0.38, 1)], [(0, 0.4), (0.36, 0.4)]]),
    'i': (0.0, [[(0, 0.4), (0, 1)], [(0, 0.16)]]),
    'q': (0.6, [arc(0.3, 0.7, 0.3, 0.3, 0, 360, 40), [(0.6, 0.4), (0.6, 1.35)]]),
}


def text_paths(text, x, y, size, spacing):
    """Paths of `text` with its top-left corner at (x, y), `size` pixels to the capital height,
    `spacing` pixels between letters. Returns the paths and the right edge."""
    paths = []
    for ch in text:
        advance, glyph = GLYPHS[ch]
        paths += [[(x + px * size, y + py * size) for px, py in path] for path in glyph]
        x += advance * size + spacing
    return paths, x - spacing


def text_width(text, size, spacing):
    return sum(GLYPHS[c][0] for c in text) * size + spacing * (len(text) - 1)


def banner():
    pic = Picture(212, 56, BLACK)
    # The mark: a dark rounded tile with a rising bar chart in the meter's colours.
    mark = 22
    pic.paint(rounded_box(mark, 6, mark + 44, 50, 7),
              lambda x, y: lerp((62, 68, 78), (26, 29, 34), (y - 6) / 44))
    bars = [10, 16, 23, 30, 36]
    for i, h in enumerate(bars):
        x0 = mark + 5 + i * 7.4
        colour = gradient(METER, i / (len(bars) - 1))
        pic.paint(rounded_box(x0, 44 - h, x0 + 5, 44, 1.2), colour)
    # The words: ZENTIQ in white, DEVELOPERS tracked out to the same width beneath.
    left, size = mark + 56, 22
    paths, right = text_paths('ZENTIQ', left, 9, size, 7)
    pic.paint(strokes(paths, 3.4), (245, 245, 245))
    small = 8
    spacing = ((right - left) - text_width('DEVELOPERS', small, 0)) / 9
    paths, _ = text_paths('DEVELOPERS', left, 40, small, spacing)
    pic.paint(strokes(paths, 1.4), (40, 200, 90))
    pic.paint(strokes([[(left, 35.5), (right, 35.5)]], 0.8), (90, 96, 104))
    return pic


def lettering():
    pic = Picture(117, 54, FACE)
    size, spacing, weight = 29, 5.5, 5.2
    width = text_width('Zentiq', size, spacing) + weight
    left = (117 - width) / 2 + weight / 2
    top = 5
    paths, right = text_paths('Zentiq', left, top, size, spacing)
    shadow = [[(x + 1.6, y + 1.8) for x, y in p] for p in paths]
    pic.paint(strokes(shadow, weight, 0.6), (120, 120, 120))
    pic.paint(strokes(paths, weight, 1.1), (20, 40, 30))
    fill = lambda x, y: lerp(gradient(METER, (x - left) / (right - left)), (255, 255, 255),
                             max(0.0, 0.35 - (y - top) / size * 0.7))
    pic.paint(strokes(paths, weight), fill)
    # Pixels the lettering does not touch at all become the transparent colour.
    for y in range(pic.height):
        for x in range(pic.width):
            if pic.px[y][x] == tuple(float(c) for c in FACE):
                pic.px[y][x] = MAGENTA
    return pic


if __name__ == '__main__':
    folder = sys.argv[1] if len(sys.argv) > 1 else '.'
    open(f'{folder}/banner.bmp', 'wb').write(banner().bmp())
    open(f'{folder}/lettering.bmp', 'wb').write(lettering().bmp())
