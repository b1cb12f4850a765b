// Standard output and error on Windows.
//
// A console shows wide characters whatever its code page, so text for a
// console goes through WriteConsoleW. Redirected text (a file, a pipe) is
// read by whatever the user points at it, most often the same console's
// `type`, `more` or `findstr`, which expect the console's output code page
// (936 on a Chinese Windows): it is encoded in that page. A process with no
// console at all (started detached, or by another program with pipes) writes
// UTF-8, which loses nothing.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace chmbook::platform {
namespace {

void WriteToConsole(HANDLE console, const std::wstring& text) {
    const wchar_t* data = text.data();
    std::size_t size = text.size();
    while (size > 0) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 14));
        DWORD written = 0;
        if (!WriteConsoleW(console, data, piece, &written, nullptr) || written == 0) return;
        data += written;
        size -= written;
    }
}

std::string Encode(const std::wstring& text, UINT codePage) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const int need = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (need <= 0) return std::string();
    std::string bytes(static_cast<std::size_t>(need), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), need, nullptr, nullptr);
    return bytes;
}

}  // namespace

void WriteStandardText(StandardStream stream, std::string_view utf8) {
    const HANDLE handle = GetStdHandle(stream == StandardStream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || utf8.empty()) return;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteToConsole(handle, win32::Wide(FromUtf8(utf8)));
        return;
    }
    const UINT codePage = GetConsoleOutputCP();
    if (codePage == 0 || codePage == CP_UTF8) {
        win32::WriteAll(handle, utf8.data(), utf8.size());
        return;
    }
    const std::string bytes = Encode(win32::Wide(FromUtf8(utf8)), codePage);
    win32::WriteAll(handle, bytes.data(), bytes.size());
}

std::string UserLocaleName() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LCID display = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (LCIDToLocaleName(display, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) return {};
    return ToUtf8(win32::FromWide(name, wcslen(name)));
}

}  // namespace chmbook::platform
