#pragma once
// The texts of the help project that the compiler reads: an empty contents
// file, an empty index file and the project file naming the list page as the
// start page. Lines end in CR LF except where noted.
#include <string>

namespace chmbook {

// Temp.hhc; its last line has no CR LF.
std::u16string HhcText();
// Temp.hhk; every line ends in CR LF.
std::u16string HhkText();
// Temp.hhp with the book's title as the window caption, unchanged; its last
// line has no CR LF.
std::u16string HhpText(const std::u16string& strTitle);

}  // namespace chmbook
