#!/usr/bin/env python3
"""Reads a saved document with Python's plistlib and compares it with the tree it should hold.

usage: read_saved_document.py DOCUMENT EXPECTED_JSON
The JSON is the tree written by the test, with every real as {"real": "<%.17g>"}
and every data value as {"data": "<hex>"}. Exits 0 when both agree, 1 with the
first difference otherwise, 2 on bad usage.
"""

import json
import plistlib
import sys

CHAINS = {
    "NSMutableDictionary": ["NSMutableDictionary", "NSDictionary", "NSObject"],
    "NSMutableArray": ["NSMutableArray", "NSArray", "NSObject"],
}


class Mismatch(Exception):
    pass


def decode(objects, uid, depth=0):
    if depth > 200:
        raise Mismatch("nesting too deep: a cycle?")
    entry = objects[uid.data if isinstance(uid, plistlib.UID) else uid]
    if isinstance(entry, dict) and "$class" in entry:
        cls = objects[entry["$class"].data]
        name = cls["$classname"]
        if cls["$classes"] != CHAINS.get(name):
            raise Mismatch(f"class chain of {name}: {cls['$classes']}")
        if name == "NSMutableDictionary":
            keys = [decode(objects, key, depth + 1) for key in entry["NS.keys"]]
            values = [decode(objects, value, depth + 1) for value in entry["NS.objects"]]
            return dict(zip(keys, values))
        return [decode(objects, value, depth + 1) for value in entry["NS.objects"]]
    return entry


def compare(expected, actual, where):
    if isinstance(expected, dict) and set(expected) == {"real"}:
        if not isinstance(actual, float) or actual != float(expected["real"]):
            raise Mismatch(f"{where}: expected real {expected['real']}, got {actual!r}")
    elif isinstance(expected, dict) and set(expected) == {"data"}:
        if not isinstance(actual, bytes) or actual.hex() != expected["data"]:
            raise Mismatch(f"{where}: expected data {expected['data']}, got {actual!r}")
    elif isinstance(expected, dict):
        if not isinstance(actual, dict) or set(actual) != set(expected):
            raise Mismatch(f"{where}: expected keys {sorted(expected)}, got {actual!r}")
        for key in expected:
            compare(expected[key], actual[key], f"{where}.{key}")
    elif isinstance(expected, list):
        if not isinstance(actual, list) or len(actual) != len(expected):
            raise Mismatch(f"{where}: expected {len(expected)} elements, got {actual!r}")
        for index, (want, got) in enumerate(zip(expected, actual)):
            compare(want, got, f"{where}[{index}]")
    elif type(expected) is not type(actual) or expected != actual:
        raise Mismatch(f"{where}: expected {expected!r}, got {actual!r}")


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[1], "rb") as source:
        archive = plistlib.load(source)
    with open(argv[2], encoding="utf-8") as source:
        expected = json.load(source)
    try:
        if archive.get("$archiver") != "NSKeyedArchiver" or archive.get("$version") != 100000:
            raise Mismatch(f"not a keyed archive: {archive.get('$archiver')!r} {archive.get('$version')!r}")
        objects = archive["$objects"]
        if objects[0] != "$null":
            raise Mismatch("$objects does not start with $null")
        compare(expected, decode(objects, archive["$top"]["root"]), "root")
    except Mismatch as problem:
        print(f"mismatch: {problem}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
