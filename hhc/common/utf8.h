#pragma once
// UTF-8, decoded strictly: an overlong form, a surrogate, a value beyond
// U+10FFFF or a sequence cut short is malformed. The one decoder of hhc, for
// file names and for page text alike.
#include <cstddef>
#include <string>
#include <string_view>

namespace hhc::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the character at text[pos] into `code` and moves `pos` past it.
// A malformed sequence returns false and moves `pos` on by one byte.
inline bool TryDecode(std::string_view text, std::size_t& pos, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    char32_t minimum = 0;
    code = lead;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if (lead >= 0x80) {
        ++pos;
        return false;
    }
    if (pos + length > text.size()) {
        ++pos;
        return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[pos + k]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return false;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++pos;
        return false;
    }
    pos += length;
    return true;
}

// As TryDecode, with kReplacement for a malformed sequence.
inline char32_t Decode(std::string_view text, std::size_t& pos) {
    char32_t code = 0;
    return TryDecode(text, pos, code) ? code : kReplacement;
}

inline bool IsValid(std::string_view text) {
    char32_t code = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        if (!TryDecode(text, pos, code)) return false;
    }
    return true;
}

inline void Append(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace hhc::utf8
