#!/usr/bin/env python3
"""Runs archive_oracle_writer and verify_archive.py for one seed.

usage: run_oracle.py WRITER WORK_DIR SEED [CORRUPTION]

Without CORRUPTION the archive must verify. With one, the clean pair must
verify first and the corrupted pair must then be rejected, naming the kind of
fault, so the checker is shown able to fail. CORRUPTION is one of the writer's
--corrupt kinds (the JSON lies) or plistlib-rewrite (the archive is rewritten
by plistlib, which stores every real as 64-bit).
"""

import os
import plistlib
import subprocess
import sys

VERIFIER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "verify_archive.py")
# What the checker's report must mention for each corruption.
EXPECTED_COMPLAINT = {
    "real-width": "real width mismatch",
    "real-bits": "real bits mismatch",
    "bool-int": "expected int",
    "shared-split": "distinct in the tree but shared",
    "plistlib-rewrite": "real width mismatch",
}


def run(command):
    result = subprocess.run(command, capture_output=True, text=True)
    sys.stdout.write(result.stdout)
    sys.stdout.write(result.stderr)
    return result


def write_pair(writer, work_dir, seed, name, extra=()):
    archive = os.path.join(work_dir, f"{name}.bplist")
    description = os.path.join(work_dir, f"{name}.json")
    result = run([writer, str(seed), archive, description, *extra])
    if result.returncode != 0:
        sys.exit(f"FAIL: archive_oracle_writer exited with {result.returncode} for seed {seed}")
    return archive, description


def verify(archive, description):
    return run([sys.executable, VERIFIER, archive, description])


def main(argv):
    if len(argv) not in (4, 5) or (len(argv) == 5 and argv[4] not in EXPECTED_COMPLAINT):
        print(__doc__, file=sys.stderr)
        return 2
    writer, work_dir, seed = argv[1], argv[2], argv[3]
    os.makedirs(work_dir, exist_ok=True)
    archive, description = write_pair(writer, work_dir, seed, "clean")
    if verify(archive, description).returncode != 0:
        print(f"FAIL: the archive for seed {seed} does not match its tree")
        return 1
    if len(argv) == 4:
        return 0

    corruption = argv[4]
    if corruption == "plistlib-rewrite":
        with open(archive, "rb") as source:
            rewritten = plistlib.dumps(plistlib.load(source), fmt=plistlib.FMT_BINARY, sort_keys=False)
        archive = os.path.join(work_dir, "rewritten.bplist")
        with open(archive, "wb") as target:
            target.write(rewritten)
    else:
        archive, description = write_pair(writer, work_dir, seed, corruption, [f"--corrupt={corruption}"])
    result = verify(archive, description)
    if result.returncode != 1 or "Traceback" in result.stderr:
        print(f"FAIL: the checker should have rejected the {corruption} pair (exit {result.returncode})")
        return 1
    if EXPECTED_COMPLAINT[corruption] not in result.stderr:
        print(f"FAIL: the checker rejected the {corruption} pair without naming the fault "
              f"({EXPECTED_COMPLAINT[corruption]!r})")
        return 1
    print(f"ok: the checker caught the {corruption} corruption")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
