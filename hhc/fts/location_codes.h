#pragma once
// The location-code block of one index entry: for every document, ascending,
//   document delta (from the previous document of the block, or from 0)
//   number of positions
//   position deltas (from the previous position in the document, or from 0)
//   zero bits up to the next byte
#include <cstdint>
#include <string>

#include "fts/wlc_coder.h"
#include "fts/word_table.h"

namespace hhc::fts {

struct LocationRoots {
    unsigned document = 0;
    unsigned count = 0;
    unsigned location = 0;
};

// Appends the block of `postings` to `out`.
void AppendLocationCodes(const Postings& postings, const LocationRoots& roots, std::string& out);

}  // namespace hhc::fts
