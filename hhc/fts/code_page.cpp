#include "fts/code_page.h"

#include <string>

#include "common/utf8.h"
#include "os/os.h"

namespace hhc::fts {
namespace {

struct ByteRange {
    std::uint8_t first;
    std::uint8_t last;
};

struct DoubleByteLayout {
    std::uint32_t codePage;
    ByteRange lead[2];
    ByteRange trail[3];
};

// Lead and trail bytes of the East Asian ANSI code pages. A {0, 0} range is
// unused.
constexpr DoubleByteLayout kDoubleByteLayouts[] = {
    {932, {{0x81, 0x9F}, {0xE0, 0xFC}}, {{0x40, 0x7E}, {0x80, 0xFC}, {0, 0}}},
    {936, {{0x81, 0xFE}, {0, 0}}, {{0x40, 0x7E}, {0x80, 0xFE}, {0, 0}}},
    {949, {{0x81, 0xFE}, {0, 0}}, {{0x41, 0x5A}, {0x61, 0x7A}, {0x81, 0xFE}}},
    {950, {{0x81, 0xFE}, {0, 0}}, {{0x40, 0x7E}, {0xA1, 0xFE}, {0, 0}}},
};

void Mark(bool (&table)[256], ByteRange range) {
    if (range.first == 0 && range.last == 0) return;
    for (int b = range.first; b <= range.last; ++b) table[b] = true;
}

}  // namespace

CodePage::CodePage(std::uint32_t number) : number_(number) {
    for (const DoubleByteLayout& layout : kDoubleByteLayouts) {
        if (layout.codePage != number) continue;
        for (ByteRange r : layout.lead) Mark(lead_, r);
        for (ByteRange r : layout.trail) Mark(trail_, r);
    }
}

CodePage::~CodePage() = default;

std::string CodePage::Encode(char32_t codePoint) {
    if (codePoint < 0x80) return std::string(1, static_cast<char>(codePoint));
    auto found = cache_.find(codePoint);
    if (found != cache_.end()) return found->second;
    std::string bytes = EncodeUncached(codePoint);
    cache_.emplace(codePoint, bytes);
    return bytes;
}

std::string CodePage::EncodeUncached(char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {};
    std::string utf8;
    utf8::Append(utf8, codePoint);
    return os::Utf8ToAnsi(utf8, number_).value_or(std::string());
}

}  // namespace hhc::fts
