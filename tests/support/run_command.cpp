#include "test_support/run_command.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <atomic>
#include <cstdlib>

#include "test_support/test_files.h"

namespace test_support {

namespace fs = std::filesystem;

#ifdef _WIN32
namespace {

std::wstring WideFromUtf8(std::string_view text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

}  // namespace

// For cmd.exe and the C runtime's parser; a path's text is UTF-8 (see RunCommand).
std::string Quote(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += "\\\"";
        else quoted += c;
    }
    return quoted + "\"";
}

std::string Quote(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return Quote(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

namespace {

// The command line is UTF-8; cmd.exe gets it as wide characters. The extra
// outer quotation marks are the ones cmd.exe strips from a line that starts
// with one. Exit codes from 0xC0000000 up are crashes.
int RunRedirected(const std::string& commandLine, const fs::path& out, const fs::path& err) {
    const std::wstring line =
        L"\"" + WideFromUtf8(commandLine) + L" >\"" + out.wstring() + L"\" 2>\"" + err.wstring() + L"\"\"";
    const int status = _wsystem(line.c_str());
    return (status == -1 || static_cast<unsigned>(status) >= 0xC0000000u) ? -1 : status;
}

}  // namespace

bool IsOnPath(std::string_view program) {
    std::wstring found(MAX_PATH, L'\0');
    return SearchPathW(nullptr, WideFromUtf8(program).c_str(), L".exe", MAX_PATH, found.data(), nullptr) != 0;
}
#else
std::string Quote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

namespace {

// Braces, so that the output of every command of a list is captured, not just the last one's.
int RunRedirected(const std::string& commandLine, const fs::path& out, const fs::path& err) {
    const int status = std::system(("{ " + commandLine + "\n} >" + Quote(out) + " 2>" + Quote(err)).c_str());
    return (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
}

}  // namespace

bool IsOnPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string_view rest(path);
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        std::error_code ec;
        if (!dir.empty() && fs::exists(fs::path(dir) / program, ec)) return true;
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return false;
}
#endif

CommandResult RunCommand(const std::string& commandLine, const fs::path& scratch) {
    static std::atomic<unsigned> counter{0};
    const std::string tag = std::to_string(++counter);
    const fs::path out = scratch / ("command-" + tag + ".out");
    const fs::path err = scratch / ("command-" + tag + ".err");
    CommandResult result;
    result.exitCode = RunRedirected(commandLine, out, err);
    result.output = ReadBytes(out);
    result.errors = ReadBytes(err);
    std::error_code ignored;
    fs::remove(out, ignored);
    fs::remove(err, ignored);
    return result;
}

}  // namespace test_support
