// ReplaceString, BoldComments and txtToHTML.
#include <gtest/gtest.h>

#include <random>

#include "render/render.h"

namespace chmbook {
namespace {

TEST(ReplaceString, ReplacesEveryOccurrenceLeftToRight) {
    EXPECT_EQ(ReplaceString(u"a&b&&c", u"&", u"&amp;"), u"a&amp;b&amp;&amp;c");
    EXPECT_EQ(ReplaceString(u"aaaa", u"aa", u"b"), u"bb");          // no overlaps
    EXPECT_EQ(ReplaceString(u"aaa", u"aa", u"b"), u"ba");
    EXPECT_EQ(ReplaceString(u"abab", u"ab", u"abab"), u"abababab");  // inserted text not searched again
    EXPECT_EQ(ReplaceString(u"xyz", u"q", u"r"), u"xyz");
    EXPECT_EQ(ReplaceString(u"", u"q", u"r"), u"");
    EXPECT_EQ(ReplaceString(u"\u4E2D&\u6587", u"&", u"+"), u"\u4E2D+\u6587");
}

TEST(ReplaceString, IsCaseSensitive) { EXPECT_EQ(ReplaceString(u"aAa", u"a", u"x"), u"xAx"); }

TEST(ReplaceString, EmptyReplacementDeletes) { EXPECT_EQ(ReplaceString(u"a-b--c-", u"-", u""), u"abc"); }

TEST(ReplaceString, EmptySearchTextLeavesTextUnchanged) {
    EXPECT_EQ(ReplaceString(u"abc", u"", u"x"), u"abc");
    EXPECT_EQ(ReplaceString(u"", u"", u"x"), u"");
}

TEST(BoldComments, ReturnsEveryLineUnchanged) {
    for (const std::u16string line : {u"", u"' comment", u"say \"hi", u"<b>x</b>", u"\t  \u4E2D"})
        EXPECT_EQ(BoldComments(line), line);
}

TEST(TxtToHtml, OneParagraphPerLine) {
    EXPECT_EQ(txtToHTML(u""), u"");
    EXPECT_EQ(txtToHTML(u"one"), u"<p>one</P>\r\n");
    EXPECT_EQ(txtToHTML(u"one\r\ntwo"), u"<p>one</P>\r\n<p>two</P>\r\n");
    EXPECT_EQ(txtToHTML(u"one\r\ntwo\r\n"), u"<p>one</P>\r\n<p>two</P>\r\n");
}

TEST(TxtToHtml, EmptyLinesBecomeEmptyParagraphs) {
    EXPECT_EQ(txtToHTML(u"one\r\n\r\n"), u"<p>one</P>\r\n<p></P>\r\n");
    EXPECT_EQ(txtToHTML(u"\r\none"), u"<p></P>\r\n<p>one</P>\r\n");
    EXPECT_EQ(txtToHTML(u"a\r\n\r\nb"), u"<p>a</P>\r\n<p></P>\r\n<p>b</P>\r\n");
    EXPECT_EQ(txtToHTML(u"\r\n"), u"<p></P>\r\n");
}

TEST(TxtToHtml, LoneCrOrLfStaysInsideTheLine) {
    EXPECT_EQ(txtToHTML(u"a\nb\nc"), u"<p>a\nb\nc</P>\r\n");
    EXPECT_EQ(txtToHTML(u"a\rb\r"), u"<p>a\rb\r</P>\r\n");
    EXPECT_EQ(txtToHTML(u"a\n\r\nb"), u"<p>a\n</P>\r\n<p>b</P>\r\n");
    EXPECT_EQ(txtToHTML(u"a\r\r\nb"), u"<p>a\r</P>\r\n<p>b</P>\r\n");
}

TEST(TxtToHtml, EscapesMarkupCharacters) {
    EXPECT_EQ(txtToHTML(u"<&>\""), u"<p>&lt;&amp;&gt;&quot;</P>\r\n");
    EXPECT_EQ(txtToHTML(u"&lt;"), u"<p>&amp;lt;</P>\r\n");
    EXPECT_EQ(txtToHTML(u"&&&"), u"<p>&amp;&amp;&amp;</P>\r\n");
    EXPECT_EQ(txtToHTML(u"it's"), u"<p>it's</P>\r\n");
}

TEST(TxtToHtml, KeepsSpacesTabsAndChinese) {
    EXPECT_EQ(txtToHTML(u"  \t\u4E2D  \u6587\t"), u"<p>  \t\u4E2D  \u6587\t</P>\r\n");
}

// The page body must equal what the line-by-line recipe gives: BoldComments,
// then the four replacements in their order, then the paragraph tags.
std::u16string ReferenceBody(const std::u16string& text) {
    std::u16string body;
    std::u16string rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find(u"\r\n");
        std::u16string line = rest.substr(0, end);
        rest = end == std::u16string::npos ? std::u16string() : rest.substr(end + 2);
        line = BoldComments(line);
        line = ReplaceString(line, u"&", u"&amp;");
        line = ReplaceString(line, u"<", u"&lt;");
        line = ReplaceString(line, u">", u"&gt;");
        line = ReplaceString(line, u"\"", u"&quot;");
        body += u"<p>" + line + u"</P>\r\n";
    }
    return body;
}

TEST(TxtToHtml, MatchesTheLineByLineRecipeOnRandomText) {
    const std::u16string alphabet = u"ab \t\r\n&<>\"';\u4E2D\u6587";
    std::mt19937 random(2024);
    for (int round = 0; round < 500; ++round) {
        std::u16string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        ASSERT_EQ(txtToHTML(text), ReferenceBody(text)) << "round " << round;
    }
}

}  // namespace
}  // namespace chmbook
