// A child program for the process tests, steered by its arguments:
//   exit N          ends with exit code N
//   args A...       writes "[A]" for each argument (UTF-8) to standard output,
//                   then "!" to standard error
//   crash           ends as a crash does (SIGKILL; on Windows exit code 0xC0000005)
//   handle N        (Windows) ends with 1 when N is an open handle in this process, else 0
//   orphan          (Windows) starts "platform_child sleep 60000", writes its process
//                   id, and is killed without releasing anything
//   sleep MS        (Windows) waits that long, then ends with 0
#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"

using namespace chmbook::platform;

namespace {

// Written at once: the crash and orphan modes end without flushing.
void Write(std::FILE* stream, const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

int Run(const std::vector<std::string>& args) {
    const std::string mode = args.size() > 1 ? args[1] : "";
    const long number = args.size() > 2 ? std::strtol(args[2].c_str(), nullptr, 10) : 0;
    if (mode == "args") {
        for (std::size_t i = 2; i < args.size(); ++i) Write(stdout, "[" + args[i] + "]");
        Write(stderr, "!");
    }
#ifdef _WIN32
    if (mode == "crash") TerminateProcess(GetCurrentProcess(), 0xC0000005);
    if (mode == "sleep") Sleep(static_cast<DWORD>(number));
    DWORD flags = 0;
    if (mode == "handle") return GetHandleInformation(reinterpret_cast<HANDLE>(std::intptr_t{number}), &flags) ? 1 : 0;
    if (mode == "orphan") {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        auto child = StartProcess(reinterpret_cast<const char16_t*>(self), {u"sleep", u"60000"}, u"", nullptr);
        if (!child) return 2;
        Write(stdout, std::to_string(GetProcessId(reinterpret_cast<HANDLE>(child->handle))));
        TerminateProcess(GetCurrentProcess(), 9);
    }
#else
    if (mode == "crash") raise(SIGKILL);
#endif
    return mode == "exit" ? static_cast<int>(number) : mode == "args" || mode == "sleep" ? 0 : 100;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    return Run(args);
}
#else
int main(int argc, char** argv) { return Run({argv, argv + argc}); }
#endif
