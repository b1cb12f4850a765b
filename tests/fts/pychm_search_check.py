"""Searches a compiled book with pychm (chmlib's full-text search) and checks
the hits against the expected pages; exits with 77 when pychm is missing.

  pychm_search_check.py search BOOK EXPECTATIONS
      EXPECTATIONS: one query a line: query bytes (hex), a tab, and the
      expected "title-hex=url" pairs joined by ','. Each query is run as a
      whole-word search, and a one-character Chinese query also as a prefix
      search (which walks the chain of leaves); the hits (title -> url) must
      equal the expected pairs exactly.
"""
import sys

try:
    import chm.chm
except ImportError:
    print("pychm is not installed")
    sys.exit(77)


def search(path, expectations_path):
    book = chm.chm.CHMFile()
    if not book.LoadCHM(path.encode()):
        sys.exit("pychm cannot open " + path)
    queries = failures = 0
    for line in open(expectations_path):
        query_hex, _, pairs = line.rstrip("\n").partition("\t")
        query = bytes.fromhex(query_hex)
        expected = {}
        for pair in filter(None, pairs.split(",")):
            title_hex, _, url = pair.partition("=")
            expected[bytes.fromhex(title_hex)] = url.encode()
        for whole_words in [1, 0] if len(query) == 2 and query[0] >= 0x81 else [1]:
            result = book.Search(query, whole_words, 0)
            hits = dict(result[1]) if result else {}
            queries += 1
            if hits != expected:
                failures += 1
                print("query", query_hex, "whole words" if whole_words else "prefix",
                      "missing", sorted(set(expected.items()) - set(hits.items()))[:8],
                      "unexpected", sorted(set(hits.items()) - set(expected.items()))[:8])
    print(queries, "queries,", failures, "failed")
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] != "search":
        sys.exit(__doc__)
    sys.exit(search(sys.argv[2], sys.argv[3]))
