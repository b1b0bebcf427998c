#!/usr/bin/env python3
"""Writes the seed corpus fuzz/corpus/boolean/ (the files are committed): operand pairs as fuzz_boolean reads
them, per operand a subpath count byte, then per subpath its first point, an element count byte and per element a kind byte
(0 line, 1 curve, 2 close, 3 move) and its coordinate bytes (below 24: the grid value 2.5 c; 24 to 31: 1 + ulp,
1 - ulp, 1e-9, 8 + 1e-7, 1e300, -1e300, NaN, inf).

usage: make_boolean_corpus.py
"""

import os

HERE = os.path.dirname(os.path.abspath(__file__))


def operand(*subpaths):
    body = b"".join(subpaths)
    return bytes([len(subpaths)]) + body


def closed(points):
    # the first point, then the element count (the lines and the close) and the elements
    return bytes(points[0]) + bytes([len(points)]) + b"".join(bytes([0]) + bytes(p) for p in points[1:]) + bytes([2])


SQUARE = [(0, 0), (8, 0), (8, 8), (0, 8)]
SEEDS = {
    "squares_sharing_an_edge.bin": operand(closed(SQUARE)) + operand(closed([(8, 0), (16, 0), (16, 8), (8, 8)])),
    "square_and_its_copy.bin": operand(closed(SQUARE)) + operand(closed(SQUARE)),
    "notch.bin": operand(closed([(4, 0), (12, 0), (12, 12), (0, 12), (0, 4), (4, 4)])) +
                 operand(closed([(0, 0), (12, 0), (12, 12), (0, 12)])),
    "hair_apart.bin": operand(closed(SQUARE)) + operand(closed([(26, 26), (8, 26), (8, 8), (26, 8)])),
    "frame_and_hole.bin": operand(closed(SQUARE), closed([(2, 2), (6, 2), (6, 6), (2, 6)])) +
                          operand(closed([(2, 2), (6, 2), (6, 6), (2, 6)])),
    "curves.bin": operand(bytes([8, 0, 2, 1, 8, 6, 6, 8, 0, 8, 2])) + operand(closed([(4, 0), (12, 0), (12, 8), (4, 8)])),
    "specials.bin": operand(closed([(28, 0), (29, 30), (31, 8), (0, 27)])) + operand(closed(SQUARE)),
    # Found by the fuzzer: curves that run out along a line and back, which stalled the curve intersection.
    "folding_curves_1.bin": bytes.fromhex("7c7c7c7c01000004000800000808000000000000000008020108000400100000100800080802"),
    "folding_curves_2.bin": bytes.fromhex("585800580258585858020204190000020000000002000000020105000400"),
    "folding_curves_3.bin": bytes.fromhex("000602003a060002060201020202" "3a0200000606010204090602020006060002060200060600020602"),
}


def main():
    folder = os.path.join(HERE, "corpus", "boolean")
    os.makedirs(folder, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
