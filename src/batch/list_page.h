#pragma once
// The pieces of the list page's table: one numbered row per source file,
// linking its content page and showing the start of its text.
#include <cstddef>
#include <string>

namespace chmbook {

// How many characters of a text the list page shows.
inline constexpr std::size_t kExcerptLength = 200;

// The content page's file name and link target: "0.htm", "1.htm", …
std::u16string PageFileName(std::size_t page);
// The number shown in the list: at least three digits, "000", "001", … "1000".
std::u16string VisibleNumber(std::size_t page);
// The first kExcerptLength characters of the text (never half of a surrogate
// pair), with "&", "<", ">" and the double quote escaped like a content page's
// body, so that text from anywhere cannot become markup on the list page.
std::u16string ListExcerpt(const std::u16string& text);

std::u16string ListTableStart();
// One entry: its row, its cell (the name escaped as text, the excerpt as
// given) and the spacer row after it, each line ending in CR LF.
std::u16string ListTableRow(std::size_t page, const std::u16string& name, const std::u16string& excerpt);
std::u16string ListTableEnd();

}  // namespace chmbook
