#!/usr/bin/python3
"""Reads a compiled book with pychm (CHMLib underneath) and prints what it
finds, one line per fact, every value hex-encoded ("-" when empty).

pychm_probe.py info BOOK
    title/home/topics/index/encoding/searchable lines from pychm's CHMFile,
    then "file NAME DATA" for every file the book lists (folders and "::"
    names left out), read through a lookup of its name. Every name must also
    be found when looked up with ASCII letters upper-cased (lookups ignore
    case), and made-up names must not be found; each failure is a
    "problem TEXT" line.
pychm_probe.py search BOOK QUERY
    "partial N", then "hit TITLE URL" per result (QUERY is hex-encoded bytes
    in the book's code page).
"""
import sys

try:
    from chm import chm, chmlib
except ImportError:
    sys.exit("pychm is not installed for %s: install the Debian package python3-chm" % sys.executable)

MAX_PROBLEMS = 40
ABSENT_LOOKUPS = 50


def hexed(value):
    if value is None:
        return "-"
    if isinstance(value, str):
        value = value.encode("utf-8")
    if isinstance(value, int):
        value = str(value).encode()
    return value.hex() or "-"


def ascii_upper(name):
    return bytes(b - 32 if 0x61 <= b <= 0x7A else b for b in name)


def open_book(book):
    f = chm.CHMFile()
    if not f.LoadCHM(book.encode()):
        sys.exit("pychm cannot open " + book)
    return f


def print_metadata(f):
    lcid = f.GetLCID()
    print("title", hexed(f.title))
    print("home", hexed(f.home))
    print("topics", hexed(f.topics))
    print("index", hexed(f.index))
    print("encoding", hexed(lcid[0] if lcid else None))
    print("searchable", 1 if f.IsSearchable() else 0)


def listed_names(handle):
    names = []

    def collect(_handle, unit, _context):
        if unit.path.startswith(b"/") and not unit.path.endswith(b"/"):
            names.append(unit.path)
        return chmlib.CHM_ENUMERATOR_CONTINUE

    if not chmlib.chm_enumerate(handle, chmlib.CHM_ENUMERATE_ALL, collect, None):
        sys.exit("pychm cannot list the book's files")
    return names


def read_files(handle, names, problems):
    for name in names:
        status, unit = chmlib.chm_resolve_object(handle, name)
        if status != chmlib.CHM_RESOLVE_SUCCESS or unit.path != name:
            problems.append("lookup of %r fails" % name)
            continue
        data = b""
        if unit.length:
            size, data = chmlib.chm_retrieve_object(handle, unit, 0, unit.length)
            if size != unit.length:
                problems.append("read %d of %d bytes of %r" % (size, unit.length, name))
        print("file", hexed(name), hexed(data))


def check_lookups(handle, names, problems):
    listed = set(names)
    for name in names:
        upper = ascii_upper(name)
        status, unit = chmlib.chm_resolve_object(handle, upper)
        if status != chmlib.CHM_RESOLVE_SUCCESS:
            problems.append("lookup of %r fails" % upper)
        elif unit.path != name and not (unit.path in listed and ascii_upper(unit.path) == upper):
            # Only another file whose name differs in case alone may answer.
            problems.append("lookup of %r finds %r" % (upper, unit.path))
    for name in names[:ABSENT_LOOKUPS]:
        absent = name + b"~absent"
        status, _ = chmlib.chm_resolve_object(handle, absent)
        if status == chmlib.CHM_RESOLVE_SUCCESS and absent not in listed:
            problems.append("lookup of absent %r succeeds" % absent)


def info(book):
    f = open_book(book)
    print_metadata(f)
    names = listed_names(f.file)
    problems = []
    read_files(f.file, names, problems)
    check_lookups(f.file, names, problems)
    for problem in problems[:MAX_PROBLEMS]:
        print("problem", hexed(problem))
    if len(problems) > MAX_PROBLEMS:
        print("problem", hexed("... and %d more problems" % (len(problems) - MAX_PROBLEMS)))


def search(book, query):
    f = open_book(book)
    result = f.Search(bytes.fromhex(query))
    if result is None:
        sys.exit("pychm search failed")
    partial, hits = result
    print("partial", partial)
    for title, url in hits.items():
        print("hit", hexed(title), hexed(url))


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "info":
        info(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "search":
        search(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
