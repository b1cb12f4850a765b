#!/usr/bin/python3
"""Reads a compiled book with pychm and prints what it finds, hex-encoded.

pychm_probe.py info BOOK      -> title/home/topics/index/encoding/searchable, then one
                                 "file NAME DATA" line per normal or special file
pychm_probe.py search BOOK Q  -> "partial N", then one "hit TITLE URL" line per result
                                 (Q is hex-encoded bytes in the book's code page)
"""
import sys

from chm import chm, chmlib


def hexed(value):
    if value is None:
        return "-"
    if isinstance(value, str):
        value = value.encode("utf-8")
    return value.hex() or "-"


def info(book):
    f = chm.CHMFile()
    if not f.LoadCHM(book.encode()):
        sys.exit("pychm cannot open " + book)
    lcid = f.GetLCID()
    print("title", hexed(f.title))
    print("home", hexed(f.home))
    print("topics", hexed(f.topics))
    print("index", hexed(f.index))
    print("encoding", hexed(lcid[0] if lcid else None))
    print("searchable", 1 if f.IsSearchable() else 0)
    entries = []

    def collect(handle, ui, context):
        entries.append(ui.path)
        return chmlib.CHM_ENUMERATOR_CONTINUE

    what = chmlib.CHM_ENUMERATE_NORMAL | chmlib.CHM_ENUMERATE_SPECIAL | chmlib.CHM_ENUMERATE_FILES
    if not chmlib.chm_enumerate(f.file, what, collect, None):
        sys.exit("pychm cannot list " + book)
    for path in entries:
        result, ui = f.ResolveObject(path)
        if result != chmlib.CHM_RESOLVE_SUCCESS:
            sys.exit("pychm cannot resolve %r" % path)
        size, data = f.RetrieveObject(ui)
        if size != ui.length:
            sys.exit("pychm read %d of %d bytes of %r" % (size, ui.length, path))
        print("file", hexed(path), hexed(data))


def search(book, query):
    f = chm.CHMFile()
    if not f.LoadCHM(book.encode()):
        sys.exit("pychm cannot open " + book)
    result = f.Search(bytes.fromhex(query))
    if result is None:
        sys.exit("pychm search failed")
    partial, hits = result
    print("partial", partial)
    for title, url in hits.items():
        print("hit", hexed(title), hexed(url))


if __name__ == "__main__":
    if sys.argv[1] == "info":
        info(sys.argv[2])
    else:
        search(sys.argv[2], sys.argv[3])
