#!/usr/bin/env python3
"""Reads what the shortcut controls store, with Python's own plistlib, and prints it as JSON.

read_plist.py defaults FILE KEY    the value under KEY in a defaults file
read_plist.py archive FILE CLASS   the keyed values of the first object of CLASS in a keyed archive
"""
import json
import plistlib
import sys


def main():
    mode, path, name = sys.argv[1:4]
    with open(path, "rb") as stream:
        top = plistlib.load(stream)
    if mode == "defaults":
        print(json.dumps(top.get(name)))
        return
    objects = top["$objects"]
    for entry in objects:
        if isinstance(entry, dict) and "$class" in entry:
            if objects[entry["$class"].data]["$classname"] == name:
                print(json.dumps({key: value for key, value in entry.items() if key != "$class"}))
                return
    print("null")


main()
