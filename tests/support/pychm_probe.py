#!/usr/bin/python3
"""Reads a compiled book with pychm (CHMLib underneath) and prints what it
finds, one fact a line, every value hex-encoded ("-" when empty).

pychm_probe.py info BOOK
    title/home/topics/index/encoding/searchable lines from pychm's CHMFile,
    then "file NAME DATA" for every file the book lists (folders and "::"
    names left out), read through a lookup of its name. Every name must also
    be found with its ASCII letters upper-cased (lookups ignore case), and
    made-up names must not be found; each failure is a "problem TEXT" line.
pychm_probe.py search BOOK QUERY
    "hit TITLE URL" per result (QUERY is bytes in the book's code page).
"""
import os
import sys

try:
    from chm import chm, chmlib
except ImportError:
    sys.exit("pychm is not installed for %s: install the Debian package python3-chm" % sys.executable)


def hexed(value):
    if isinstance(value, str):
        value = value.encode("utf-8")
    return (value or b"").hex() or "-"


def open_book(book):
    f = chm.CHMFile()
    if not f.LoadCHM(os.fsencode(book)):
        sys.exit("pychm cannot open " + book)
    return f


def info(book):
    f = open_book(book)
    lcid = f.GetLCID()
    for key, value in (("title", f.title), ("home", f.home), ("topics", f.topics), ("index", f.index),
                       ("encoding", lcid[0] if lcid else None)):
        print(key, hexed(value))
    print("searchable", 1 if f.IsSearchable() else 0)
    names = []

    def collect(_handle, unit, _context):
        if unit.path.startswith(b"/") and not unit.path.endswith(b"/"):
            names.append(unit.path)
        return chmlib.CHM_ENUMERATOR_CONTINUE

    if not chmlib.chm_enumerate(f.file, chmlib.CHM_ENUMERATE_ALL, collect, None):
        sys.exit("pychm cannot list the book's files")
    listed = set(names)
    for name in names:
        status, unit = chmlib.chm_resolve_object(f.file, name)
        if status != chmlib.CHM_RESOLVE_SUCCESS or unit.path != name:
            print("problem", hexed("lookup of %r fails" % name))
            continue
        # A short read shows as other bytes.
        print("file", hexed(name), hexed(chmlib.chm_retrieve_object(f.file, unit, 0, unit.length)[1]))
        # Only the file itself, or another whose name differs in case alone, may answer.
        # bytes.upper() changes ASCII letters only.
        status, unit = chmlib.chm_resolve_object(f.file, name.upper())
        if status != chmlib.CHM_RESOLVE_SUCCESS or unit.path not in listed or unit.path.upper() != name.upper():
            print("problem", hexed("lookup of %r fails or finds another file" % name.upper()))
        absent = name + b"~absent"
        if absent not in listed and chmlib.chm_resolve_object(f.file, absent)[0] == chmlib.CHM_RESOLVE_SUCCESS:
            print("problem", hexed("lookup of absent %r succeeds" % absent))


def search(book, query):
    result = open_book(book).Search(os.fsencode(query))
    if result is None:
        sys.exit("pychm search failed")
    for title, url in result[1].items():
        print("hit", hexed(title), hexed(url))


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "info":
        info(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "search":
        search(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
