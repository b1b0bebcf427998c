#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_shortcut_values in fuzz/corpus/shortcut_values/ (the files are committed).

Seeds: the recorder's autosave and "value" dictionaries as the defaults file holds them, some hand-edited
wrongly, and keyed archives of a shortcut and of a recorder cell, all written by plistlib.

usage: make_shortcut_corpus.py
"""

import os
import plistlib

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "shortcut_values")


def archive(class_chain, fields):
    """A keyed archive whose root is one object of the class, with the fields inline or as string entries."""
    objects = ["$null", None]
    entry = {}
    for key, value in fields.items():
        if isinstance(value, str):
            entry[key] = plistlib.UID(len(objects))
            objects.append(value)
        else:
            entry[key] = value
    entry["$class"] = plistlib.UID(len(objects))
    objects.append({"$classname": class_chain[0], "$classes": class_chain})
    objects[1] = entry
    return {"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": plistlib.UID(1)},
            "$objects": objects}


def main():
    os.makedirs(CORPUS, exist_ok=True)
    seeds = {
        "autosave.xml": plistlib.dumps({"keyCode": 40, "modifierFlags": 0x100000, "modifiers": 0x100,
                                        "keyChars": "k", "keyCharsIgnoringModifiers": "k"}, sort_keys=False),
        "autosave_carbon_only.bplist": plistlib.dumps({"keyCode": 122, "modifiers": 0x1B00},
                                                      fmt=plistlib.FMT_BINARY),
        "value.xml": plistlib.dumps({"characters": "K", "keyCode": 40, "modifierFlags": 0x40000}, sort_keys=False),
        "strings_for_numbers.xml": plistlib.dumps({"keyCode": "40", "modifierFlags": "Command"}),
        "out_of_range.bplist": plistlib.dumps({"keyCode": 1 << 40, "modifierFlags": -1, "modifiers": 1 << 62},
                                              fmt=plistlib.FMT_BINARY),
        "reals.xml": plistlib.dumps({"keyCode": 40.75, "modifierFlags": 1e300}),
        "shortcut.bplist": plistlib.dumps(archive(["KSShortcut", "NSObject"],
                                                  {"KeyCode": -1, "ModifierFlags": 0x1F0000}),
                                          fmt=plistlib.FMT_BINARY),
        "recorder_cell.bplist": plistlib.dumps(
            archive(["KRRecorderCell", "NSActionCell", "NSCell", "NSObject"],
                    {"autosaveName": "Fuzz", "keyComboCode": 40, "keyComboFlags": 0x140000,
                     "allowedFlags": 0x1E0000, "requiredFlags": 0x100000, "keyChars": "k",
                     "keyCharsIgnoringModifiers": "k", "allowsKeyOnly": True, "escapeKeysRecord": False,
                     "isAnimating": True, "style": 1}),
            fmt=plistlib.FMT_BINARY),
    }
    for name, data in seeds.items():
        with open(os.path.join(CORPUS, name), "wb") as out:
            out.write(data)
    print(f"wrote {len(seeds)} seeds under {CORPUS}")


if __name__ == "__main__":
    main()
