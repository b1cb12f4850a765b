#pragma once
// Everything hhc asks of the operating system: files and folders by path,
// code-page conversion, the command line and the console. One POSIX and one
// Win32 implementation; nothing else in hhc calls the system directly.
//
// Names cross this seam as UTF-8 strings (on POSIX systems: the file
// system's bytes as they stand). A std::filesystem::path is only ever made
// from a name by PathFromUtf8 and turned back by Utf8FromPath, so Windows
// never reads a name in its ANSI code page.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hhc::os {

std::filesystem::path PathFromUtf8(std::string_view name);
std::string Utf8FromPath(const std::filesystem::path& path);

enum class FileKind { kMissing, kFile, kFolder, kOther };

// What `path` names, links followed.
FileKind KindOf(const std::filesystem::path& path);

// `path` made absolute with every link resolved; nullopt when it does not exist.
std::optional<std::filesystem::path> RealPath(const std::filesystem::path& path);

// The names in `folder` without "." and ".."; empty when it cannot be listed.
std::vector<std::string> ListFolder(const std::filesystem::path& folder);

// False when the file cannot be read; `reason` then says why.
bool ReadWholeFile(const std::filesystem::path& path, std::string& data, std::string* reason = nullptr);

enum class WriteOutcome { kWritten, kNotCreated, kNotWritten };

// Creates `path`, which must not exist yet, and writes `bytes` into it. On
// kNotWritten the file is there but incomplete; the caller removes it.
WriteOutcome WriteNewFile(const std::filesystem::path& path, std::string_view bytes, std::string* reason);

// Renames `from` over `to`, replacing a file of that name.
bool RenameOver(const std::filesystem::path& from, const std::filesystem::path& to, std::string* reason);

void RemoveFile(const std::filesystem::path& path);

// Conversion between an ANSI code page and UTF-8; nullopt when the text has
// bytes or characters that the other side lacks.
std::optional<std::string> AnsiToUtf8(std::string_view text, std::uint32_t codePage);
std::optional<std::string> Utf8ToAnsi(std::string_view text, std::uint32_t codePage);

// The program's arguments after its name, as UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Text (UTF-8) for standard output and standard error, written so that the
// console shows it; standard output is flushed before an error is written.
void WriteStandardOutput(std::string_view text);
void WriteStandardError(std::string_view text);

}  // namespace hhc::os
