#!/usr/bin/env python3
"""Writes the seed corpus fuzz/corpus/cdr_generator/ (the files are committed).

Layout read by fuzz_cdr_generator: a byte per call (its index in the target's call table), property lists as an
entry count, then per entry a key byte (index in the target's key table) and its value. Lengths and numbers are a
kind byte (1: a small signed byte in quarters follows; 0: 8 raw bytes of a double) and, for lengths, a unit byte
(0 inch, 1 point, 2 twip); texts are a pick byte (below 200: one of the target's words) or 200 and a length byte
with the bytes; lists are a count byte and their property lists (path segments then an action byte).

usage: make_cdr_generator_corpus.py
"""

import os
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "cdr_generator")
CALLS = {"startPage": 0, "endPage": 1, "startMasterPage": 2, "endMasterPage": 3, "setStyle": 4, "openGroup": 7,
         "closeGroup": 8, "drawRectangle": 9, "drawEllipse": 10, "drawPolygon": 11, "drawPath": 13,
         "drawGraphicObject": 14, "startTextObject": 16, "endTextObject": 17, "openSpan": 18, "closeSpan": 19,
         "insertText": 20}
KEYS = {"svg:x": 0, "svg:y": 1, "svg:width": 2, "svg:height": 3, "svg:rx": 8, "svg:ry": 9, "svg:cx": 10,
        "svg:cy": 11, "svg:stroke-width": 12, "draw:fill": 22, "draw:stroke": 24, "style:font-name": 29,
        "librevenge:master-page-name": 32, "librevenge:mime-type": 33, "office:binary-data": 38, "svg:d": 39,
        "svg:points": 40, "svg:linearGradient": 41}
WORDS = {"solid": 0, "gradient": 1, "none": 2, "dash": 3}
ACTIONS = "MLHVCSQTAZX"


def length(quarters, unit=0):
    return bytes([1, quarters & 0xFF, unit])


def double(value, unit=0):
    return bytes([0]) + struct.pack("<d", value) + bytes([unit])


def text(value):
    raw = value.encode("utf-8")
    return bytes([200, len(raw)]) + raw


def word(value):
    return bytes([WORDS[value]])


def props(*entries):
    out = bytes([len(entries)])
    for key, value in entries:
        out += bytes([KEYS[key]]) + value
    return out


def segments(*items):
    out = bytes([len(items)])
    for action, entries in items:
        out += props(*entries) + bytes([ACTIONS.index(action)])
    return out


def call(name, *parts):
    return bytes([CALLS[name]]) + b"".join(parts)


SEEDS = {
    "path.bin": call("startPage", props(("svg:width", length(34)), ("svg:height", length(44))))
    + call("setStyle", props(("draw:fill", word("solid")), ("draw:stroke", word("dash"))))
    + call("drawPath", props(("svg:d", segments(("M", [("svg:x", length(4)), ("svg:y", length(4))]),
                                                ("L", [("svg:x", length(8)), ("svg:y", length(4))]),
                                                ("Z", [])))))
    + call("endPage"),
    "groups_text.bin": call("startPage", props())
    + call("openGroup", props()) + call("openGroup", props())
    + call("drawEllipse", props(("svg:cx", length(8)), ("svg:cy", length(8)), ("svg:rx", length(4)),
                                ("svg:ry", length(2))))
    + call("closeGroup") + call("startTextObject", props(("svg:x", length(1)), ("svg:y", length(2))))
    + call("openSpan", props(("style:font-name", text("Sans & <Serif>"))))
    + call("insertText", bytes([7]) + b"a<b&\"c\x01") + call("closeSpan") + call("endTextObject")
    + call("closeGroup") + call("endPage"),
    "master_image.bin": call("startMasterPage", props(("librevenge:master-page-name", text("M"))))
    + call("drawRectangle", props(("svg:x", length(0)), ("svg:y", length(0)), ("svg:width", double(1e300)),
                                  ("svg:height", double(float("nan")))))
    + call("endMasterPage") + call("startPage", props(("librevenge:master-page-name", text("M"))))
    + call("drawGraphicObject", props(("librevenge:mime-type", text("image/bmp")),
                                      ("office:binary-data", bytes([200, 4]) + b"BM\x00\xff"),
                                      ("svg:width", length(4)), ("svg:height", length(4))))
    + call("endPage"),
    "gradient.bin": call("startPage", props())
    + call("setStyle", props(("draw:fill", word("gradient")),
                             ("svg:linearGradient", bytes([2]) + props(("svg:x", length(0))) + props())))
    + call("drawPolygon", props(("svg:points", bytes([3]) + props(("svg:x", length(1)), ("svg:y", length(1)))
                                                + props(("svg:x", length(9), ), ("svg:y", length(1)))
                                                + props(("svg:x", length(5)), ("svg:y", length(9))))))
    + call("endPage"),
}


def main():
    os.makedirs(CORPUS, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(CORPUS, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
