// ReplaceString and txtToHTML.
#include <gtest/gtest.h>

#include "render/render.h"

namespace chmbook {
namespace {

TEST(ReplaceString, ReplacesEveryOccurrenceLeftToRight) {
    const struct {
        std::u16string text, from, to, result;
    } cases[] = {
        {u"a&b&&c", u"&", u"&amp;", u"a&amp;b&amp;&amp;c"},
        {u"aaaa", u"aa", u"b", u"bb"},  // no overlaps
        {u"aaa", u"aa", u"b", u"ba"},
        {u"abab", u"ab", u"abab", u"abababab"},  // inserted text not searched again
        {u"xyz", u"q", u"r", u"xyz"},
        {u"", u"q", u"r", u""},
        {u"\u4E2D&\u6587", u"&", u"+", u"\u4E2D+\u6587"},
        {u"aAa", u"a", u"x", u"xAx"},
        {u"a-b--c-", u"-", u"", u"abc"},
        {u"abc", u"", u"x", u"abc"},  // an empty search text changes nothing
    };
    for (const auto& c : cases) EXPECT_EQ(ReplaceString(c.text, c.from, c.to), c.result);
}

TEST(TxtToHtml, OneEscapedParagraphPerCrLfLine) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", u""},
        {u"one", u"<p>one</P>\r\n"},
        {u"one\r\ntwo\r\n", u"<p>one</P>\r\n<p>two</P>\r\n"},
        {u"one\r\n\r\n", u"<p>one</P>\r\n<p></P>\r\n"},
        {u"\r\none", u"<p></P>\r\n<p>one</P>\r\n"},
        {u"\r\n", u"<p></P>\r\n"},
        {u"a\nb\rc", u"<p>a\nb\rc</P>\r\n"},  // a lone CR or LF stays inside the line
        {u"a\n\r\nb", u"<p>a\n</P>\r\n<p>b</P>\r\n"},
        {u"a\r\r\nb", u"<p>a\r</P>\r\n<p>b</P>\r\n"},
        {u"<&>\"", u"<p>&lt;&amp;&gt;&quot;</P>\r\n"},
        {u"&lt;&&", u"<p>&amp;lt;&amp;&amp;</P>\r\n"},
        {u"it's ' comment", u"<p>it's ' comment</P>\r\n"},
        {u"  \t\u4E2D  \u6587\t", u"<p>  \t\u4E2D  \u6587\t</P>\r\n"},
    };
    for (const auto& [text, html] : cases) EXPECT_EQ(txtToHTML(text), html);
}

}  // namespace
}  // namespace chmbook
