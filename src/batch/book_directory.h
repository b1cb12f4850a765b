#pragma once
// The names a compiled book lists in its directory, read straight from the
// container, to check that the compiler took in every page.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chmbook {

// Every name in the listing chunks of the book's directory ("/index.htm",
// "/#SYSTEM", "::DataSpace/…"), as the UTF-8 bytes stored there; nothing when
// `book` is not a compiled help file or its directory is damaged.
std::optional<std::vector<std::string>> BookDirectoryNames(std::string_view book);

// The pages among `pages` (file names such as "index.htm") that the book's
// directory does not list as "/<name>" (letter case of ASCII letters aside,
// as the help viewer looks names up). Every page when the directory cannot be read.
std::vector<std::u16string> PagesMissingFromBook(std::string_view book, const std::vector<std::u16string>& pages);

}  // namespace chmbook
