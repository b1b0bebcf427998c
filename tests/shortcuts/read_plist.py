#!/usr/bin/env python3
"""Reads what the shortcut controls store, with Python's own plistlib, and prints it as JSON.

read_plist.py defaults FILE KEY    the value under KEY in a defaults file
read_plist.py archive FILE CLASS   the keyed values of the first object of CLASS in a keyed archive
read_plist.py write-shortcut FILE KEYCODE FLAGS
                                   writes a keyed archive of one KSShortcut, binary or (a FILE ending in
                                   ".xml") XML; a value that is not an integer is stored as a string
"""
import json
import plistlib
import sys


def number_or_text(text):
    try:
        return int(text)
    except ValueError:
        return text


def write_shortcut(path, key_code, flags):
    xml = path.endswith(".xml")
    # XML has no UIDs: keyed archives write them as {"CF$UID": n} there.
    uid = (lambda n: {"CF$UID": n}) if xml else plistlib.UID
    archive = {
        "$archiver": "NSKeyedArchiver",
        "$version": 100000,
        "$top": {"root": uid(1)},
        "$objects": [
            "$null",
            {"KeyCode": number_or_text(key_code), "ModifierFlags": number_or_text(flags), "$class": uid(2)},
            {"$classname": "KSShortcut", "$classes": ["KSShortcut", "NSObject"]},
        ],
    }
    with open(path, "wb") as stream:
        plistlib.dump(archive, stream, fmt=plistlib.FMT_XML if xml else plistlib.FMT_BINARY)


def main():
    mode, path, name = sys.argv[1:4]
    if mode == "write-shortcut":
        write_shortcut(path, name, sys.argv[4])
        return
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
