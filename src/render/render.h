#pragma once
// Page rendering: the HTML text of the book's pages.
//
// Every function returns a new string and keeps nothing between calls. The
// page head and foot read the window's state through `frm` at the moment of
// the call.
#include <string>
#include <string_view>

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

// "&", "<", ">" and '"' replaced by their entities, so that the text shows as
// it is wherever it stands in a page (file names, titles, excerpts).
std::u16string EscapeHtmlText(std::u16string_view text);

// ---- Characters a page cannot hold ----------------------------------------

// The page text with every character that the ANSI code page cannot hold
// (where encoding it would give a stand-in or a look-alike) written as a
// numeric character reference, "&#128512;", one per code point. A lone
// surrogate becomes the reference of U+FFFD.
std::u16string WithCharacterReferences(std::u16string_view html);

// The characters of `text` that the ANSI code page cannot hold, each once,
// in order of first appearance (a surrogate pair counts as one character).
std::u16string CharactersOutsideAnsi(std::u16string_view text);

// ---- Source files ---------------------------------------------------------

// How the bytes of a source file are read. kAuto: a byte-order mark decides
// (UTF-8, UTF-16 little- or big-endian; the mark is not part of the text);
// without one, UTF-8 when the bytes are entirely valid UTF-8 and hold at
// least one character of three or four bytes, else the ANSI code page.
// kGbk reads every file in the ANSI code page, marks included; kUtf8 and
// kUtf16 read every file so, skipping a matching mark (UTF-16 without a mark
// is little-endian).
enum class SourceEncoding { kAuto, kGbk, kUtf8, kUtf16 };

// The text of a file's bytes. Bytes that are not valid in the encoding
// become U+FFFD (UTF-8, UTF-16) or the code page's stand-in (ANSI).
std::u16string DecodeSourceText(std::string_view bytes, SourceEncoding encoding);

// The whole text of a file, read as `encoding` says (kAuto when not given),
// or the empty string when it cannot be read. Never throws.
std::u16string GetContent(std::u16string strFileName);
std::u16string GetContent(std::u16string strFileName, SourceEncoding encoding);

// The file name without its folder and without its last extension; empty
// when the name has no ".". Only the platform's folder separator counts; a
// path without one is first trimmed of leading and trailing blanks. A name
// that the file system holds in bytes that are not UTF-8 (so the path holds
// them as escaped bytes, see platform::FromUtf8) is shown decoded from the
// ANSI code page, as the system that wrote it would show it.
std::u16string GetFileName(std::u16string strFile);

// ---- Page head and foot ---------------------------------------------------

// Page kinds, the `intDemo` argument below: 1 is the list page, any other
// value a content page.
inline constexpr int kListPage = 1;
inline constexpr int kContentPage = 0;

// The page head: document head with the title and the text of Hha.css from
// the program's folder (read anew on every call), the red notice, the title
// as a heading and the head block with the page kind's snippet. The title is
// plain text and is escaped; the notice and the snippets are HTML and go in
// as they are.
std::u16string HtmlTitle(const WindowState& frm, std::u16string strTitle, int intDemo);

// The page foot: the foot block with the page kind's snippet and the closing
// tags.
std::u16string HtmlFoot(const WindowState& frm, int intDemo);

}  // namespace chmbook
