#pragma once
// Deterministic Chinese prose in code page 936 with CR LF line ends: the
// source texts of the benchmarks.
#include <cstddef>
#include <string>

namespace chmbook::bench {

// The text of file `index`, exactly `bytes` bytes long (at least 2): a heading
// line, then lines of sentences, every line ending in CR LF. The same index and
// size always give the same text.
std::string CorpusText(std::size_t index, std::size_t bytes);

// The file name of file `index` among `count`: "chapter-0001.txt", … (numbers
// from 1, zero-padded to at least four digits so that names sort in order).
std::string CorpusFileName(std::size_t index, std::size_t count);

}  // namespace chmbook::bench
