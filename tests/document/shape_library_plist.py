"""Reads and writes shape library files with plistlib alone, as a second
implementation of the keyed archive format.

  check FILE: the file is an NSKeyedArchiver archive of a CMShapeLibarary named
              "Pieces" with a CMShapeItem and a CMImageShapeItem.
  write FILE: writes a library "Written" with a shape item (width 30) and an
              image item without a name.
  store FILE: prints each library of a store file (a list of libraries) as
              "name: width, width, …", the widths of its items' layer records.
"""
import plistlib
import sys


def check(path):
    with open(path, "rb") as f:
        archive = plistlib.load(f)
    assert archive["$archiver"] == "NSKeyedArchiver", archive["$archiver"]
    objects = archive["$objects"]

    def deref(uid):
        return objects[uid.data]

    root = deref(archive["$top"]["root"])
    assert deref(root["$class"])["$classname"] == "CMShapeLibarary"
    assert deref(root["$class"])["$classes"] == ["CMShapeLibarary", "NSObject"]
    assert deref(root["name"]) == "Pieces"
    items = deref(root["items"])
    classes = [deref(deref(uid)["$class"])["$classname"] for uid in items["NS.objects"]]
    assert classes == ["CMShapeItem", "CMImageShapeItem"], classes
    for uid in items["NS.objects"]:
        item = deref(uid)
        assert deref(item["name"]) == "shape"
        assert "NS.keys" in deref(item["shape"])


def store(path):
    with open(path, "rb") as f:
        archive = plistlib.load(f)
    objects = archive["$objects"]

    def deref(uid):
        return objects[uid.data]

    def field(dictionary, key):
        keys = [deref(uid) for uid in dictionary["NS.keys"]]
        return deref(dictionary["NS.objects"][keys.index(key)])

    for uid in deref(archive["$top"]["root"])["NS.objects"]:
        library = deref(uid)
        widths = [field(deref(deref(item)["shape"]), "width") for item in deref(library["items"])["NS.objects"]]
        print(deref(library["name"]) + ":" + ",".join(" %g" % width for width in widths))


def write(path):
    UID = plistlib.UID
    objects = ["$null"]

    def add(value):
        objects.append(value)
        return UID(len(objects) - 1)

    def cls(name, chain):
        return add({"$classname": name, "$classes": chain})

    dictionary_class = cls("NSMutableDictionary", ["NSMutableDictionary", "NSDictionary", "NSObject"])
    array_class = cls("NSMutableArray", ["NSMutableArray", "NSArray", "NSObject"])
    shape_record = add({"NS.keys": [add("width"), add("type")], "NS.objects": [add(30.0), add(0)],
                        "$class": dictionary_class})
    image_record = add({"NS.keys": [add("type")], "NS.objects": [add(1)], "$class": dictionary_class})
    shape_item = add({"name": add("shape"), "shape": shape_record,
                      "$class": cls("CMShapeItem", ["CMShapeItem", "NSObject"])})
    image_item = add({"shape": image_record,
                      "$class": cls("CMImageShapeItem", ["CMImageShapeItem", "NSObject"])})
    items = add({"NS.objects": [shape_item, image_item], "$class": array_class})
    library = add({"name": add("Written"), "items": items,
                   "$class": cls("CMShapeLibarary", ["CMShapeLibarary", "NSObject"])})
    archive = {"$archiver": "NSKeyedArchiver", "$version": 100000, "$top": {"root": library}, "$objects": objects}
    with open(path, "wb") as f:
        plistlib.dump(archive, f, fmt=plistlib.FMT_BINARY)


if __name__ == "__main__":
    {"check": check, "write": write, "store": store}[sys.argv[1]](sys.argv[2])
