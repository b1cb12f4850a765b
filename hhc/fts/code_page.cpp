#include "fts/code_page.h"

#include <cstring>
#include <string>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <iconv.h>
#endif

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
#ifndef _WIN32
    const std::string names[] = {"CP" + std::to_string(number),
                                 "WINDOWS-" + std::to_string(number)};
    for (const std::string& name : names) {
        iconv_t cd = iconv_open(name.c_str(), "UTF-32LE");
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            converter_ = cd;
            break;
        }
    }
#endif
}

CodePage::~CodePage() {
#ifndef _WIN32
    if (converter_ != nullptr) iconv_close(static_cast<iconv_t>(converter_));
#endif
}

std::string CodePage::Encode(char32_t codePoint) {
    if (codePoint < 0x80) return std::string(1, static_cast<char>(codePoint));
    auto found = cache_.find(codePoint);
    if (found != cache_.end()) return found->second;
    std::string bytes = EncodeUncached(codePoint);
    cache_.emplace(codePoint, bytes);
    return bytes;
}

#ifdef _WIN32
std::string CodePage::EncodeUncached(char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {};
    wchar_t wide[2];
    int wideLength = 1;
    if (codePoint >= 0x10000) {
        char32_t v = codePoint - 0x10000;
        wide[0] = static_cast<wchar_t>(0xD800 + (v >> 10));
        wide[1] = static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
        wideLength = 2;
    } else {
        wide[0] = static_cast<wchar_t>(codePoint);
    }
    char out[8];
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(number_, WC_NO_BEST_FIT_CHARS, wide, wideLength, out, sizeof out,
                                nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return {};
    return std::string(out, static_cast<std::size_t>(n));
}
#else
std::string CodePage::EncodeUncached(char32_t codePoint) {
    if (converter_ == nullptr) return {};
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {};
    iconv_t cd = static_cast<iconv_t>(converter_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    char in[4];
    for (int i = 0; i < 4; ++i) in[i] = static_cast<char>((codePoint >> (8 * i)) & 0xFF);
    char out[16];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return {};
    return std::string(out, static_cast<std::size_t>(outPtr - out));
}
#endif

}  // namespace hhc::fts
