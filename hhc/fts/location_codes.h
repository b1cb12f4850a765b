#pragma once
// The location-code block of one index entry: for every document, ascending,
//   document delta (from the previous document of the block, or from 0)
//   number of positions
//   position deltas (from the previous position in the document, or from 0)
//   zero bits up to the next byte
#include <cstdint>
#include <string>
#include <vector>

#include "fts/page_words.h"

namespace hhc::fts {

struct LocationRoots {
    unsigned document = 0;
    unsigned count = 0;
    unsigned location = 0;
};

// The codes of one document of a block: their length in bytes, and writing
// them at `out`, which returns their end.
std::size_t DocumentCodeBytes(std::uint32_t documentDelta, const std::uint32_t* positions, std::size_t count,
                              const LocationRoots& roots);
char* WriteDocumentCodes(std::uint32_t documentDelta, const std::uint32_t* positions, std::size_t count,
                         const LocationRoots& roots, char* out);

struct Blocks {
    std::string bytes;              // every block, one after the other
    std::vector<std::size_t> ends;  // where each block ends in `bytes`
};

// The blocks of the keys `keys`, in that order, from the pages (in ascending
// document order, keys numbered by the word table), built on up to `threads`
// threads. `occurrences` gives each key's number of positions, to share the
// work out evenly. The pages' keys become block numbers.
Blocks BuildBlocks(std::vector<PageWords>& pages, const std::vector<std::uint32_t>& keys,
                   const std::vector<std::uint64_t>& occurrences, std::size_t keyLimit, const LocationRoots& roots,
                   unsigned threads);

}  // namespace hhc::fts
