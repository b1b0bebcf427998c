#!/usr/bin/env python3
"""Writes the seed corpora of the panels' fuzz targets in fuzz/corpus/ (the files are committed).

layer_rows: documents' root records as XML and binary property lists (groups within groups, masks, names of every
kind, "items" and "masks" that are not arrays); hex_color: a float alpha (4 bytes, little-endian) then the text.

usage: make_panel_corpus.py
"""

import os
import plistlib
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def layer(ident, **extra):
    record = {"id": ident, "type": 0, "visible": True}
    record.update(extra)
    return record


def group(ident, items, **extra):
    return layer(ident, type=3, items=items, **extra)


def write(folder, name, data):
    os.makedirs(os.path.join(CORPUS, folder), exist_ok=True)
    with open(os.path.join(CORPUS, folder, name), "wb") as out:
        out.write(data)


def layer_rows():
    nested = {"layers": [layer(1, name="A"), group(10, [layer(2, masks=[layer(20)]), group(12, [layer(3), layer(4)])]),
                         layer(5, masks=[layer(7, ismask=True)])], "width": 600.0, "height": 400.0}
    write("layer_rows", "nested.xml", plistlib.dumps(nested, fmt=plistlib.FMT_XML))
    write("layer_rows", "nested.bplist", plistlib.dumps(nested, fmt=plistlib.FMT_BINARY))
    odd = {"layers": [group(1, "not a list", name=5), layer(2, masks={"id": 3}), "text", 7,
                      layer(2**40, name=""), group(-1, [layer(-1)], ismask=True)]}
    write("layer_rows", "odd_kinds.xml", plistlib.dumps(odd, fmt=plistlib.FMT_XML))
    deep = layer(100)
    for level in range(60):
        deep = group(level, [deep, layer(1000 + level)])
    write("layer_rows", "deep.bplist", plistlib.dumps({"layers": [deep]}, fmt=plistlib.FMT_BINARY))


def hex_color():
    for name, alpha, text in [("rgb", 0.5, "rgb(255, 128, 0)"), ("hex", 1.0, "0xff8000"), ("short", 1.2, "rgb(1,2)"),
                              ("huge", -0.1, "rgb(256,-1,99999999999999999999)"), ("nan", float("nan"), "fill")]:
        write("hex_color", name, struct.pack("<f", alpha) + text.encode())


layer_rows()
hex_color()
