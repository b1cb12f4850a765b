"""Searches a compiled book with pychm (chmlib's full-text search) and checks
the hits against the expected pages.

  pychm_search_check.py search BOOK EXPECTATIONS
      EXPECTATIONS: one query a line, tab-separated fields:
      query bytes (hex), expected "title-hex=url" pairs joined by ','.
      Each query is run as a whole-word search, and a one-character Chinese
      query also as a prefix search (which walks the chain of leaves); the
      hits (title -> url) must equal the expected pairs exactly.
  pychm_search_check.py dump BOOK NAME OUT
      Writes the internal file NAME of BOOK to OUT.
"""
import sys

try:
    import chm.chm
    import chm.chmlib
except ImportError:
    print("pychm is not installed")
    sys.exit(77)


def open_book(path):
    book = chm.chm.CHMFile()
    if not book.LoadCHM(path.encode()):
        print("pychm cannot open", path)
        sys.exit(2)
    return book


def search(book_path, expectations_path):
    book = open_book(book_path)
    failures = 0
    queries = 0
    with open(expectations_path) as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                continue
            query_hex, _, pairs = line.partition("\t")
            query = bytes.fromhex(query_hex)
            expected = {}
            for pair in filter(None, pairs.split(",")):
                title_hex, _, url = pair.partition("=")
                expected[bytes.fromhex(title_hex)] = url.encode()
            modes = [1, 0] if len(query) == 2 and query[0] >= 0x81 else [1]
            for whole_words in modes:
                result = book.Search(query, whole_words, 0)
                hits = dict(result[1]) if result else {}
                queries += 1
                if hits != expected:
                    failures += 1
                    missing = {k: v for k, v in expected.items() if hits.get(k) != v}
                    extra = {k: v for k, v in hits.items() if expected.get(k) != v}
                    print("query", query_hex, "whole words" if whole_words else "prefix",
                          "missing", sorted(missing.values())[:8], "unexpected", sorted(extra.items())[:8])
    print(queries, "queries,", failures, "failed")
    return 1 if failures else 0


def dump(book_path, name, out_path):
    book = open_book(book_path)
    ok, unit = book.ResolveObject(name.encode())
    if ok != chm.chmlib.CHM_RESOLVE_SUCCESS:
        print("no", name, "in", book_path)
        return 2
    size, data = book.RetrieveObject(unit)
    with open(out_path, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    if sys.argv[1] == "search":
        sys.exit(search(sys.argv[2], sys.argv[3]))
    if sys.argv[1] == "dump":
        sys.exit(dump(sys.argv[2], sys.argv[3], sys.argv[4]))
    sys.exit(2)
