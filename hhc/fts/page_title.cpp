#include "fts/page_title.h"

#include <optional>

#include "html/html_entities.h"
#include "html/page_charset.h"

namespace hhc::fts {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::size_t FindIgnoreCase(std::string_view text, std::string_view lowerNeedle, std::size_t from) {
    for (std::size_t i = from; i + lowerNeedle.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < lowerNeedle.size() && Lower(text[i + k]) == lowerNeedle[k]) ++k;
        if (k == lowerNeedle.size()) return i;
    }
    return std::string_view::npos;
}

// The bytes between <title ...> and </title>; the rest of the page when the
// end tag is missing.
std::optional<std::string_view> RawTitle(std::string_view html) {
    for (std::size_t from = 0;;) {
        const std::size_t open = FindIgnoreCase(html, "<title", from);
        if (open == std::string_view::npos) return std::nullopt;
        const std::size_t after = open + 6;
        if (after < html.size() && html[after] != '>' && !IsBlank(html[after])) {
            from = after;  // <titlebar> or similar
            continue;
        }
        const std::size_t start = html.find('>', after);
        if (start == std::string_view::npos) return std::nullopt;
        const std::size_t end = FindIgnoreCase(html, "</title", start + 1);
        return html.substr(start + 1, (end == std::string_view::npos ? html.size() : end) - start - 1);
    }
}

// Writes text read in `source` into the book's code page.
void AppendConverted(std::string_view text, std::uint32_t source, CodePage& book, std::string& out) {
    if (source == book.number()) {
        out.append(text);
        return;
    }
    const std::optional<std::u32string> characters = CodePage::Decode(text, source);
    if (!characters) {
        out.append(text);
        return;
    }
    for (char32_t c : *characters) out += book.EncodeOrStandIn(c);
}

std::string CollapseBlanks(std::string_view text) {
    std::string collapsed;
    for (char c : text) {
        if (!IsBlank(c)) {
            collapsed.push_back(c);
        } else if (!collapsed.empty() && collapsed.back() != ' ') {
            collapsed.push_back(' ');
        }
    }
    if (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
    return collapsed;
}

}  // namespace

std::string BookTitle(std::string_view html, CodePage& book) {
    const std::optional<std::string_view> raw = RawTitle(html);
    if (!raw || raw->empty()) return {};
    const std::uint32_t source = html::DeclaredCodePage(html).value_or(book.number());
    // '&' is never part of a multi-byte character in the code pages pages
    // are written in, so the text between references converts on its own.
    std::string title;
    std::size_t runStart = 0;
    for (std::size_t pos = 0; pos < raw->size();) {
        if ((*raw)[pos] != '&') {
            ++pos;
            continue;
        }
        std::size_t after = pos;
        const char32_t character = html::ReadCharacterReference(*raw, after);
        if (character == 0) {
            ++pos;
            continue;
        }
        AppendConverted(raw->substr(runStart, pos - runStart), source, book, title);
        title += book.EncodeOrStandIn(character);
        pos = runStart = after;
    }
    AppendConverted(raw->substr(runStart), source, book, title);
    return CollapseBlanks(title);
}

}  // namespace hhc::fts
