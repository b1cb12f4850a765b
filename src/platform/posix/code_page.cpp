// The ANSI code page on POSIX systems: code page 936 (GBK), converted the way
// Windows converts it, so that books built here match books built there.
//
// The tables are built once, on first use, from the C library's "CP936"
// converter and then completed with what Windows adds to it:
//   - byte 0x80 alone is U+20AC and byte 0xFF alone is U+F8F5;
//   - every double-byte code (lead 0x81-0xFE, trail 0x40-0x7E or 0x80-0xFE)
//     that GBK leaves unassigned decodes to a private-use character: the
//     user-defined areas AAA1-AFFE, F8A1-FEFE and A140-A7A0 (in that order)
//     take U+E000-U+E765, the remaining gaps take U+E766-U+E864 in byte order.
// Stand-ins, as Windows gives them by default for code page 936 (its default
// character is '?' both ways):
//   - decoding: a byte that is neither a character nor a lead byte, and a
//     lead byte with an invalid trail byte, give U+003F '?'. A lead byte and
//     the byte after it always count as one pair (so an invalid pair gives
//     one '?'), except before a NUL byte or at the end of the text, where
//     the lead byte alone gives '?'.
//   - encoding: a character that code page 936 cannot hold gives its
//     look-alike where Windows has one (code_page_best_fit.inc), else the
//     byte '?' (0x3F); every unit of a surrogate pair gives one '?'.
// After that the conversion is a table lookup per character.
#include <iconv.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace chmbook::platform {
namespace {

#include "code_page_best_fit.inc"

constexpr char16_t kDecodeStandIn = u'?';
constexpr char kEncodeStandIn = '?';
constexpr std::uint16_t kUnmapped = 0xFFFF;  // no byte code is FF xx

constexpr bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
constexpr bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
constexpr std::size_t PairIndex(unsigned lead, unsigned trail) { return (lead - 0x81) * 256 + trail; }

struct CodePageTables {
    std::array<char16_t, 256> single{};
    std::vector<char16_t> pair = std::vector<char16_t>(126 * 256, kDecodeStandIn);
    std::vector<bool> pairValid = std::vector<bool>(126 * 256, false);
    std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(0x10000, kUnmapped);
};

// Asks the C library for one double-byte code; 0 when it has none.
char16_t DecodeWithIconv(iconv_t cd, unsigned lead, unsigned trail) {
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = 2, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return 0;
    if (sizeof out - outLeft != 2) return 0;  // outside the BMP: not part of code page 936
    const auto lo = static_cast<unsigned char>(out[0]);
    const auto hi = static_cast<unsigned char>(out[1]);
    return static_cast<char16_t>(lo | (hi << 8));
}

void FillFromIconv(CodePageTables& t) {
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-16LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;  // only ASCII and the private-use codes then
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
            const char16_t c = DecodeWithIconv(cd, lead, trail);
            if (c == 0) continue;
            t.pair[PairIndex(lead, trail)] = c;
            t.pairValid[PairIndex(lead, trail)] = true;
        }
    }
    iconv_close(cd);
}

void AssignPrivateUse(CodePageTables& t, unsigned leadFirst, unsigned leadLast, unsigned trailFirst,
                      unsigned trailLast, char16_t& next) {
    for (unsigned lead = leadFirst; lead <= leadLast; ++lead) {
        for (unsigned trail = trailFirst; trail <= trailLast; ++trail) {
            const std::size_t i = PairIndex(lead, trail);
            if (!IsTrailByte(static_cast<unsigned char>(trail)) || t.pairValid[i]) continue;
            t.pair[i] = next++;
            t.pairValid[i] = true;
        }
    }
}

void FillPrivateUse(CodePageTables& t) {
    char16_t next = 0xE000;
    AssignPrivateUse(t, 0xAA, 0xAF, 0xA1, 0xFE, next);
    AssignPrivateUse(t, 0xF8, 0xFE, 0xA1, 0xFE, next);
    AssignPrivateUse(t, 0xA1, 0xA7, 0x40, 0xA0, next);
    next = 0xE766;
    AssignPrivateUse(t, 0x81, 0xFE, 0x40, 0xFE, next);
}

void FillSingles(CodePageTables& t) {
    for (unsigned b = 0; b < 0x80; ++b) t.single[b] = static_cast<char16_t>(b);
    for (unsigned b = 0x80; b < 0x100; ++b) t.single[b] = kDecodeStandIn;
    t.single[0x80] = 0x20AC;
    t.single[0xFF] = 0xF8F5;
}

void FillEncode(CodePageTables& t) {
    for (unsigned b = 0; b < 0x80; ++b) t.encode[b] = static_cast<std::uint16_t>(b);
    t.encode[0x20AC] = 0x80;
    t.encode[0xF8F5] = 0xFF;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const std::size_t i = PairIndex(lead, trail);
            if (!t.pairValid[i] || t.encode[t.pair[i]] != kUnmapped) continue;
            t.encode[t.pair[i]] = static_cast<std::uint16_t>((lead << 8) | trail);
        }
    }
    for (const auto& [character, code] : kBestFit) {
        if (t.encode[character] == kUnmapped) t.encode[character] = code;
    }
}

const CodePageTables& Tables() {
    static const CodePageTables tables = [] {
        CodePageTables t;
        FillSingles(t);
        FillFromIconv(t);
        FillPrivateUse(t);
        FillEncode(t);
        return t;
    }();
    return tables;
}

}  // namespace

std::u16string AnsiToUnicode(std::string_view bytes) {
    const CodePageTables& t = Tables();
    std::u16string out(bytes.size(), u'\0');
    char16_t* o = out.data();
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = in[i];
        if (b < 0x80) {
            *o++ = b;
            ++i;
        } else if (IsLeadByte(b) && i + 1 < n && in[i + 1] != 0) {
            *o++ = t.pair[PairIndex(b, in[i + 1])];
            i += 2;
        } else {
            *o++ = t.single[b];
            ++i;
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

std::string UnicodeToAnsi(std::u16string_view text) {
    const CodePageTables& t = Tables();
    std::string out(text.size() * 2, '\0');
    char* o = out.data();
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            continue;
        }
        const std::uint16_t code = t.encode[c];
        if (code == kUnmapped) {
            *o++ = kEncodeStandIn;
        } else if (code < 0x100) {
            *o++ = static_cast<char>(code);
        } else {
            *o++ = static_cast<char>(code >> 8);
            *o++ = static_cast<char>(code & 0xFF);
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

}  // namespace chmbook::platform
