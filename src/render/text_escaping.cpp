// The body of a content page: text cut into lines, each escaped into one
// paragraph.
#include "render/render.h"

namespace chmbook {
namespace {

constexpr std::u16string_view kLineBreak = u"\r\n";
constexpr std::u16string_view kParagraphOpen = u"<p>";
constexpr std::u16string_view kParagraphClose = u"</P>\r\n";

// Appends `line` with "&", "<", ">" and '"' replaced by their entities. One
// pass gives the same text as replacing "&" first and then the other three in
// turn: none of the inserted entities holds a character replaced after it.
void AppendEscaped(std::u16string& out, std::u16string_view line) {
    std::size_t plain = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        std::u16string_view entity;
        switch (line[i]) {
            case u'&': entity = u"&amp;"; break;
            case u'<': entity = u"&lt;"; break;
            case u'>': entity = u"&gt;"; break;
            case u'"': entity = u"&quot;"; break;
            default: continue;
        }
        out.append(line, plain, i - plain);
        out += entity;
        plain = i + 1;
    }
    out.append(line, plain);
}

}  // namespace

std::u16string ReplaceString(std::u16string txt, std::u16string from_str, std::u16string to_str) {
    if (from_str.empty()) return txt;
    std::size_t found = txt.find(from_str);
    if (found == std::u16string::npos) return txt;
    std::u16string result;
    result.reserve(txt.size());
    std::size_t rest = 0;
    while (found != std::u16string::npos) {
        result.append(txt, rest, found - rest);
        result += to_str;
        rest = found + from_str.size();
        found = txt.find(from_str, rest);
    }
    result.append(txt, rest);
    return result;
}

std::u16string BoldComments(std::u16string txt) { return txt; }

std::u16string txtToHTML(std::u16string source_text) {
    std::u16string result;
    result.reserve(source_text.size() + source_text.size() / 8 + 16);
    const std::u16string_view text = source_text;
    std::size_t rest = 0;
    while (rest < text.size()) {
        const std::size_t end = text.find(kLineBreak, rest);
        const std::size_t lineEnd = end == std::u16string_view::npos ? text.size() : end;
        const std::u16string line = BoldComments(std::u16string(text.substr(rest, lineEnd - rest)));
        result += kParagraphOpen;
        AppendEscaped(result, line);
        result += kParagraphClose;
        rest = end == std::u16string_view::npos ? text.size() : end + kLineBreak.size();
    }
    return result;
}

}  // namespace chmbook
