#include "project/code_page.h"

#include "common/utf8.h"
#include "os/os.h"

namespace hhc::project {
namespace {

struct LanguageCodePage {
    std::uint16_t primaryLanguage;  // low 10 bits of the LCID
    std::uint32_t codePage;
};

// Code pages by primary language; Chinese depends on the sub-language too.
constexpr LanguageCodePage kCodePages[] = {
    {0x01, 1256}, {0x02, 1251}, {0x05, 1250}, {0x08, 1253}, {0x0D, 1255}, {0x0E, 1250},
    {0x11, 932},  {0x12, 949},  {0x15, 1250}, {0x18, 1250}, {0x19, 1251}, {0x1A, 1250},
    {0x1B, 1250}, {0x1C, 1250}, {0x1E, 874},  {0x1F, 1254}, {0x20, 1256}, {0x22, 1251},
    {0x23, 1251}, {0x24, 1250}, {0x25, 1257}, {0x26, 1257}, {0x27, 1257}, {0x29, 1256},
    {0x2A, 1258}, {0x2C, 1254}, {0x2F, 1251}, {0x3F, 1251}, {0x40, 1251}, {0x43, 1254},
    {0x44, 1251}, {0x50, 1251},
};

}  // namespace

std::uint32_t CodePageForLcid(std::uint32_t lcid) {
    const std::uint32_t primary = lcid & 0x3FF;
    if (primary == 0x04) {
        const std::uint32_t sub = (lcid >> 10) & 0x3F;
        return (sub == 2 || sub == 4) ? 936 : 950;  // PRC and Singapore use simplified characters
    }
    for (const LanguageCodePage& entry : kCodePages) {
        if (entry.primaryLanguage == primary) return entry.codePage;
    }
    return 1252;
}

bool IsDoubleByteCodePage(std::uint32_t codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool IsLeadByte(std::uint32_t codePage, unsigned char byte) {
    switch (codePage) {
        case 932: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        case 936:
        case 949:
        case 950: return byte >= 0x81 && byte <= 0xFE;
        default: return false;
    }
}

std::string NormalizeSeparators(std::string_view path, std::uint32_t codePage) {
    std::string result(path);
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (IsLeadByte(codePage, static_cast<unsigned char>(result[i]))) {
            ++i;  // skip the trail byte, which may be 0x5C
        } else if (result[i] == '\\') {
            result[i] = '/';
        }
    }
    return result;
}

std::string_view TruncateText(std::string_view text, std::size_t maxBytes, std::uint32_t codePage) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = 0;
    while (end < maxBytes) {
        const std::size_t width = IsLeadByte(codePage, static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > maxBytes) break;
        end += width;
    }
    return text.substr(0, end);
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

bool IsValidUtf8(std::string_view text) { return utf8::IsValid(text); }

std::optional<std::string> AnsiToUtf8(std::string_view text, std::uint32_t codePage) {
    if (IsAscii(text)) return std::string(text);
    return os::AnsiToUtf8(text, codePage);
}

std::optional<std::string> Utf8ToAnsi(std::string_view text, std::uint32_t codePage) {
    if (IsAscii(text)) return std::string(text);
    return os::Utf8ToAnsi(text, codePage);
}

}  // namespace hhc::project
