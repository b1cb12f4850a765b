// HtmlTitle and HtmlFoot: the exact text around every page.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/memory_window_state.h"
#include "platform/platform.h"
#include "render/render.h"
#include "test_support/scratch_folder.h"

namespace chmbook {
namespace {

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
    std::u16string Head(std::u16string_view styles = u"") const {
        return u"<HTML>\r\n<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n"
               u"<TITLE>Book</TITLE>\r\n" + std::u16string(styles) +
               u"</HEAD>\r\n<BODY>\r\n<p class='ad'><font color='#FF0000'>" + frm.ad +
               u"</font></p><p>&nbsp;</p><p><h1>Book</h1></p><p>&nbsp;</p>\r\n";
    }
    static std::u16string HeadBlock(std::u16string_view snippet) {
        return u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n<tr>\r\n"
               u"<td width='100%' class='TitleDemo'>" + std::u16string(snippet) + u"</td>\r\n</tr>\r\n</table><p>&nbsp;</p>\r\n";
    }
    static std::u16string Foot(std::u16string_view snippet) {
        return u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n<tr>\r\n"
               u"<td width='100%' height='100' class='FootDemo'>" + std::u16string(snippet) +
               u"</td>\r\n</tr>\r\n</table>\r\n</body>\r\n</html>\r\n";
    }

    test_support::ScratchFolder dir;
    MemoryWindowState frm;
};

TEST_F(PageFrame, ListAndContentPagesWithAndWithoutStyleSheet) {
    EXPECT_EQ(HtmlTitle(frm, u"Book", 1), Head() + HeadBlock(u"<b>list head</b>"));
    EXPECT_EQ(HtmlFoot(frm, 1), Foot(u"list foot"));
    dir.Write("Hha.css", "body { color: black; }\r\n/* \xD6\xD0 */");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), Head(u"body { color: black; }\r\n/* \u4E2D */\r\n") + HeadBlock(u"page head"));
    EXPECT_EQ(HtmlFoot(frm, 0), Foot(u"page foot"));
    EXPECT_EQ(HtmlTitle(frm, u"Book", 1), Head(u"body { color: black; }\r\n/* \u4E2D */\r\n") + HeadBlock(u"<b>list head</b>"));
    // Any kind but 1 is a content page.
    for (int kind : {2, -1, 32767, -32768}) {
        EXPECT_EQ(HtmlTitle(frm, u"Book", kind), HtmlTitle(frm, u"Book", 0)) << kind;
        EXPECT_EQ(HtmlFoot(frm, kind), Foot(u"page foot")) << kind;
    }
}

// The style sheet is read at every call, beside the program with or without
// a trailing separator; an empty one gives an empty line, a folder none.
TEST_F(PageFrame, StyleSheetIsReadOnEveryCall) {
    dir.Write("Hha.css", "first");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), Head(u"first\r\n") + HeadBlock(u"page head"));
    dir.Write("Hha.css", "");
    frm.appPath = dir.u16() + platform::kPathSeparator;
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), Head(u"\r\n") + HeadBlock(u"page head"));
    std::filesystem::remove(dir.path() / "Hha.css");
    std::filesystem::create_directory(dir.path() / "Hha.css");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), Head() + HeadBlock(u"page head"));
}

// Empty content snippets leave their blocks out; empty list snippets, a blank
// snippet and an empty notice do not; snippets go in verbatim.
TEST_F(PageFrame, SnippetsAreReadAtEveryCallAndInsertedVerbatim) {
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

}  // namespace
}  // namespace chmbook
