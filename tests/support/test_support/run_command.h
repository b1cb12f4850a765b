#pragma once
// Running other programs from tests through the shell.
#include <filesystem>
#include <string>
#include <string_view>

namespace test_support {

struct CommandResult {
    int exitCode = -1;   // -1 when the command did not exit normally
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs a shell command line; its output is captured through files in `scratch`.
CommandResult RunCommand(const std::string& commandLine, const std::filesystem::path& scratch);

// `text` quoted for the POSIX shell (for cmd.exe on Windows, where command
// lines are UTF-8 here and wide when run).
std::string Quote(std::string_view text);
#ifdef _WIN32
std::string Quote(const std::filesystem::path& path);
#else
inline std::string Quote(const std::filesystem::path& path) { return Quote(std::string_view(path.native())); }
#endif
inline std::string Quote(const char* text) { return Quote(std::string_view(text)); }
inline std::string Quote(const std::string& text) { return Quote(std::string_view(text)); }

}  // namespace test_support
