// Child processes and the desktop on Windows.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace chmbook::platform {
namespace {

using win32::ErrorText;
using win32::Handle;
using win32::Wide;

// Appends one argument so that the child's command-line parser
// (CommandLineToArgvW and the C runtime) gives it back unchanged.
void AppendQuoted(std::wstring& line, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            line.append(backslashes * 2 + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

}  // namespace

std::optional<ChildProcess> StartProcess(const std::u16string& program,
                                         const std::vector<std::u16string>& arguments,
                                         const std::u16string& outputFile, std::u16string* error) {
    auto fail = [error](DWORD code) -> std::optional<ChildProcess> {
        if (error) *error = ErrorText(code);
        return std::nullopt;
    };
    const std::wstring application = Wide(program);
    std::wstring line = L"\"" + application + L"\"";
    for (const auto& argument : arguments) {
        line += L' ';
        AppendQuoted(line, Wide(argument));
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    Handle output;
    if (!outputFile.empty()) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        output.Reset(CreateFileW(Wide(outputFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output.ok()) return fail(GetLastError());
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output.get();
        startup.hStdError = output.get();
    }
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, output.ok(), CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &info))
        return fail(GetLastError());
    CloseHandle(info.hThread);
    return ChildProcess{reinterpret_cast<std::intptr_t>(info.hProcess)};
}

int WaitForExit(ChildProcess& child) {
    const auto process = reinterpret_cast<HANDLE>(child.handle);
    if (!process || WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    if (!GetExitCodeProcess(process, &code)) return -1;
    return static_cast<int>(code);
}

void ReleaseProcess(ChildProcess& child) {
    if (child.handle) CloseHandle(reinterpret_cast<HANDLE>(child.handle));
    child.handle = 0;
}

// ShellExecute reports failure with a value of 32 or less (no application
// associated with the type, file not found, ...).
bool OpenDocument(const std::u16string& path) {
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace chmbook::platform
