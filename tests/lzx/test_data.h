#pragma once
// Reproducible data for the tests and the benchmarks: the same seed and size
// always give the same bytes, on every platform.
#include <cstddef>
#include <cstdint>
#include <string>

namespace test_data {

// Bytes that do not compress.
std::string RandomBytes(std::size_t size, std::uint32_t seed);

// HTML-like text from a small vocabulary: many short and long repeats, in
// ASCII and in double-byte (code page 936) characters.
std::string RepetitiveText(std::size_t size, std::uint32_t seed);

// A random block of `period` bytes repeated up to `size`: every position has
// a long match exactly `period` bytes back, across frame and reset boundaries.
std::string PeriodicBytes(std::size_t size, std::size_t period, std::uint32_t seed);

// Short random pieces and 12-byte copies from distances that are multiples of
// 8, the kind of data that makes aligned-offset blocks pay.
std::string EightAlignedRepeats(std::size_t size, std::uint32_t seed);

// Like a packed index: bytes whose bits are skewed towards zero (about 7.8
// bits of entropy a byte), with a few short copies, some at the distance of
// the copy before. LZX saves a few percent on it.
std::string BitstreamLike(std::size_t size, std::uint32_t seed);

// Chinese prose in code page 936, the text of source file `index`: exactly
// `bytes` bytes (at least 2), a heading line, then lines of sentences, every
// line ending in CR LF.
std::string CorpusText(std::size_t index, std::size_t bytes);

// The file name of file `index` among `count`: "chapter-0001.txt", … (numbers
// from 1, zero-padded to at least four digits so that names sort in order).
std::string CorpusFileName(std::size_t index, std::size_t count);

}  // namespace test_data
