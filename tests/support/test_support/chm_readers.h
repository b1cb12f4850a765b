#pragma once
// Reading books back with CHM readers we did not write: CHMLib's
// extract_chmLib, 7-Zip's "7z x", libmspack (linked in) and pychm (CHMLib
// through Python). Each returns every file the reader found, by name, with
// its bytes; or nullopt with the reason in *problem when the reader fails or
// is missing (the reason then names the Debian package to install).
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "test_support/test_files.h"

namespace test_support {

using Problems = std::vector<std::string>;

// Names are "/..." in UTF-8; folder entries are left out. `scratch` is an
// existing folder the reader may fill.
std::optional<BookFiles> ExtractWithChmLib(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                           std::string* problem);
std::optional<BookFiles> ExtractWith7Zip(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                         std::string* problem);
// Full open and extraction of every listed file; then, on a fast-opened book,
// fast_find of every name as written and ASCII upper-cased, which must give
// the listed entry, and of made-up names, which must fail.
std::optional<BookFiles> ExtractWithMspack(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                           std::string* problem);
// pychm's listing of the book, each file read through a lookup of its name
// (and looked up upper-cased; made-up names must not be found).
std::optional<BookFiles> ExtractWithPychm(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                          std::string* problem);

using Extractor = std::optional<BookFiles> (*)(const std::filesystem::path&, const std::filesystem::path&,
                                               std::string*);
struct ChmReader {
    const char* name;
    Extractor extract;
};
// extract_chmLib, 7-Zip, libmspack and pychm.
extern const ChmReader kChmReaders[4];

// Every difference between `files` and `expected`: files missing, files not
// expected, files with other bytes; each problem starts with `reader`. The
// list is cut short after a few dozen entries.
Problems CompareWithExpected(const std::string& reader, const BookFiles& files, const BookFiles& expected);

// Has `reader` extract `book` into a folder of its own below `scratch` and
// compares what it found with `expected` exactly.
Problems CheckWithReader(const ChmReader& reader, const std::filesystem::path& book, const BookFiles& expected,
                         const std::filesystem::path& scratch);

// The problems one per line, for a test's failure message.
std::string Joined(const Problems& problems);

}  // namespace test_support
