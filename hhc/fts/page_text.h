#pragma once
// The searchable text of one HTML page: its <title> and its body, with markup,
// scripts, styles and comments removed and character references decoded into
// the book's code page. (The files a page links to are read from its markup
// by project/html_scanner.h.)
#include <string>
#include <string_view>

#include "fts/code_page.h"

namespace hhc::fts {

// Marks inside the extracted text. Neither byte can come from the page: the
// extractor turns NUL and 0x01 bytes of the page into blanks.
inline constexpr char kBlockBreak = '\0';  // a paragraph, heading, cell... ends
inline constexpr char kUnwritable = '\x01';  // a character the code page cannot hold

struct PageText {
    std::string title;  // code-page bytes of <title>
    std::string body;   // code-page bytes of everything shown outside <head>
};

// Text runs are copied byte for byte except that a lead byte without a valid
// trail byte becomes kUnwritable, so every double-byte character in the result
// is whole. A page that declares UTF-8 has its text converted into the book's
// code page, so that queries (always in the book's code page) find it.
PageText ExtractPageText(std::string_view html, CodePage& codePage);

}  // namespace hhc::fts
