#include "batch/list_page.h"

#include <algorithm>
#include <string>

#include "batch/build_context.h"
#include "render/render.h"

namespace chmbook {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

std::u16string PageFileName(std::size_t page) { return DecimalText(page) + u".htm"; }

std::u16string VisibleNumber(std::size_t page) {
    std::u16string number = DecimalText(page);
    if (number.size() < 3) number.insert(0, 3 - number.size(), u'0');
    return number;
}

std::u16string ListExcerpt(const std::u16string& text) {
    std::size_t length = std::min(text.size(), kExcerptLength);
    if (length < text.size() && IsHighSurrogate(text[length - 1])) --length;
    return EscapeHtmlText(std::u16string_view(text).substr(0, length));
}

std::u16string ListTableStart() {
    return u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>";
}

std::u16string ListTableRow(std::size_t page, const std::u16string& name, const std::u16string& excerpt) {
    std::u16string row = u"<tr>\r\n";
    row += u"<td width='100%' height='40'><p>";
    row += VisibleNumber(page);
    row += u". <a href='";
    row += PageFileName(page);
    row += u"'>";
    row += EscapeHtmlText(name);
    row += u"</a></p><p class='bewrite'>&nbsp;&nbsp;&nbsp;&nbsp;";
    row += excerpt;
    row += u"</p></td>\r\n";
    row += u"</tr>\r\n";
    row += u"<tr><td width='100%' height='30'></td></tr>\r\n";
    return row;
}

std::u16string ListTableEnd() { return u"</table>\r\n"; }

}  // namespace chmbook
