// Conversion with the code page named explicitly, never the system's ANSI
// page, so a book comes out the same whatever the machine is set to.
#include "os/os.h"
#include "os/win32/wide.h"

namespace hhc::os {

std::optional<std::string> AnsiToUtf8(std::string_view text, std::uint32_t codePage) {
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (size <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), size);
    return win32::Utf8FromWide(wide);
}

std::optional<std::string> Utf8ToAnsi(std::string_view text, std::uint32_t codePage) {
    if (text.empty()) return std::string();
    const int length = static_cast<int>(text.size());
    const int wideSize = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (wideSize <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), wideSize);
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, nullptr, 0,
                                         nullptr, &usedDefault);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, ansi.data(), size, nullptr, nullptr);
    return ansi;
}

}  // namespace hhc::os
