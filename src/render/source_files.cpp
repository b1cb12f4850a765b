// Reading source files and deriving their display names.
#include <new>

#include "platform/platform.h"
#include "render/render.h"

namespace chmbook {
namespace {

// platform::FromUtf8 keeps a byte that is not part of valid UTF-8 as U+DC00 + byte.
bool IsEscapedByte(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool HoldsEscapedBytes(std::u16string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i)
        if (IsEscapedByte(name[i]) && (i == 0 || !IsHighSurrogate(name[i - 1]))) return true;
    return false;
}

// A name written in bytes that are not UTF-8 came, in practice, from a system
// whose file names are in the ANSI code page: its bytes are read as such.
std::u16string NameAsShown(std::u16string name) {
    if (!HoldsEscapedBytes(name)) return name;
    return platform::AnsiToUnicode(platform::ToUtf8(name));
}

}  // namespace

std::u16string GetContent(std::u16string strFileName) { return GetContent(std::move(strFileName), SourceEncoding::kAuto); }

std::u16string GetContent(std::u16string strFileName, SourceEncoding encoding) {
    try {
        std::string bytes;
        if (!platform::ReadWholeFile(strFileName, bytes)) return std::u16string();
        return DecodeSourceText(bytes, encoding);
    } catch (...) {  // out of memory for a huge file: no text, as for any unreadable file
        return std::u16string();
    }
}

std::u16string GetFileName(std::u16string strFile) {
    std::u16string name;
    const std::size_t separator = strFile.rfind(platform::kPathSeparator);
    if (separator != std::u16string::npos) {
        name = strFile.substr(separator + 1);
    } else {
        const std::size_t first = strFile.find_first_not_of(u' ');
        if (first != std::u16string::npos) name = strFile.substr(first, strFile.find_last_not_of(u' ') - first + 1);
    }
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string::npos) return std::u16string();
    name.resize(dot);
    return NameAsShown(std::move(name));
}

}  // namespace chmbook
