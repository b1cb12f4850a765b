#pragma once
// pychm (package python3-chm for /usr/bin/python3): what its CHMFile reports
// about a book, and its full-text search.
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "test_support/test_files.h"

namespace test_support {

struct PychmReport {
    std::string title;     // bytes as stored
    std::string home;      // "/index.htm"
    std::string topics;    // contents file
    std::string index;     // index file
    std::string encoding;  // GetLCID()[0], e.g. "cp936"
    bool searchable = false;
    BookFiles files;       // every listed file, read through chm_retrieve_object
};

// nullopt (with the reason in *problem) when pychm is missing, cannot open or
// list the book, or a lookup fails.
std::optional<PychmReport> ReadWithPychm(const std::filesystem::path& book, const std::filesystem::path& scratch,
                                         std::string* problem);

// Titles -> URLs pychm's search finds for `query` (bytes in the book's code
// page); nullopt when the search fails.
std::optional<std::map<std::string, std::string>> SearchWithPychm(const std::filesystem::path& book,
                                                                  const std::string& query,
                                                                  const std::filesystem::path& scratch,
                                                                  std::string* problem);

}  // namespace test_support
