#pragma once
// Reads compiled books back with readers we did not write: CHMLib's
// extract_chmLib, 7-Zip, libmspack (linked in) and pychm (CHMLib through
// Python). Each returns the files it found, by name, with their bytes.
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace hhc::testing {

using BookFiles = std::map<std::string, std::string>;  // "/index.htm" -> bytes

struct CommandResult {
    int exitCode = -1;
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs a shell command line with its output captured in `scratch`.
CommandResult RunCommand(const std::string& commandLine, const std::filesystem::path& scratch);
std::string Quote(const std::filesystem::path& path);

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// Every regular file below `folder`, named "/relative/path".
BookFiles FilesBelow(const std::filesystem::path& folder);

// nullopt (with the reason in *problem) when the reader is missing or fails.
std::optional<BookFiles> ExtractWithChmLib(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                           std::string* problem);
std::optional<BookFiles> ExtractWith7Zip(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                         std::string* problem);
// Full open and extraction of every file, then a fast lookup of each name.
std::optional<BookFiles> ExtractWithMspack(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                           std::string* problem);

// What pychm's CHMFile reports about a book.
struct PychmReport {
    std::string title;     // bytes as stored
    std::string home;      // "/index.htm"
    std::string topics;    // contents file
    std::string index;     // index file
    std::string encoding;  // GetLCID()[0], e.g. "cp936"
    bool searchable = false;
    BookFiles files;       // every normal and special file, through chm_retrieve_object
};
std::optional<PychmReport> ReadWithPychm(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                         std::string* problem);

// pychm's full-text search: titles and URLs found for a query (bytes in the
// book's code page); nullopt when the search fails.
std::optional<std::map<std::string, std::string>> SearchWithPychm(const std::filesystem::path& book,
                                                                  const std::string& query,
                                                                  const std::filesystem::path& scratch,
                                                                  std::string* problem);

}  // namespace hhc::testing
