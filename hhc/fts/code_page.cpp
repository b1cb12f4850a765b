#include "fts/code_page.h"

#include <cstring>
#include <string>
#include <string_view>

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

std::string CodePage::EncodeOrStandIn(char32_t codePoint) {
    std::string bytes = Encode(codePoint);
    if (!bytes.empty()) return bytes;
    const char standIn = AsciiStandIn(codePoint);
    return std::string(1, standIn != 0 ? standIn : '?');
}

#ifdef _WIN32
std::optional<std::u32string> CodePage::Decode(std::string_view bytes, std::uint32_t number) {
    if (bytes.empty()) return std::u32string();
    const int size = static_cast<int>(bytes.size());
    const int wideLength = MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (wideLength <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), wideLength);
    std::u32string text;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = static_cast<char16_t>(wide[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(wide[++i]) - 0xDC00);
        }
        text.push_back(c);
    }
    return text;
}

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
namespace {

// The converter's name for a Windows code page.
std::string IconvName(std::uint32_t number) {
    if (number == 65001) return "UTF-8";
    if (number == 54936) return "GB18030";
    if (number == 51932) return "EUC-JP";
    if (number == 20866) return "KOI8-R";
    if (number == 21866) return "KOI8-U";
    if (number > 28590 && number <= 28605) return "ISO-8859-" + std::to_string(number - 28590);
    return "CP" + std::to_string(number);
}

}  // namespace

std::optional<std::u32string> CodePage::Decode(std::string_view bytes, std::uint32_t number) {
    iconv_t cd = iconv_open("UTF-32LE", IconvName(number).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
    std::u32string text((out.size() - outLeft) / 4, U'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char32_t>(static_cast<std::uint8_t>(out[4 * i]) |
                                        static_cast<std::uint8_t>(out[4 * i + 1]) << 8 |
                                        static_cast<std::uint8_t>(out[4 * i + 2]) << 16 |
                                        static_cast<std::uint32_t>(static_cast<std::uint8_t>(out[4 * i + 3])) << 24);
    }
    return text;
}

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
