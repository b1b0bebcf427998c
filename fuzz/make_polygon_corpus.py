#!/usr/bin/env python3
"""Writes the seed corpora fuzz/corpus/polygon_text/ and fuzz/corpus/polygon_clip/ (the files
are committed).

polygon_text: polygons as the reader takes them: the contour count, then per contour the vertex
count, the hole flag and x y per vertex (read once with flags and once without).

polygon_clip: per polygon a contour count byte, then per contour a vertex count byte and two
coordinate bytes per vertex. A coordinate byte c (mod 24) is c itself below 16, else one of
5e-324, 1 + ulp, 8 - ulp, 1e300, -1e300, NaN, inf, -inf.

usage: make_polygon_corpus.py
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))
SPECIAL = ["tiny", "1+ulp", "8-ulp", "1e300", "-1e300", "nan", "inf", "-inf"]

TEXT = {
    "unit_square.txt": "1\n4\n0\n 0.000000000000000  0.000000000000000\n 1.000000000000000  0.000000000000000\n"
                       " 1.000000000000000  1.000000000000000\n 0.000000000000000  1.000000000000000\n",
    "square_with_hole.txt": "2\n4\n0\n0 0\n10 0\n10 10\n0 10\n4\n1\n2 2\n2 6\n6 6\n6 2\n",
    "empty_contour.txt": "3\n0\n0\n3\n0\n-1.5 2e3\n+4 .5\n7. -0\n1\n1\n1e-300 123456789.123456789\n",
    "no_contours.txt": "0\n",
    "huge_count.txt": "1\n2147483647\n0\n0 0\n",
    "truncated.txt": "2\n3\n0\n0 0\n1 0\n",
}


def coordinate(value):
    if isinstance(value, str):
        return bytes([16 + SPECIAL.index(value)])
    return bytes([value])


def polygon(contours):
    out = bytes([len(contours)])
    for contour in contours:
        out += bytes([len(contour)])
        for x, y in contour:
            out += coordinate(x) + coordinate(y)
    return out


CLIP = {
    "squares.bin": polygon([[(0, 0), (10, 0), (10, 10), (0, 10)]]) + polygon([[(5, 5), (15, 5), (15, 15), (5, 15)]]),
    "nested.bin": polygon([[(0, 0), (12, 0), (12, 12), (0, 12)], [(3, 3), (3, 9), (9, 9), (9, 3)]])
    + polygon([[(6, 0), (15, 6), (6, 15), (0, 6)]]),
    "self_crossing.bin": polygon([[(0, 0), (15, 15), (15, 0), (0, 15)]]) + polygon([[(0, 7), (15, 7), (7, 15)]]),
    "collinear_and_shared.bin": polygon([[(0, 0), (4, 0), (8, 0), (8, 4), (4, 4), (4, 0), (0, 4)]])
    + polygon([[(4, 0), (8, 0), (8, 8), (4, 8)], [(2, 2), (2, 2), (2, 2)]]),
    "specials.bin": polygon([[(0, 0), ("1e300", 0), (5, 5)], [(1, 1), ("nan", 2), (3, 3)], [(0, 0), (4, 0), (4, 4)]])
    + polygon([[("inf", 0), (0, 0), (1, 1)], [("-1e300", "-inf"), (2, 2), (3, 1)]]),
    "ulps.bin": polygon([[(0, 0), ("tiny", 8), (1, "1+ulp"), ("1+ulp", 1), (8, "8-ulp")]])
    + polygon([[(1, 0), ("1+ulp", 8), (0, "tiny"), (8, 8)]]),
    "degenerate.bin": polygon([[], [(1, 1)], [(1, 1), (2, 2)], [(0, 3), (9, 3), (5, 3)]]) + polygon([[(0, 0), (9, 0), (9, 9)]]),
}


def write(folder, files, mode):
    path = os.path.join(HERE, "corpus", folder)
    os.makedirs(path, exist_ok=True)
    for name, content in files.items():
        with open(os.path.join(path, name), mode) as out:
            out.write(content)


write("polygon_text", TEXT, "w")
write("polygon_clip", CLIP, "wb")
