#pragma once
// A page's title as the topic table stores it: the text of its first <title>
// element in the book's code page, whatever the page is written in.
#include <string>
#include <string_view>

#include "fts/code_page.h"

namespace hhc::fts {

// The text of the first <title> with character references decoded and blanks
// collapsed. The page's bytes are read in the character set it declares (see
// html/page_charset.h), else in the book's code page, and written in the book's
// code page; a character that code page lacks gets a stand-in
// (CodePage::EncodeOrStandIn). Bytes that are not valid in the declared
// character set are kept as they stand. Empty when the page has no title.
std::string BookTitle(std::string_view html, CodePage& book);

}  // namespace hhc::fts
