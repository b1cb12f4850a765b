#pragma once
// Page rendering: the HTML text of the book's pages.
//
// Every function returns a new string and keeps nothing between calls. The
// page head and foot read the window's state through `frm` at the moment of
// the call.
#include <string>

#include "common/window_state.h"

namespace chmbook {

// ---- Text escaping and replacement ----------------------------------------

// `txt` with every occurrence of `from_str` replaced by `to_str`, from left to
// right, never overlapping; inserted text is not searched again. Case matters.
// An empty `from_str` leaves `txt` unchanged.
std::u16string ReplaceString(std::u16string txt, std::u16string from_str, std::u16string to_str);

// One line of a content page, as it will be shown. Returns the line unchanged.
std::u16string BoldComments(std::u16string txt);

// The body of a content page: every line of `source_text` (lines end at CR LF;
// a lone CR or LF stays inside its line) becomes "<p>" line "</P>" CR LF, with
// "&", "<", ">" and '"' escaped. No CR LF at the very end gives no empty
// paragraph; an empty text gives an empty body.
std::u16string txtToHTML(std::u16string source_text);

// ---- Source files ---------------------------------------------------------

// The whole text of a file decoded from the ANSI code page, or the empty
// string when it cannot be read. Never throws.
std::u16string GetContent(std::u16string strFileName);

// The file name without its folder and without its last extension; empty
// when the name has no ".". Only the platform's folder separator counts; a
// path without one is first trimmed of leading and trailing blanks.
std::u16string GetFileName(std::u16string strFile);

// ---- Page head and foot ---------------------------------------------------

// Page kinds, the `intDemo` argument below: 1 is the list page, any other
// value a content page.
inline constexpr int kListPage = 1;
inline constexpr int kContentPage = 0;

// The page head: document head with the title and the text of Hha.css from
// the program's folder (read anew on every call), the red notice, the title
// as a heading and the head block with the page kind's snippet.
std::u16string HtmlTitle(const WindowState& frm, std::u16string strTitle, int intDemo);

// The page foot: the foot block with the page kind's snippet and the closing
// tags.
std::u16string HtmlFoot(const WindowState& frm, int intDemo);

}  // namespace chmbook
