// The ANSI code page on Windows: code page 936 through the system's own
// conversion, with its default stand-ins ('?' U+003F when decoding, '?' 0x3F
// when encoding, after the system's best-fit mappings).
//
// Code page 936 is named, not taken from the system (CP_ACP): every page the
// book build writes declares gb2312, so a book made on a Windows whose ANSI
// code page is another (1252, say) must still be encoded in 936.
#include <windows.h>

#include <climits>

#include "platform/platform.h"

namespace chmbook::platform {
namespace {

// The Win32 calls count in int: longer texts go through in pieces, cut where
// no character is split.
constexpr std::size_t kPiece = 1 << 28;

constexpr UINT kAnsiCodePage = 936;

std::size_t DecodablePrefix(std::string_view bytes) {
    if (bytes.size() <= kPiece) return bytes.size();
    std::size_t cut = 0;
    while (cut < kPiece) cut += IsDBCSLeadByteEx(kAnsiCodePage, static_cast<BYTE>(bytes[cut])) ? 2 : 1;
    return cut;
}

std::size_t EncodablePrefix(std::u16string_view text) {
    if (text.size() <= kPiece) return text.size();
    std::size_t cut = kPiece;
    if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;
    return cut;
}

}  // namespace

std::u16string AnsiToUnicode(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t piece = DecodablePrefix(bytes);
        const int inSize = static_cast<int>(piece);
        const std::size_t start = out.size();
        out.resize(start + piece);
        const int n = MultiByteToWideChar(kAnsiCodePage, 0, bytes.data(), inSize,
                                          reinterpret_cast<wchar_t*>(out.data() + start), inSize);
        out.resize(start + static_cast<std::size_t>(n > 0 ? n : 0));
        bytes.remove_prefix(piece);
    }
    return out;
}

std::string UnicodeToAnsi(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    while (!text.empty()) {
        const std::size_t piece = EncodablePrefix(text);
        const auto* in = reinterpret_cast<const wchar_t*>(text.data());
        const int inSize = static_cast<int>(piece);
        const int need = WideCharToMultiByte(kAnsiCodePage, 0, in, inSize, nullptr, 0, nullptr, nullptr);
        if (need > 0) {
            const std::size_t start = out.size();
            out.resize(start + static_cast<std::size_t>(need));
            const int n = WideCharToMultiByte(kAnsiCodePage, 0, in, inSize, out.data() + start, need, nullptr, nullptr);
            out.resize(start + static_cast<std::size_t>(n > 0 ? n : 0));
        }
        text.remove_prefix(piece);
    }
    return out;
}

}  // namespace chmbook::platform
