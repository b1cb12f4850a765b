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
    PutLe32At(h, 0x00, kSignature);
    PutLe32At(h, 0x04, f.documentCount);
    PutLe32At(h, 0x08, f.rootOffset);
    PutLe32At(h, 0x10, f.leafCount);
    PutLe32At(h, 0x14, f.rootOffset);  // chmlib-family readers take it from here
    PutLe16At(h, 0x18, f.depth);
    PutLe32At(h, 0x1A, 7);
    h[0x1E] = static_cast<char>(kScale);
    h[0x1F] = static_cast<char>(f.documentRoot);
    h[0x20] = static_cast<char>(kScale);
    h[0x21] = static_cast<char>(f.countRoot);
    h[0x22] = static_cast<char>(kScale);
    h[0x23] = static_cast<char>(f.locationRoot);
    PutLe32At(h, 0x2E, kNodeSizeField);
    PutLe32At(h, 0x32, 1);
    PutLe32At(h, 0x3E, f.longestWord);
    PutLe32At(h, 0x42, Clamp32(f.occurrences));
    PutLe32At(h, 0x46, f.distinctWords);
    // The total length of all occurrences is the sum of two dwords.
    std::uint32_t firstPart = Clamp32(f.occurrenceBytes);
    PutLe32At(h, 0x4A, firstPart);
    PutLe32At(h, 0x4E, Clamp32(f.occurrenceBytes - firstPart));
    PutLe32At(h, 0x52, Clamp32(f.entryWordBytes));
    PutLe32At(h, 0x56, Clamp32(f.freeBytes));
    PutLe32At(h, 0x5E, f.highestDocument);
    PutLe32At(h, 0x7A, f.codePage);
    PutLe32At(h, 0x7E, f.lcid);
    std::copy(h.begin(), h.end(), file.begin());
}

}  // namespace hhc::fts
