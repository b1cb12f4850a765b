#include "fts/fti_header.h"

#include <algorithm>

#include "fts/le_put.h"

namespace hhc::fts {
namespace {

constexpr std::uint32_t kSignature = 0x00280000;
constexpr std::uint32_t kNodeSizeField = 4096;
constexpr std::uint8_t kScale = 2;

std::uint32_t Clamp32(std::uint64_t v) { return static_cast<std::uint32_t>(std::min<std::uint64_t>(v, 0xFFFFFFFF)); }

}  // namespace

void WriteHeader(const HeaderFields& f, std::string& file) {
    std::string h(kHeaderSize, '\0');
    PokeU32(h, 0x00, kSignature);
    PokeU32(h, 0x04, f.documentCount);
    PokeU32(h, 0x08, f.rootOffset);
    PokeU32(h, 0x10, f.leafCount);
    PokeU32(h, 0x14, f.rootOffset);  // chmlib-family readers take it from here
    PokeU16(h, 0x18, f.depth);
    PokeU32(h, 0x1A, 7);
    h[0x1E] = static_cast<char>(kScale);
    h[0x1F] = static_cast<char>(f.documentRoot);
    h[0x20] = static_cast<char>(kScale);
    h[0x21] = static_cast<char>(f.countRoot);
    h[0x22] = static_cast<char>(kScale);
    h[0x23] = static_cast<char>(f.locationRoot);
    PokeU32(h, 0x2E, kNodeSizeField);
    PokeU32(h, 0x32, 1);
    PokeU32(h, 0x3E, f.longestWord);
    PokeU32(h, 0x42, Clamp32(f.occurrences));
    PokeU32(h, 0x46, f.distinctWords);
    // The total length of all occurrences is the sum of two dwords.
    std::uint32_t firstPart = Clamp32(f.occurrenceBytes);
    PokeU32(h, 0x4A, firstPart);
    PokeU32(h, 0x4E, Clamp32(f.occurrenceBytes - firstPart));
    PokeU32(h, 0x52, Clamp32(f.entryWordBytes));
    PokeU32(h, 0x56, Clamp32(f.freeBytes));
    PokeU32(h, 0x5E, f.highestDocument);
    PokeU32(h, 0x7A, f.codePage);
    PokeU32(h, 0x7E, f.lcid);
    std::copy(h.begin(), h.end(), file.begin());
}

}  // namespace hhc::fts
