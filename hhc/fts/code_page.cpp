#include "fts/code_page.h"

#include <string>
#include <string_view>

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

// ASCII look-alikes of the Latin letters U+00C0-U+017F: the letter without
// its accent, the first letter of a ligature.
constexpr std::string_view kLatinStandIns =
    "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty"  // U+00C0
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlL"  // U+0100
    "lLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";  // U+0140

// An ASCII stand-in for a character a code page may lack, or 0.
char AsciiStandIn(char32_t c) {
    if (c >= 0xC0 && c < 0xC0 + kLatinStandIns.size()) return kLatinStandIns[c - 0xC0];
    if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char>(c - 0xFF01 + '!');  // full-width forms
    switch (c) {
        case 0x00A0: case 0x2002: case 0x2003: case 0x2009: case 0x3000: return ' ';
        case 0x2010: case 0x2011: case 0x2012: case 0x2013: case 0x2014: case 0x2015: case 0x2212: return '-';
        case 0x2018: case 0x2019: case 0x201A: case 0x201B: case 0x2032: return '\'';
        case 0x201C: case 0x201D: case 0x201E: case 0x201F: case 0x2033: return '"';
        case 0x2039: return '<';
        case 0x203A: return '>';
        case 0x2022: case 0x00B7: return '.';
        default: return 0;
    }
}

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

std::string CodePage::EncodeOrStandIn(char32_t codePoint) {
    std::string bytes = Encode(codePoint);
    if (!bytes.empty()) return bytes;
    const char standIn = AsciiStandIn(codePoint);
    return std::string(1, standIn != 0 ? standIn : '?');
}

std::optional<std::u32string> CodePage::Decode(std::string_view bytes, std::uint32_t number) {
    const std::optional<std::string> converted = os::AnsiToUtf8(bytes, number);
    if (!converted) return std::nullopt;
    std::u32string text;
    for (std::size_t pos = 0; pos < converted->size();) text.push_back(utf8::Decode(*converted, pos));
    return text;
}

std::string CodePage::EncodeUncached(char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {};
    std::string utf8;
    utf8::Append(utf8, codePoint);
    return os::Utf8ToAnsi(utf8, number_).value_or(std::string());
}

}  // namespace hhc::fts
