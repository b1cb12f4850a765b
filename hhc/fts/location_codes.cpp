#include "fts/location_codes.h"

#include <vector>

namespace hhc::fts {
namespace {

// Calls `visit(documentDelta, positionCount, firstPosition, endPosition)` for
// every document group of `postings`; positions are data()[first, end).
template <class Visit>
void ForEachDocument(const Postings& postings, Visit&& visit) {
    const std::vector<std::uint32_t>& data = postings.data();
    std::uint32_t previousDocument = 0;
    std::size_t i = 0;
    while (i < data.size()) {
        std::uint32_t document = data[i] & ~Postings::kDocumentMark;
        std::size_t first = ++i;
        while (i < data.size() && (data[i] & Postings::kDocumentMark) == 0) ++i;
        visit(document - previousDocument, static_cast<std::uint32_t>(i - first), first, i);
        previousDocument = document;
    }
}

}  // namespace

void AppendLocationCodes(const Postings& postings, const LocationRoots& roots, std::string& out) {
    const std::vector<std::uint32_t>& data = postings.data();
    BitWriter bits(out);
    ForEachDocument(postings, [&](std::uint32_t delta, std::uint32_t count, std::size_t first, std::size_t end) {
        PutScaleRoot(bits, delta, roots.document);
        PutScaleRoot(bits, count, roots.count);
        std::uint32_t previous = 0;
        for (std::size_t p = first; p < end; ++p) {
            PutScaleRoot(bits, data[p] - previous, roots.location);
            previous = data[p];
        }
        bits.FlushToByte();
    });
}

}  // namespace hhc::fts
