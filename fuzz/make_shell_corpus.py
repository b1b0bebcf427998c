#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_shell_stores in fuzz/corpus/shell_stores/ (the files are committed).

Seeds: keyed archives of tool-key tables (the built-in one, one with a cleared key, some with records out of range)
and of template stores (records with and without data, a bad thumbnail name), all written by plistlib, and the
program's own first template resource.

usage: make_shell_corpus.py
"""

import os
import plistlib
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus", "shell_stores")


class Archiver:
    """Builds an NSKeyedArchiver object table from Python lists, dicts, strings, numbers and bytes."""

    def __init__(self):
        self.objects = ["$null"]
        self.classes = {}

    def class_uid(self, name, chain):
        if name not in self.classes:
            self.classes[name] = len(self.objects)
            self.objects.append({"$classname": name, "$classes": chain})
        return plistlib.UID(self.classes[name])

    def encode(self, value):
        if isinstance(value, bool) or isinstance(value, int) or isinstance(value, float):
            return value
        uid = len(self.objects)
        self.objects.append(None)
        if isinstance(value, str) or isinstance(value, bytes):
            self.objects[uid] = value
        elif isinstance(value, list):
            entry = {"NS.objects": [plistlib.UID(0)] * len(value)}
            entry["NS.objects"] = [self.reference(item) for item in value]
            entry["$class"] = self.class_uid("NSMutableArray", ["NSMutableArray", "NSArray", "NSObject"])
            self.objects[uid] = entry
        else:
            entry = {"NS.keys": [self.reference(key) for key in value],
                     "NS.objects": [self.reference(item) for item in value.values()]}
            entry["$class"] = self.class_uid("NSMutableDictionary",
                                             ["NSMutableDictionary", "NSDictionary", "NSObject"])
            self.objects[uid] = entry
        return plistlib.UID(uid)

    def reference(self, value):
        encoded = self.encode(value)
        if isinstance(encoded, plistlib.UID):
            return encoded
        uid = len(self.objects)
        self.objects.append(encoded)
        return plistlib.UID(uid)


def archive(root):
    archiver = Archiver()
    top = archiver.reference(root)
    return plistlib.dumps({"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": top},
                           "$objects": archiver.objects}, fmt=plistlib.FMT_BINARY)


BUILT_IN = [("Select", 1, 9), ("Rectangle", 4, 15), ("Round Rectangle", 5, 32), ("Text", 6, 17), ("Oval", 7, 31),
            ("Star", 10, 1), ("Line", 11, 37), ("Polygon", 12, 16), ("Zoom", 15, 6), ("Edit Points", 2, 0),
            ("Gradient", 3, 5), ("Eraser", 9, 14), ("Pen", 13, 35), ("Pencil", 14, 45)]


def table(rows):
    return [{"title": title, "keyId": key_id, "code": code, "flags": flags} for title, key_id, code, flags in rows]


def main():
    os.makedirs(CORPUS, exist_ok=True)
    seeds = {
        "keys_built_in": archive(table([(t, k, c, 0) for t, k, c in BUILT_IN])),
        "keys_cleared": archive(table([("Select", 1, -1, 0), ("Rectangle", 4, 15, 1 << 18)])),
        "keys_out_of_range": archive(table([("Zoom", 16, 6, 0), ("Star", 10, 200, 0)])),
        "templates_mixed": archive([{"data": archive({"layers": [], "width": 500, "height": 500}),
                                     "imagefilename": "a.png"},
                                    {"imagefilename": "no-data.png"},
                                    {"data": archive("not a drawing"), "imagefilename": "../up.png"}]),
    }
    for name, data in seeds.items():
        with open(os.path.join(CORPUS, name), "wb") as stream:
            stream.write(data)
    shutil.copy(os.path.join(HERE, "..", "resources", "templates001.data"), os.path.join(CORPUS, "templates001"))


if __name__ == "__main__":
    main()
