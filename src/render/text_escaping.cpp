// The body of a content page: text cut into lines, each escaped into one
// paragraph.
#include <array>

#include "render/render.h"

namespace chmbook {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
constexpr std::u16string_view kParagraphOpen = u"<p>";
constexpr std::u16string_view kParagraphClose = u"</P>\r\n";

// The entity of each character that a page must not show raw, indexed by
// the character (all of them are below '?').
constexpr std::array<std::u16string_view, 64> kEntities = [] {
    std::array<std::u16string_view, 64> entities{};
    entities[u'&'] = u"&amp;";
    entities[u'<'] = u"&lt;";
    entities[u'>'] = u"&gt;";
    entities[u'"'] = u"&quot;";
    return entities;
}();

std::u16string_view EntityOf(char16_t c) { return c < kEntities.size() ? kEntities[c] : std::u16string_view(); }

// Appends `line` with "&", "<", ">" and '"' replaced by their entities. One
// pass gives the same text as replacing "&" first and then the other three in
// turn: none of the inserted entities holds a character replaced after it.
void AppendEscaped(std::u16string& out, std::u16string_view line) {
    std::size_t plain = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const std::u16string_view entity = EntityOf(line[i]);
        if (entity.empty()) continue;
        out.append(line, plain, i - plain);
        out += entity;
        plain = i + 1;
    }
    out.append(line, plain);
}

// The length of the page body, so that it is built in one allocation.
std::size_t BodySize(std::u16string_view text) {
    std::size_t size = text.size();
    std::size_t lines = 0;
    for (std::size_t rest = 0; rest < text.size(); ++lines) {
        const std::size_t end = text.find(kLineBreak, rest);
        if (end == std::u16string_view::npos) break;
        size -= kLineBreak.size();
        rest = end + kLineBreak.size();
    }
    if (!text.empty() && !text.ends_with(kLineBreak)) ++lines;
    for (const char16_t c : text) size += EntityOf(c).empty() ? 0 : EntityOf(c).size() - 1;
    return size + lines * (kParagraphOpen.size() + kParagraphClose.size());
}

std::size_t CountOccurrences(std::u16string_view txt, std::u16string_view from) {
    std::size_t count = 0;
    for (std::size_t found = txt.find(from); found != std::u16string_view::npos;
         found = txt.find(from, found + from.size()))
        ++count;
    return count;
}

}  // namespace

std::u16string ReplaceString(std::u16string txt, std::u16string from_str, std::u16string to_str) {
    if (from_str.empty()) return txt;
    const std::size_t count = CountOccurrences(txt, from_str);
    if (count == 0) return txt;
    std::u16string result;
    result.reserve(txt.size() - count * from_str.size() + count * to_str.size());
    std::size_t rest = 0;
    for (std::size_t found = txt.find(from_str); found != std::u16string::npos;
         found = txt.find(from_str, rest)) {
        result.append(txt, rest, found - rest);
        result += to_str;
        rest = found + from_str.size();
    }
    result.append(txt, rest);
    return result;
}

std::u16string BoldComments(std::u16string txt) { return txt; }

std::u16string EscapeHtmlText(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    AppendEscaped(escaped, text);
    return escaped;
}

std::u16string txtToHTML(std::u16string source_text) {
    const std::u16string_view text = source_text;
    std::u16string result;
    result.reserve(BodySize(text));
    std::u16string line;  // one buffer for every line, passed through BoldComments and back
    for (std::size_t rest = 0; rest < text.size();) {
        std::size_t end = text.find(kLineBreak, rest);
        if (end == std::u16string_view::npos) end = text.size();
        line.assign(text.substr(rest, end - rest));
        line = BoldComments(std::move(line));
        result += kParagraphOpen;
        AppendEscaped(result, line);
        result += kParagraphClose;
        rest = end == text.size() ? end : end + kLineBreak.size();
    }
    return result;
}

}  // namespace chmbook
