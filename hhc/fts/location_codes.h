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

// Appends the codes of one document of a block to `out`.
void AppendDocumentCodes(std::uint32_t documentDelta, const std::uint32_t* positions, std::size_t count,
                         const LocationRoots& roots, std::string& out);

// The blocks of the keys `keys`, one each, from the pages (in ascending
// document order, keys numbered by the word table), built on up to `threads`
// threads. `occurrences` gives each key's number of positions, to share the
// work out evenly.
std::vector<std::string> BuildBlocks(const std::vector<PageWords>& pages, const std::vector<std::uint32_t>& keys,
                                     const std::vector<std::uint64_t>& occurrences, std::size_t keyLimit,
                                     const LocationRoots& roots, unsigned threads);

}  // namespace hhc::fts
