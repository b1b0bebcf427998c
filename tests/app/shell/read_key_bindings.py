#!/usr/bin/env python3
"""Reads the tool-key table from a defaults file with Python's own plistlib and prints it as JSON.

read_key_bindings.py FILE   the records of the keyed archive stored under "keyshorts", one object per record
"""
import json
import plistlib
import sys


def resolve(objects, value):
    if isinstance(value, plistlib.UID):
        value = objects[value.data]
    if isinstance(value, dict) and "NS.objects" in value:
        items = [resolve(objects, item) for item in value["NS.objects"]]
        if "NS.keys" in value:
            return {resolve(objects, key): item for key, item in zip(value["NS.keys"], items)}
        return items
    return value


def main():
    with open(sys.argv[1], "rb") as stream:
        defaults = plistlib.load(stream)
    archive = plistlib.loads(defaults["keyshorts"])
    objects = archive["$objects"]
    print(json.dumps(resolve(objects, archive["$top"]["root"])))


if __name__ == "__main__":
    main()
