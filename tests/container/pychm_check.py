"""Reads a book with pychm (CHMLib underneath) and compares it with the files
it should hold.

usage: pychm_check.py BOOK LISTING BLOB
LISTING has one line per expected file: offset, length and name, separated by
tabs; the file's bytes are BLOB[offset:offset+length]. Every name is looked up
as written and with ASCII letters upper-cased (lookups ignore case), and read
back; the book's enumeration must list exactly the expected files. Prints one
line per problem and exits with 1 if there was any.
"""
import sys

try:
    import chm.chmlib as chmlib
except ImportError:
    print("pychm is not installed: install the Debian package python3-chm")
    sys.exit(2)


def ascii_upper(name):
    return bytes(b - 32 if 0x61 <= b <= 0x7A else b for b in name)


def main():
    book, listing, blob_path = sys.argv[1:4]
    with open(blob_path, "rb") as f:
        blob = f.read()
    expected = {}
    with open(listing, "rb") as f:
        for line in f.read().split(b"\n"):
            if line:
                offset, length, name = line.split(b"\t", 2)
                expected[name] = blob[int(offset):int(offset) + int(length)]

    handle = chmlib.chm_open(book)
    if not handle:
        print("pychm cannot open the book")
        return 1
    problems = []

    listed = set()

    def collect(_chm, unit, _context):
        if not unit.path.endswith(b"/") and unit.path.startswith(b"/"):
            listed.add(unit.path)
        return chmlib.CHM_ENUMERATOR_CONTINUE

    chmlib.chm_enumerate(handle, chmlib.CHM_ENUMERATE_ALL, collect, None)
    for name in sorted(listed - expected.keys()):
        problems.append("enumeration lists unexpected %r" % name)
    for name in sorted(expected.keys() - listed):
        problems.append("enumeration misses %r" % name)

    for name, data in expected.items():
        for lookup in (name, ascii_upper(name)):
            status, unit = chmlib.chm_resolve_object(handle, lookup)
            if status != chmlib.CHM_RESOLVE_SUCCESS:
                problems.append("lookup of %r fails" % lookup)
                continue
            if unit.path != name:
                problems.append("lookup of %r finds %r" % (lookup, unit.path))
                continue
            if lookup is not name:
                continue
            got = b""
            if unit.length:
                size, got = chmlib.chm_retrieve_object(handle, unit, 0, unit.length)
            if got != data:
                problems.append("%r: read %d bytes, expected %d (or different bytes)"
                                % (name, len(got), len(data)))

    for name in list(expected)[:50]:
        missing = name + b"~absent"
        status, _ = chmlib.chm_resolve_object(handle, missing)
        if status == chmlib.CHM_RESOLVE_SUCCESS and missing not in expected:
            problems.append("lookup of absent %r succeeds" % missing)

    chmlib.chm_close(handle)
    for p in problems[:40]:
        print(p)
    if len(problems) > 40:
        print("... and %d more problems" % (len(problems) - 40))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
