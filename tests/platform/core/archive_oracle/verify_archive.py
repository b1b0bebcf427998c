#!/usr/bin/env python3
"""Checks a keyed archive against a tagged JSON description of the tree it should hold.

The archive is read with plistlib, a reader that shares nothing with ours, and
its raw bytes are walked just far enough to see how wide each real is stored,
which plistlib hides. The JSON comes from archive_oracle_writer (see
tagged_json.h for its shape).

usage: verify_archive.py ARCHIVE JSON
Exits 0 when both agree, 1 with a list of the problems otherwise, 2 on bad usage.
"""

import json
import plistlib
import struct
import sys

CLASS_CHAINS = {
    "NSMutableDictionary": ["NSMutableDictionary", "NSDictionary", "NSObject"],
    "NSMutableArray": ["NSMutableArray", "NSArray", "NSObject"],
}
DICTIONARY_KEYS = {"NS.keys", "NS.objects", "$class"}
ARRAY_KEYS = {"NS.objects", "$class"}
TOP_KEYS = {"$archiver", "$version", "$top", "$objects"}
REAL_WIDTHS = {0x22: 4, 0x23: 8}
MAX_REPORTED = 40


class Unreadable(Exception):
    """The archive is too broken to check any further."""


class RawBinaryList:
    """Just enough of a bplist00 reader to find the marker byte of every "$objects" entry."""

    def __init__(self, data):
        if len(data) < 8 + 32 or data[:8] != b"bplist00":
            raise Unreadable("not a bplist00 file")
        self.data = data
        offset_size, self.ref_size, count, top, table = struct.unpack(">6xBBQQQ", data[-32:])
        if offset_size not in (1, 2, 4, 8) or self.ref_size not in (1, 2, 4, 8):
            raise Unreadable(f"trailer has odd sizes: offsets {offset_size}, refs {self.ref_size}")
        if top >= count or table + count * offset_size > len(data) - 32:
            raise Unreadable("trailer points outside the file")
        self.offsets = [self._uint(table + i * offset_size, offset_size) for i in range(count)]
        if any(offset >= table for offset in self.offsets):
            raise Unreadable("an object offset points past the objects")
        self.top = top

    def _uint(self, position, size):
        return int.from_bytes(self.data[position:position + size], "big")

    def marker(self, ref):
        return self.data[self.offsets[ref]]

    def payload(self, ref, length):
        start = self.offsets[ref] + 1
        return self.data[start:start + length]

    def _count_and_start(self, ref):
        """The element count of a string, array or dictionary, and where its contents begin."""
        position = self.offsets[ref]
        count = self.data[position] & 0x0F
        position += 1
        if count == 0x0F:
            int_marker = self.data[position]
            if int_marker & 0xF0 != 0x10:
                raise Unreadable(f"object {ref} has a malformed length")
            size = 1 << (int_marker & 0x0F)
            count = self._uint(position + 1, size)
            position += 1 + size
        return count, position

    def _refs(self, start, count):
        refs = [self._uint(start + i * self.ref_size, self.ref_size) for i in range(count)]
        if any(ref >= len(self.offsets) for ref in refs):
            raise Unreadable("an object reference is out of range")
        return refs

    def _string(self, ref):
        kind = self.marker(ref) & 0xF0
        count, start = self._count_and_start(ref)
        if kind == 0x50:
            return self.data[start:start + count].decode("ascii")
        if kind == 0x60:
            return self.data[start:start + 2 * count].decode("utf-16-be")
        return None

    def objects_refs(self):
        """The object reference of each entry of the top dictionary's "$objects" array."""
        if self.marker(self.top) & 0xF0 != 0xD0:
            raise Unreadable("the top object is not a dictionary")
        count, start = self._count_and_start(self.top)
        keys = self._refs(start, count)
        values = self._refs(start + count * self.ref_size, count)
        for key, value in zip(keys, values):
            if self._string(key) == "$objects":
                if self.marker(value) & 0xF0 != 0xA0:
                    raise Unreadable('"$objects" is not an array')
                length, array_start = self._count_and_start(value)
                return self._refs(array_start, length)
        raise Unreadable('no "$objects" in the top dictionary')


class Real:
    """A real as stored: its width in bytes and its big-endian payload."""

    def __init__(self, width, payload):
        self.width = width
        self.payload = payload


class Node:
    """A container decoded from the archive, remembering the UID it came from."""

    def __init__(self, kind, uid, items):
        self.kind = kind
        self.uid = uid
        self.items = items


class ArchiveChecker:
    def __init__(self, data):
        self.problems = []
        self.raw = RawBinaryList(data)
        try:
            self.top = plistlib.loads(data)
        except Exception as error:  # plistlib raises several kinds on bad input
            raise Unreadable(f"plistlib cannot read the archive: {error}") from error
        self.check_top()
        self.objects = self.top["$objects"]
        self.raw_refs = self.raw.objects_refs()
        if len(self.raw_refs) != len(self.objects):
            raise Unreadable("raw and plistlib views of $objects differ in length")
        self.class_uids = self.check_classes()
        self.check_containers()
        self.check_reachable()

    def problem(self, text):
        self.problems.append(text)

    def check_top(self):
        top = self.top
        if not isinstance(top, dict) or set(top) != TOP_KEYS:
            raise Unreadable(f"top-level keys are {sorted(top) if isinstance(top, dict) else type(top)}, "
                             f"expected {sorted(TOP_KEYS)}")
        if top["$archiver"] != "NSKeyedArchiver":
            self.problem(f'$archiver is {top["$archiver"]!r}')
        if type(top["$version"]) is not int or top["$version"] != 100000:
            self.problem(f'$version is {top["$version"]!r}')
        if top["$top"] != {"root": plistlib.UID(1)}:
            raise Unreadable(f'$top is {top["$top"]!r}, expected {{"root": UID(1)}}')
        objects = top["$objects"]
        if not isinstance(objects, list) or len(objects) < 2 or objects[0] != "$null":
            raise Unreadable('$objects must be a list starting with "$null" and holding the root')

    def uid_in_range(self, uid, where):
        if not isinstance(uid, plistlib.UID):
            self.problem(f"{where}: {uid!r} is not a UID")
            return False
        if not 0 < uid.data < len(self.objects):
            self.problem(f"{where}: UID {uid.data} out of range 1..{len(self.objects) - 1}")
            return False
        return True

    def check_classes(self):
        """Maps each class name to the UID of its one entry."""
        found = {}
        for index, entry in enumerate(self.objects):
            if not isinstance(entry, dict) or "$classname" not in entry:
                continue
            name = entry["$classname"]
            if set(entry) != {"$classname", "$classes"}:
                self.problem(f"class entry {index} has keys {sorted(entry)}")
            if name not in CLASS_CHAINS:
                self.problem(f"class entry {index} names unexpected class {name!r}")
            elif entry.get("$classes") != CLASS_CHAINS[name]:
                self.problem(f"class entry {index} for {name} has $classes {entry.get('$classes')!r}")
            if name in found:
                self.problem(f"class {name!r} has two entries: {found[name]} and {index}")
            else:
                found[name] = index
        return found

    def check_containers(self):
        for index, entry in enumerate(self.objects):
            where = f"$objects[{index}]"
            if isinstance(entry, (list, plistlib.UID)):
                self.problem(f"{where} is a bare {type(entry).__name__}; containers must be archived objects")
            if not isinstance(entry, dict) or "$classname" in entry:
                continue
            if set(entry) == DICTIONARY_KEYS:
                class_name = "NSMutableDictionary"
            elif set(entry) == ARRAY_KEYS:
                class_name = "NSMutableArray"
            else:
                self.problem(f"{where} has keys {sorted(entry)}")
                continue
            if self.uid_in_range(entry["$class"], f"{where}.$class"):
                if entry["$class"].data != self.class_uids.get(class_name):
                    self.problem(f"{where}.$class is UID {entry['$class'].data}, not the {class_name} entry")
            values = entry["NS.objects"]
            keys = entry.get("NS.keys", [])
            if not isinstance(values, list) or not isinstance(keys, list):
                self.problem(f"{where}: NS.keys / NS.objects must be arrays")
                continue
            if class_name == "NSMutableDictionary" and len(keys) != len(values):
                self.problem(f"{where}: {len(keys)} NS.keys but {len(values)} NS.objects")
            for position, uid in enumerate(values):
                self.uid_in_range(uid, f"{where}.NS.objects[{position}]")
            for position, uid in enumerate(keys):
                if self.uid_in_range(uid, f"{where}.NS.keys[{position}]") and not isinstance(
                        self.objects[uid.data], str):
                    self.problem(f"{where}.NS.keys[{position}] refers to a {type(self.objects[uid.data]).__name__}")

    def check_reachable(self):
        """Every entry after "$null" is used: the root, a container's element or key, or a class."""
        seen = {1}
        pending = [1]
        while pending:
            entry = self.objects[pending.pop()]
            if not isinstance(entry, dict):
                continue
            uids = [entry.get("$class")] + list(entry.get("NS.keys", [])) + list(entry.get("NS.objects", []))
            for uid in uids:
                if isinstance(uid, plistlib.UID) and 0 < uid.data < len(self.objects) and uid.data not in seen:
                    seen.add(uid.data)
                    pending.append(uid.data)
        unused = sorted(set(range(1, len(self.objects))) - seen)
        if unused:
            self.problem(f"$objects entries {unused[:10]} are never referenced")

    def decode(self, uid, path, active):
        """The archived tree below a UID; reals as Real, containers as Node."""
        entry = self.objects[uid]
        if isinstance(entry, float):
            marker = self.raw.marker(self.raw_refs[uid])
            if marker not in REAL_WIDTHS:
                raise Unreadable(f"{path}: real stored with marker {marker:#04x}")
            real = Real(REAL_WIDTHS[marker], self.raw.payload(self.raw_refs[uid], REAL_WIDTHS[marker]))
            stored = struct.unpack(">f" if real.width == 4 else ">d", real.payload)[0]
            if struct.pack(">d", stored) != struct.pack(">d", entry):
                self.problem(f"{path}: raw real {stored!r} differs from plistlib's {entry!r}")
            return real
        if not isinstance(entry, dict):
            return entry
        if uid in active:
            raise Unreadable(f"{path}: UID {uid} contains itself")
        active = active | {uid}
        if "NS.keys" in entry:
            items = []
            for key_uid, value_uid in zip(entry["NS.keys"], entry["NS.objects"]):
                key = self.objects[key_uid.data]
                items.append((key, self.decode(value_uid.data, f"{path}/{key}", active)))
            return Node("dict", uid, items)
        items = [self.decode(value_uid.data, f"{path}[{i}]", active) for i, value_uid in enumerate(entry["NS.objects"])]
        return Node("array", uid, items)


class TreeComparer:
    """Compares the decoded archive with the JSON description, node by node."""

    def __init__(self, report):
        self.report = report
        self.uid_for_id = {}
        self.id_for_uid = {}

    def container_identity(self, expected, actual, path):
        json_id = expected.get("id")
        known_uid = self.uid_for_id.setdefault(json_id, actual.uid)
        known_id = self.id_for_uid.setdefault(actual.uid, json_id)
        if known_uid != actual.uid:
            self.report(f"{path}: container {json_id} is shared in the tree but archived as UIDs "
                        f"{known_uid} and {actual.uid}")
        if known_id != json_id:
            self.report(f"{path}: containers {known_id} and {json_id} are distinct in the tree but "
                        f"shared as UID {actual.uid} in the archive")

    def compare(self, expected, actual, path):
        tag = expected.get("t")
        value = expected.get("v")
        if tag in ("dict", "array"):
            if not isinstance(actual, Node) or actual.kind != tag:
                self.report(f"{path}: expected a {tag}, archive has {describe(actual)}")
                return
            self.container_identity(expected, actual, path)
            if len(value) != len(actual.items):
                self.report(f"{path}: expected {len(value)} entries, archive has {len(actual.items)}")
            if tag == "dict":
                expected_keys = [key for key, _ in value]
                actual_keys = [key for key, _ in actual.items]
                if expected_keys != actual_keys:
                    self.report(f"{path}: keys (in order) {expected_keys!r}, archive has {actual_keys!r}")
                for (key, child), (_, actual_child) in zip(value, actual.items):
                    self.compare(child, actual_child, f"{path}/{key}")
            else:
                for index, (child, actual_child) in enumerate(zip(value, actual.items)):
                    self.compare(child, actual_child, f"{path}[{index}]")
        elif tag in ("real32", "real64"):
            self.compare_real(tag, float.fromhex(value), actual, path)
        elif tag == "bool":
            if type(actual) is not bool or actual != value:
                self.report(f"{path}: expected bool {value!r}, archive has {describe(actual)}")
        elif tag == "int":
            if type(actual) is not int or actual != value:
                self.report(f"{path}: expected int {value!r}, archive has {describe(actual)}")
        elif tag == "string":
            if type(actual) is not str or actual != value:
                self.report(f"{path}: expected string {value!r}, archive has {describe(actual)}")
        elif tag == "data":
            if type(actual) is not bytes or actual != bytes.fromhex(value):
                self.report(f"{path}: expected data {value}, archive has {describe(actual)}")
        else:
            self.report(f"{path}: the JSON has a node of unknown type {tag!r}")

    def compare_real(self, tag, number, actual, path):
        if not isinstance(actual, Real):
            self.report(f"{path}: expected {tag} {number!r}, archive has {describe(actual)}")
            return
        width = 4 if tag == "real32" else 8
        if actual.width != width:
            self.report(f"{path}: real width mismatch: expected {tag}, archive stores {actual.width * 8}-bit "
                        f"(marker {0x20 | (actual.width.bit_length() - 1):#04x})")
            return
        if width == 4 and struct.unpack(">f", struct.pack(">f", number))[0] != number:
            self.report(f"{path}: the JSON's real32 {number!r} is not a 32-bit value")
            return
        expected_payload = struct.pack(">f" if width == 4 else ">d", number)
        if expected_payload != actual.payload:
            self.report(f"{path}: real bits mismatch: expected {expected_payload.hex()} ({number!r}), "
                        f"archive has {actual.payload.hex()}")


def describe(actual):
    if isinstance(actual, Node):
        return f"a {actual.kind} (UID {actual.uid})"
    if isinstance(actual, Real):
        return f"a {actual.width * 8}-bit real {actual.payload.hex()}"
    return f"{type(actual).__name__} {actual!r}"


def verify(archive_bytes, description):
    """The list of problems found; empty when the archive holds exactly the described tree."""
    try:
        checker = ArchiveChecker(archive_bytes)
        problems = checker.problems
        if problems:  # a malformed structure would only produce confusing tree differences
            return problems
        tree = checker.decode(1, "root", frozenset())
    except Unreadable as error:
        return [f"unreadable archive: {error}"]
    except (AttributeError, IndexError, KeyError, TypeError, ValueError) as error:
        return [f"archive shaped unlike any keyed archive: {error!r}"]
    TreeComparer(problems.append).compare(description, tree, "root")
    return problems


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[1], "rb") as archive_file:
        archive_bytes = archive_file.read()
    with open(argv[2], encoding="utf-8") as json_file:
        description = json.load(json_file)
    problems = verify(archive_bytes, description)
    if problems:
        print(f"archive mismatch: {len(problems)} problem(s) in {argv[1]}", file=sys.stderr)
        for text in problems[:MAX_REPORTED]:
            print(f"  {text}", file=sys.stderr)
        return 1
    print(f"archive ok: {argv[1]} matches {argv[2]}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
