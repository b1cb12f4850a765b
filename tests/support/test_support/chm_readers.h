#pragma once
// Reading books back with CHM readers we did not write: CHMLib's
// extract_chmLib, 7-Zip's "7z x", libmspack (linked in) and pychm (CHMLib
// through Python). Each gives every file the reader found, by name ("/..." in
// UTF-8, folder entries left out), with its bytes; or nullopt with the reason
// in *problem when the reader fails or is missing (the reason then names the
// Debian package to install). `scratch` is an existing folder it may fill.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "test_support/test_files.h"

namespace test_support {

using Problems = std::vector<std::string>;

// libmspack also looks every name up on a fast-opened book; pychm looks each
// up as written and ASCII upper-cased, and made-up names that must not be
// found, through CHMLib's lookup. A lookup that goes wrong is a problem.
struct ChmReader {
    const char* name;
    std::optional<BookFiles> (*extract)(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                        std::string* problem);
};
// extract_chmLib, 7-Zip, libmspack and pychm.
extern const ChmReader kChmReaders[4];

// Every difference between `files` and `expected`: files missing, files not
// expected, files with other bytes; each problem starts with `reader`.
Problems CompareWithExpected(const std::string& reader, const BookFiles& files, const BookFiles& expected);

// What a check compares: every file of the book, or all but the compiler's
// system files ("/#..." and "/$..."), whose bytes only the compiler knows.
enum class Compared { kEveryFile, kAllButSystemFiles };

// Has `reader` extract `book` into a folder of its own below `scratch` and
// compares what it found with `expected` exactly.
Problems CheckWithReader(const ChmReader& reader, const std::filesystem::path& book, const BookFiles& expected,
                         const std::filesystem::path& scratch, Compared compared = Compared::kEveryFile);

// The problems one per line, for a test's failure message; after a few dozen
// only how many more there are.
std::string Joined(const Problems& problems);

}  // namespace test_support
