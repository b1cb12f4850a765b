// The markup of a page: text escaped into paragraphs, titles shown as text,
// and the exact frame (HtmlTitle, HtmlFoot) around every page.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/memory_window_state.h"
#include "platform/platform.h"
#include "render/render.h"
#include "test_support/scratch_folder.h"

namespace chmbook {
namespace {

TEST(ReplaceString, ReplacesEveryOccurrenceLeftToRight) {
    const struct {
        std::u16string text, from, to, result;
    } cases[] = {
        {u"a&b&&c", u"&", u"&amp;", u"a&amp;b&amp;&amp;c"},
        {u"aaa", u"aa", u"b", u"ba"},            // no overlaps
        {u"abab", u"ab", u"abab", u"abababab"},  // inserted text not searched again
        {u"xyz", u"q", u"r", u"xyz"},
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

class PageFrame : public ::testing::Test {
protected:
    PageFrame() {
        frm.appPath = dir.u16();
        frm.ad = u"Notice";
        frm.titleDemo = u"<b>list head</b>";
        frm.footDemo = u"list foot";
        frm.paperTop = u"page head";
        frm.paperFoot = u"page foot";
    }
    // The page's head, with the style sheet's text, up to the heading.
    std::u16string Head(std::u16string_view styles = u"") const {
        return u"<HTML>\r\n<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n"
               u"<TITLE>Book</TITLE>\r\n" + std::u16string(styles) +
               u"</HEAD>\r\n<BODY>\r\n<p class='ad'><font color='#FF0000'>" + frm.ad +
               u"</font></p><p>&nbsp;</p><p><h1>Book</h1></p><p>&nbsp;</p>\r\n";
    }
    static std::u16string HeadBlock(std::u16string_view snippet) {
        return kTable + u"class='TitleDemo'>" + std::u16string(snippet) + u"</td>\r\n</tr>\r\n</table><p>&nbsp;</p>\r\n";
    }
    static std::u16string Foot(std::u16string_view snippet) {
        return kTable + u"height='100' class='FootDemo'>" + std::u16string(snippet) +
               u"</td>\r\n</tr>\r\n</table>\r\n</body>\r\n</html>\r\n";
    }
    static inline const std::u16string kTable =
        u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n<tr>\r\n<td width='100%' ";

    test_support::ScratchFolder dir;
    MemoryWindowState frm;
};

// The list page (kind 1) and content pages (any other kind), with the style
// sheet beside the program read at every call; an empty one gives an empty
// line, a folder of that name none.
TEST_F(PageFrame, ListAndContentPagesWithTheStyleSheetOfTheMoment) {
    EXPECT_EQ(HtmlTitle(frm, u"Book", 1), Head() + HeadBlock(u"<b>list head</b>"));
    EXPECT_EQ(HtmlFoot(frm, 1), Foot(u"list foot"));
    dir.Write("Hha.css", "body { color: black; }\r\n/* \xD6\xD0 */");
    for (int kind : {0, 2, -1, 32767, -32768}) {
        EXPECT_EQ(HtmlTitle(frm, u"Book", kind), Head(u"body { color: black; }\r\n/* \u4E2D */\r\n") + HeadBlock(u"page head"));
        EXPECT_EQ(HtmlFoot(frm, kind), Foot(u"page foot")) << kind;
    }
    dir.Write("Hha.css", "");
    frm.appPath = dir.u16() + platform::kPathSeparator;
    EXPECT_EQ(HtmlTitle(frm, u"Book", 1), Head(u"\r\n") + HeadBlock(u"<b>list head</b>"));
    std::filesystem::remove(dir.path() / "Hha.css");
    std::filesystem::create_directory(dir.path() / "Hha.css");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), Head() + HeadBlock(u"page head"));
}

// Empty content snippets leave their blocks out; empty list snippets, a blank
// snippet and an empty notice do not; snippets go in verbatim.
TEST_F(PageFrame, SnippetsAreInsertedVerbatim) {
    frm.paperTop.clear();
    frm.paperFoot.clear();
    frm.titleDemo.clear();
    frm.footDemo.clear();
    frm.ad.clear();
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), Head());
    EXPECT_EQ(HtmlFoot(frm, 0), u"</body>\r\n</html>\r\n");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 1), Head() + HeadBlock(u""));
    EXPECT_EQ(HtmlFoot(frm, 1), Foot(u""));
    frm.paperTop = u"line 1\r\n<i>line 2</i> &amp;";
    frm.paperFoot = u" ";
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), Head() + HeadBlock(u"line 1\r\n<i>line 2</i> &amp;"));
    EXPECT_EQ(HtmlFoot(frm, 0), Foot(u" "));
}

TEST_F(PageFrame, MarkupInATitleIsShownAsText) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"a<script>", u"a&lt;script&gt;"}, {u"<!--", u"&lt;!--"}, {u"&", u"&amp;"}, {u"\"", u"&quot;"},
        {u"\u4E2D 'x'", u"\u4E2D 'x'"},
    };
    for (const auto& [title, shown] : cases) {
        const std::u16string head = HtmlTitle(frm, title, kContentPage);
        EXPECT_NE(head.find(u"<TITLE>" + shown + u"</TITLE>"), std::u16string::npos) << platform::ToUtf8(title);
        EXPECT_NE(head.find(u"<h1>" + shown + u"</h1>"), std::u16string::npos) << platform::ToUtf8(title);
    }
}

}  // namespace
}  // namespace chmbook
