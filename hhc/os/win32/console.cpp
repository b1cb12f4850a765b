#include <cstdio>

#include "os/os.h"
#include "os/win32/wide.h"  // windows.h, which shellapi.h needs first

#include <shellapi.h>

namespace hhc::os {
namespace {

// A console gets the text as UTF-16, so that it shows whatever its code
// page; a file or a pipe gets UTF-8, which is what the book build reads back.
void Write(DWORD which, std::FILE* stream, std::string_view text) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        const std::wstring wide = win32::WideFromUtf8(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace

std::vector<std::string> CommandLineArguments(int, char**) {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(win32::Utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

void WriteStandardOutput(std::string_view text) { Write(STD_OUTPUT_HANDLE, stdout, text); }

void WriteStandardError(std::string_view text) {
    std::fflush(stdout);
    Write(STD_ERROR_HANDLE, stderr, text);
}

}  // namespace hhc::os
