// Reading the bytes of a source file as text: a byte-order mark decides the
// encoding; without one, text that is entirely valid UTF-8 with a character
// of three or four bytes is UTF-8, and anything else is in the ANSI code page.
//
// Why three or four bytes: a text in code page 936 is valid UTF-8 only by
// chance, and the chance is real for a short one. A double-byte character
// with a lead byte C2-DF and a trail byte 80-BF reads as one two-byte UTF-8
// sequence (the two bytes of "说", CB B5, read as U+02F5), so a file made of
// such characters would be taken for UTF-8. Every Chinese, Japanese and
// Korean character and every emoji takes three or four bytes in UTF-8, so the
// texts this program is made for are recognised all the same; a UTF-8 text
// whose only non-ASCII characters are accented Latin letters reads as code
// page 936, as every text did before.
#include "platform/platform.h"
#include "render/render.h"

namespace chmbook {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

enum class Decoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

struct Reading {
    Decoding decoding;
    std::size_t markSize;
};

// A byte of E0 or above in valid UTF-8 starts a sequence of three or four bytes.
bool HasLongSequence(std::string_view bytes) {
    for (const char b : bytes)
        if (static_cast<unsigned char>(b) >= 0xE0) return true;
    return false;
}

Reading Detect(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return {Decoding::kUtf8, kUtf8Mark.size()};
    if (bytes.starts_with(kUtf16LeMark)) return {Decoding::kUtf16Le, kUtf16LeMark.size()};
    if (bytes.starts_with(kUtf16BeMark)) return {Decoding::kUtf16Be, kUtf16BeMark.size()};
    if (HasLongSequence(bytes) && platform::IsValidUtf8(bytes)) return {Decoding::kUtf8, 0};
    return {Decoding::kAnsi, 0};
}

Reading Choose(std::string_view bytes, SourceEncoding encoding) {
    switch (encoding) {
    case SourceEncoding::kAuto:
        return Detect(bytes);
    case SourceEncoding::kGbk:
        return {Decoding::kAnsi, 0};
    case SourceEncoding::kUtf8:
        return {Decoding::kUtf8, bytes.starts_with(kUtf8Mark) ? kUtf8Mark.size() : 0};
    case SourceEncoding::kUtf16:
        if (bytes.starts_with(kUtf16BeMark)) return {Decoding::kUtf16Be, kUtf16BeMark.size()};
        return {Decoding::kUtf16Le, bytes.starts_with(kUtf16LeMark) ? kUtf16LeMark.size() : 0};
    }
    return {Decoding::kAnsi, 0};
}

// UTF-8 with every invalid byte as U+FFFD (FromUtf8 gives them as escaped
// bytes, which are meant for file names, not for text).
std::u16string DecodeUtf8Text(std::string_view bytes) {
    std::u16string text = platform::FromUtf8(bytes);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool pairedLow = i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF;
        if (c >= 0xDC80 && c <= 0xDCFF && !pairedLow) text[i] = kReplacement;
    }
    return text;
}

// UTF-16 units as they stand; an odd last byte becomes U+FFFD.
std::u16string DecodeUtf16Text(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text += bigEndian ? static_cast<char16_t>((first << 8) | second) : static_cast<char16_t>((second << 8) | first);
    }
    if (bytes.size() % 2 != 0) text += kReplacement;
    return text;
}

}  // namespace

std::u16string DecodeSourceText(std::string_view bytes, SourceEncoding encoding) {
    const Reading reading = Choose(bytes, encoding);
    bytes.remove_prefix(reading.markSize);
    switch (reading.decoding) {
    case Decoding::kUtf8:
        return DecodeUtf8Text(bytes);
    case Decoding::kUtf16Le:
        return DecodeUtf16Text(bytes, false);
    case Decoding::kUtf16Be:
        return DecodeUtf16Text(bytes, true);
    case Decoding::kAnsi:
        break;
    }
    return platform::AnsiToUnicode(bytes);
}

}  // namespace chmbook
