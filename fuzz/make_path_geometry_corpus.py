#!/usr/bin/env python3
"""Writes the seed corpus fuzz/corpus/path_geometry/ (the files are committed).

Layout read by fuzz_path_geometry: a count byte, then per element a kind byte (0 move,
1 line, 2 curve, 3 close) and its points (a close still reads one), then three
parameters, a probe point and an index byte (value + 8, or 0xFC to 0xFF for INT_MIN, -1,
the element count and INT_MAX); then, optional, a scale byte (a signed power of 256), a
constraint angle, a curve parameter, two rectangles (origin, size) and four points. Each
number is two big-endian bytes: value x 16 + 0x8000, or one of the special codes from
0xFFF8 on.

usage: make_path_geometry_corpus.py
"""

import os
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "path_geometry")
SPECIAL = ["nan", "inf", "-inf", "1e300", "-1e300", "1e18", "-1e18", "tiny"]


def number(value):
    if isinstance(value, str):
        return struct.pack(">H", 0xFFF8 + SPECIAL.index(value))
    return struct.pack(">H", int(round(value * 16)) + 0x8000)


def seed(elements, parameters, probe, index, tail=None):
    out = bytes([len(elements)])
    for kind, points in elements:
        out += bytes([kind])
        for x, y in points or [(0, 0)]:
            out += number(x) + number(y)
    for value in parameters:
        out += number(value)
    out += number(probe[0]) + number(probe[1]) + bytes([index if index >= 0xFC else index + 8])
    if tail:
        scale, angle, t, rects, points = tail
        out += bytes([scale & 0xFF]) + number(angle) + number(t)
        for x, y in [p for rect in rects for p in rect] + points:
            out += number(x) + number(y)
    return out


INT_MAX_INDEX, ELEMENT_COUNT_INDEX = 0xFF, 0xFE
SQUARE = [(0, [(0, 0)]), (1, [(100, 0)]), (1, [(100, 100)]), (1, [(0, 100)]), (3, [])]
OVERLAPPING = [((0, 0), (10, 10)), ((5, 0), (10, 10))]
VERTEX = [(10, 0.1), (0, 0), (-10, 0.1), (30, 5)]


SEEDS = {
    "line": seed([(0, [(0, 0)]), (1, [(100, 0)])], [25, 5, 0.5], (30, 0.5), 4),
    "closed_square": seed([(0, [(0, 0)]), (1, [(100, 0)]), (1, [(100, 100)]), (1, [(0, 100)]), (3, [])],
                          [20, 3, 1], (100, 50), 8),
    "curves_two_subpaths": seed([(0, [(0, 0)]), (2, [(10, 50), (90, 50), (100, 0)]), (0, [(200, 0)]),
                                 (2, [(210, -40), (290, 40), (300, 0)]), (1, [(200, 0)])],
                                [37.5, -4, 0.25], (50, 37.5), 6),
    "special_values": seed([(0, [("nan", 0)]), (1, [("inf", "-inf")]),
                            (2, [("1e300", 1), (2, "-1e300"), ("1e18", "-1e18")]), (3, [])],
                           ["nan", "inf", "tiny"], ("nan", 0), 4),
    "huge_but_measurable": seed([(0, [("1e18", 0)]), (2, [(0, "1e18"), ("-1e18", 0), (0, "-1e18")]), (3, [])],
                                [1000, 0, 0], (0, 0), 12),
    "oval": seed([(0, [(100, 50)]), (2, [(100, 77.6), (77.6, 100), (50, 100)]),
                  (2, [(22.4, 100), (0, 77.6), (0, 50)]), (2, [(0, 22.4), (22.4, 0), (50, 0)]),
                  (2, [(77.6, 0), (100, 22.4), (100, 50)]), (3, [])], [10, 2, 0.5], (50, 50), 9),
    # The tail: scales of 256^120 and 256^-127, no constraint angle, rectangles and points.
    "huge_scale": seed(SQUARE, [20, 3, 1], (100, 50), 8, (120, 0.25, 0.5, OVERLAPPING, VERTEX)),
    "tiny_scale": seed(SQUARE, [20, 3, 1], (100, 50), 8, (-127, 0.25, 0.5, OVERLAPPING, VERTEX)),
    "no_constraint": seed(SQUARE, [1, 1, 1], (50, 3), 8, (0, 0, 0.5, OVERLAPPING, VERTEX)),
    "largest_index": seed(SQUARE, [20, 3, 1], (100, 0), INT_MAX_INDEX, (0, 0.25, 1.5, OVERLAPPING, VERTEX)),
    "count_index": seed(SQUARE, [20, 3, 1], (0, 100), ELEMENT_COUNT_INDEX, (0, "nan", -0.5, OVERLAPPING, VERTEX)),
    # 1e18 positions: refused at once.
    "too_many_positions": seed([(0, [(0, 0)]), (1, [("1e18", 0)])], [1, 3, 1], (30, 0), 4),
}

if __name__ == "__main__":
    os.makedirs(CORPUS, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(CORPUS, name + ".bin"), "wb") as out:
            out.write(data)
