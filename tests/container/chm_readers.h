#pragma once
// Reading books back with CHM readers we did not write. Each check returns
// the problems it found (empty when the reader saw exactly the expected files
// with exactly the expected bytes). A reader that is not installed is reported
// as a problem naming the Debian package to install.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "container/itsf_writer.h"

namespace container_test {

// Name ("/..." UTF-8) -> contents, for every file a reader should extract.
using ExpectedFiles = std::map<std::string, std::string>;

// The files a book built from `files` holds: the given ones (folder entries
// left out) plus the empty "/#ITBITS" the container adds.
ExpectedFiles ExpectedFrom(const std::vector<hhc::container::InternalFile>& files);

using Problems = std::vector<std::string>;

// libmspack: full open, extraction of every listed file, and fast_find of
// every name (as written and upper-cased) on a fast-opened book.
Problems CheckWithLibmspack(const std::filesystem::path& book, const ExpectedFiles& expected,
                            const std::filesystem::path& scratch);

// CHMLib's extract_chmLib (package libchm-bin).
Problems CheckWithChmlibExtract(const std::filesystem::path& book, const ExpectedFiles& expected,
                                const std::filesystem::path& scratch);

// 7-Zip's "7z x" (package p7zip-full).
Problems CheckWith7zip(const std::filesystem::path& book, const ExpectedFiles& expected,
                       const std::filesystem::path& scratch);

// pychm (package python3-chm): enumeration, lookups and reads through CHMLib.
Problems CheckWithPychm(const std::filesystem::path& book, const ExpectedFiles& expected,
                        const std::filesystem::path& scratch);

}  // namespace container_test
