#!/usr/bin/env python3
"""Writes the seed corpora in fuzz/corpus/ (run from anywhere; the files are committed).

The binary lists come from a small encoder here rather than from our codec, so
the seeds show layouts our writer would not produce; plistlib writes the XML
lists and one archive in its own binary layout. The encoder exists because
plistlib stores every real as 64-bit, and the seeds need 32-bit reals too.
Beside them, the benchmark scene cut to a few sizes is archived as a document is
saved (write_scene_archives of a fuzz build), so that the archive readers start
from real drawings up to the 64 KB the fuzz runs allow.

The drawing target reads its input as a stream of choices, so its seeds are
fixed pseudo-random bytes of several lengths: each one opens as another drawing.
Beside them, its folder keeps the inputs that once failed (found_*, as libFuzzer
wrote them), so that every run checks those faults again.

usage: make_corpus.py FUZZ_BUILD_DIR
"""

import datetime
import os
import plistlib
import random
import struct
import subprocess
import sys

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
MAX_SEED_BYTES = 4096
# The -max_len of the archive and property-list runs in scripts/run-fuzzers.
MAX_DRAWING_BYTES = 65536
SCENE_LAYER_COUNTS = ["1", "4", "9"]  # the fifth layer is a 200-point curve of 45 KB
DRAWING_SEED_LENGTHS = [64, 256, 1024, 2048, 4096, 8192]


class Real32(float):
    """A real that the encoder stores in 4 bytes (marker 0x22)."""


def _count_header(marker, count):
    if count < 15:
        return bytes([marker | count])
    return bytes([marker | 0x0F]) + _encode_int(count)


def _encode_int(value):
    if 0 <= value < 1 << 8:
        return b"\x10" + value.to_bytes(1, "big")
    if 0 <= value < 1 << 16:
        return b"\x11" + value.to_bytes(2, "big")
    if 0 <= value < 1 << 32:
        return b"\x12" + value.to_bytes(4, "big")
    return b"\x13" + value.to_bytes(8, "big", signed=True)


def encode_bplist(root):
    """A bplist00 file for a tree of dict, list, str, bytes, bool, int, float, Real32 and plistlib.UID.

    A dict or list reached twice is stored once; equal strings are stored once.
    """
    flat = []  # (python object, child refs) in ref order
    refs = {}

    def flatten(value):
        key = ("str", value) if isinstance(value, str) else ("id", id(value))
        if key in refs and isinstance(value, (str, dict, list)):
            return refs[key]
        ref = len(flat)
        refs[key] = ref
        flat.append(None)
        if isinstance(value, dict):
            children = [flatten(k) for k in value] + [flatten(v) for v in value.values()]
        elif isinstance(value, list):
            children = [flatten(v) for v in value]
        else:
            children = []
        flat[ref] = (value, children)
        return ref

    flatten(root)
    ref_size = 1 if len(flat) < 1 << 8 else 2
    body = bytearray(b"bplist00")
    offsets = []
    for value, children in flat:
        offsets.append(len(body))
        child_refs = b"".join(child.to_bytes(ref_size, "big") for child in children)
        if isinstance(value, bool):
            body += b"\x09" if value else b"\x08"
        elif isinstance(value, int):
            body += _encode_int(value)
        elif isinstance(value, Real32):
            body += b"\x22" + struct.pack(">f", value)
        elif isinstance(value, float):
            body += b"\x23" + struct.pack(">d", value)
        elif isinstance(value, bytes):
            body += _count_header(0x40, len(value)) + value
        elif isinstance(value, str) and value.isascii():
            body += _count_header(0x50, len(value)) + value.encode("ascii")
        elif isinstance(value, str):
            encoded = value.encode("utf-16-be")
            body += _count_header(0x60, len(encoded) // 2) + encoded
        elif isinstance(value, plistlib.UID):
            size = 1 if value.data < 1 << 8 else 2
            body += bytes([0x80 | (size - 1)]) + value.data.to_bytes(size, "big")
        elif isinstance(value, list):
            body += _count_header(0xA0, len(value)) + child_refs
        elif isinstance(value, dict):
            body += _count_header(0xD0, len(value)) + child_refs
        else:
            raise TypeError(f"cannot encode {value!r}")
    table = len(body)
    offset_size = 1 if table < 1 << 8 else 2
    for offset in offsets:
        body += offset.to_bytes(offset_size, "big")
    body += bytes(6) + struct.pack(">BBQQQ", offset_size, ref_size, len(flat), 0, table)
    return bytes(body)


CLASS_CHAINS = {
    "NSMutableDictionary": ["NSMutableDictionary", "NSDictionary", "NSObject"],
    "NSMutableArray": ["NSMutableArray", "NSArray", "NSObject"],
}


def keyed_archive(root):
    """The NSKeyedArchiver top-level dictionary for a tree; shared containers stay shared."""
    objects = ["$null"]
    uids = {}

    def class_uid(name):
        key = ("class", name)
        if key not in uids:
            uids[key] = len(objects)
            objects.append({"$classname": name, "$classes": CLASS_CHAINS[name]})
        return plistlib.UID(uids[key])

    def archive(value):
        key = ("id", id(value)) if isinstance(value, (dict, list)) else None
        if key in uids:
            return plistlib.UID(uids[key])
        index = len(objects)
        objects.append(value)
        if key is None:
            return plistlib.UID(index)
        uids[key] = index
        if isinstance(value, dict):
            entry = {"NS.keys": [archive(k) for k in value], "NS.objects": [archive(v) for v in value.values()],
                     "$class": class_uid("NSMutableDictionary")}
        else:
            entry = {"NS.objects": [archive(v) for v in value], "$class": class_uid("NSMutableArray")}
        objects[index] = entry
        return plistlib.UID(index)

    archive(root)
    return {"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": plistlib.UID(1)},
            "$objects": objects}


def every_kind():
    return {
        "string": "plain",
        "名前": "Grüße 𝄞",
        "empty": "",
        "negative": -42,
        "past 32 bits": 1 << 40,
        "smallest": -(1 << 63),
        "yes": True,
        "no": False,
        "real32": Real32(0.1),
        "real64": 0.1,
        "negative zero": Real32(-0.0),
        "data": b"\x00\x01\x00\xff",
        "no data": b"",
        "empty dictionary": {},
        "empty array": [],
        "nested": [{"point": "{12.5, 40}"}, [1, 2.5, "three"]],
    }


def shared_refs():
    style = {"color": "#FF0000", "alpha": Real32(0.5)}
    points = [{"x": 1.0, "y": 2.0}, {"x": Real32(3.0), "y": -4.0}]
    return {"fill": style, "stroke": style, "points": points, "copy": [points, style]}


def small_document():
    layers = []
    for i in range(3):
        layers.append({"id": i + 1, "name": f"Layer {i + 1}", "visible": i != 1, "alpha": Real32(1.0),
                       "x": 10.0 * i, "position": f"{{{10 * i}, 20}}",
                       "shape": {"fill": {"color": "#00FF00"}, "stroke": {"width": 1.5},
                                 "points": [{"x": float(k), "y": Real32(k / 2)} for k in range(3)]}})
    return {"version": 3, "layers": layers}


def write(folder, name, data, limit=MAX_SEED_BYTES):
    if len(data) > limit:
        raise SystemExit(f"{name} is {len(data)} bytes; seeds stay under {limit}")
    path = os.path.join(CORPUS, folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def write_scene_archives(build):
    """Scene archives saved by the model, for both readers (an archive is a binary property list)."""
    writer = os.path.join(build, "bin", "write_scene_archives")
    for folder in ("keyed_archive", "property_list"):
        target = os.path.join(CORPUS, folder)
        os.makedirs(target, exist_ok=True)
        subprocess.run([writer, target, str(MAX_DRAWING_BYTES)] + SCENE_LAYER_COUNTS, check=True)


def write_drawing_seeds():
    generator = random.Random(24)
    for length in DRAWING_SEED_LENGTHS:
        write("drawing_records", f"choices_{length}.bin", generator.randbytes(length), limit=length)


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    write_scene_archives(sys.argv[1])
    write_drawing_seeds()
    real32s = [Real32(x) for x in (0.0, -0.0, 1.5, 1e-45, 3.4028234663852886e38, float("inf"))]
    archives = {
        "every_kind.bplist": encode_bplist(keyed_archive(every_kind())),
        "shared_refs.bplist": encode_bplist(keyed_archive(shared_refs())),
        "real32.bplist": encode_bplist(keyed_archive(real32s)),
        "small_document.bplist": encode_bplist(keyed_archive(small_document())),
        "string_root.bplist": encode_bplist(keyed_archive("just a string")),
        "empty_dictionary.bplist": encode_bplist(keyed_archive({})),
        "plistlib_layout.bplist": plistlib.dumps(keyed_archive(shared_refs()), fmt=plistlib.FMT_BINARY,
                                                 sort_keys=False),
    }
    for name, data in archives.items():
        write("keyed_archive", name, data)

    when = datetime.datetime(2024, 2, 29, 12, 30, 15)
    plain = {
        "every_kind.bplist": encode_bplist(every_kind()),
        "shared_refs.bplist": encode_bplist(shared_refs()),
        "keyed_archive.bplist": archives["small_document.bplist"],
        "plistlib_nested.bplist": plistlib.dumps({"a": [1, {"b": [True, 2.5, b"\x00"]}], "date": when},
                                                 fmt=plistlib.FMT_BINARY, sort_keys=False),
        "long_strings.bplist": encode_bplist(["x" * 300, "ü" * 20, list(range(20))]),
        "every_kind.xml": plistlib.dumps({k: v for k, v in every_kind().items()}, sort_keys=False),
        "date_and_extremes.xml": plistlib.dumps(
            {"date": when, "huge": 1.7976931348623157e308, "tiny": 5e-324, "minus infinity": float("-inf"),
             "max": (1 << 63) - 1, "min": -(1 << 63), "escaped": "<&> \"quoted\" \t tab"}, sort_keys=False),
        "array_root.xml": plistlib.dumps(["one", 2, 3.5, False, b"bytes", [], {}]),
    }
    for name, data in plain.items():
        write("property_list", name, data)
    print(f"wrote {len(archives)} archive seeds, {len(plain)} property-list seeds, "
          f"{len(SCENE_LAYER_COUNTS)} scenes for both and {len(DRAWING_SEED_LENGTHS)} drawing seeds under {CORPUS}")


if __name__ == "__main__":
    main()
