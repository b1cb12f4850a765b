// A child program for the Windows process tests, steered by its arguments:
//   exit N          ends with exit code N
//   args A...       writes "[A]" for each argument (UTF-8) to standard output
//   print           writes "out" to standard output, "err" to standard error, ends with 5
//   crash           ends as an access violation does (exit code 0xC0000005)
//   handle N        ends with 1 when N is an open handle in this process, else 0
//   orphan          starts "platform_child sleep 60000", writes its process id,
//                   and is killed without releasing anything
//   sleep MS        waits that long, then ends with 0
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"

void Write(DWORD which, const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(which), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int wmain(int argc, wchar_t** argv) {
    using namespace chmbook::platform;
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const long number = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 0;
    if (mode == L"exit") return static_cast<int>(number);
    if (mode == L"crash") TerminateProcess(GetCurrentProcess(), 0xC0000005);
    if (mode == L"sleep") Sleep(static_cast<DWORD>(number));
    if (mode == L"print") {
        Write(STD_OUTPUT_HANDLE, "out\n");
        Write(STD_ERROR_HANDLE, "err\n");
        return 5;
    }
    if (mode == L"args") {
        std::string text;
        for (int i = 2; i < argc; ++i) text += "[" + ToUtf8(reinterpret_cast<const char16_t*>(argv[i])) + "]";
        Write(STD_OUTPUT_HANDLE, text);
    }
    if (mode == L"handle") {
        DWORD flags = 0;
        return GetHandleInformation(reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(number)), &flags) ? 1 : 0;
    }
    if (mode == L"orphan") {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        auto child = StartProcess(reinterpret_cast<const char16_t*>(self), {u"sleep", u"60000"}, u"", nullptr);
        if (!child) return 2;
        Write(STD_OUTPUT_HANDLE, std::to_string(GetProcessId(reinterpret_cast<HANDLE>(child->handle))));
        TerminateProcess(GetCurrentProcess(), 9);
    }
    return mode == L"args" || mode == L"sleep" ? 0 : 100;
}
