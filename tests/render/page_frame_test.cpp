// HtmlTitle and HtmlFoot: the exact text around every page.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/memory_window_state.h"
#include "platform/platform.h"
#include "render/render.h"
#include "test_support/scratch_folder.h"

namespace chmbook {
namespace {

using test_support::ScratchFolder;

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

    ScratchFolder dir;
    MemoryWindowState frm;
};

constexpr std::u16string_view kDocumentHead =
    u"<HTML>\r\n"
    u"<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n"
    u"<TITLE>Book</TITLE>\r\n";
constexpr std::u16string_view kBodyStart =
    u"</HEAD>\r\n"
    u"<BODY>\r\n"
    u"<p class='ad'><font color='#FF0000'>Notice</font></p><p>&nbsp;</p><p><h1>Book</h1></p><p>&nbsp;</p>\r\n";

std::u16string HeadBlock(std::u16string_view snippet) {
    return u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n"
           u"<tr>\r\n"
           u"<td width='100%' class='TitleDemo'>" + std::u16string(snippet) + u"</td>\r\n"
           u"</tr>\r\n"
           u"</table><p>&nbsp;</p>\r\n";
}

std::u16string FootBlock(std::u16string_view snippet) {
    return u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n"
           u"<tr>\r\n"
           u"<td width='100%' height='100' class='FootDemo'>" + std::u16string(snippet) + u"</td>\r\n"
           u"</tr>\r\n"
           u"</table>\r\n";
}

TEST_F(PageFrame, ListPageWithoutStyleSheet) {
    EXPECT_EQ(HtmlTitle(frm, u"Book", 1),
              u"<HTML>\r\n"
              u"<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n"
              u"<TITLE>Book</TITLE>\r\n"
              u"</HEAD>\r\n"
              u"<BODY>\r\n"
              u"<p class='ad'><font color='#FF0000'>Notice</font></p><p>&nbsp;</p><p><h1>Book</h1></p><p>&nbsp;</p>\r\n"
              u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n"
              u"<tr>\r\n"
              u"<td width='100%' class='TitleDemo'><b>list head</b></td>\r\n"
              u"</tr>\r\n"
              u"</table><p>&nbsp;</p>\r\n");
    EXPECT_EQ(HtmlFoot(frm, 1),
              u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n"
              u"<tr>\r\n"
              u"<td width='100%' height='100' class='FootDemo'>list foot</td>\r\n"
              u"</tr>\r\n"
              u"</table>\r\n"
              u"</body>\r\n"
              u"</html>\r\n");
}

TEST_F(PageFrame, ContentPageWithStyleSheet) {
    dir.Write("Hha.css", "body { color: black; }\r\n/* \xD6\xD0 */");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0),
              u"<HTML>\r\n"
              u"<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n"
              u"<TITLE>Book</TITLE>\r\n"
              u"body { color: black; }\r\n/* \u4E2D */\r\n"
              u"</HEAD>\r\n"
              u"<BODY>\r\n"
              u"<p class='ad'><font color='#FF0000'>Notice</font></p><p>&nbsp;</p><p><h1>Book</h1></p><p>&nbsp;</p>\r\n"
              u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n"
              u"<tr>\r\n"
              u"<td width='100%' class='TitleDemo'>page head</td>\r\n"
              u"</tr>\r\n"
              u"</table><p>&nbsp;</p>\r\n");
    EXPECT_EQ(HtmlFoot(frm, 0),
              u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n"
              u"<tr>\r\n"
              u"<td width='100%' height='100' class='FootDemo'>page foot</td>\r\n"
              u"</tr>\r\n"
              u"</table>\r\n"
              u"</body>\r\n"
              u"</html>\r\n");
}

TEST_F(PageFrame, StyleSheetGoesIntoListPageToo) {
    dir.Write("Hha.css", "h1 {}");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 1),
              std::u16string(kDocumentHead) + u"h1 {}\r\n" + std::u16string(kBodyStart) + HeadBlock(u"<b>list head</b>"));
}

TEST_F(PageFrame, EmptyStyleSheetGivesEmptyLine) {
    dir.Write("Hha.css", "");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0),
              std::u16string(kDocumentHead) + u"\r\n" + std::u16string(kBodyStart) + HeadBlock(u"page head"));
}

TEST_F(PageFrame, StyleSheetFolderCountsAsMissing) {
    std::filesystem::create_directory(dir.path() / "Hha.css");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0),
              std::u16string(kDocumentHead) + std::u16string(kBodyStart) + HeadBlock(u"page head"));
}

TEST_F(PageFrame, StyleSheetIsReadOnEveryCall) {
    dir.Write("Hha.css", "first");
    EXPECT_NE(HtmlTitle(frm, u"Book", 0).find(u"first\r\n</HEAD>"), std::u16string::npos);
    dir.Write("Hha.css", "second");
    EXPECT_NE(HtmlTitle(frm, u"Book", 0).find(u"second\r\n</HEAD>"), std::u16string::npos);
    std::filesystem::remove(dir.path() / "Hha.css");
    EXPECT_NE(HtmlTitle(frm, u"Book", 0).find(u"</TITLE>\r\n</HEAD>"), std::u16string::npos);
}

TEST_F(PageFrame, AppPathWithTrailingSeparatorFindsStyleSheet) {
    dir.Write("Hha.css", "x");
    frm.appPath = dir.u16() + platform::kPathSeparator;
    EXPECT_NE(HtmlTitle(frm, u"Book", 0).find(u"</TITLE>\r\nx\r\n</HEAD>"), std::u16string::npos);
}

TEST_F(PageFrame, EmptyContentSnippetsLeaveTheirBlocksOut) {
    frm.paperTop.clear();
    frm.paperFoot.clear();
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), std::u16string(kDocumentHead) + std::u16string(kBodyStart));
    EXPECT_EQ(HtmlFoot(frm, 0), u"</body>\r\n</html>\r\n");
}

TEST_F(PageFrame, EmptyListSnippetsStillGiveTheirBlocks) {
    frm.titleDemo.clear();
    frm.footDemo.clear();
    EXPECT_EQ(HtmlTitle(frm, u"Book", 1), std::u16string(kDocumentHead) + std::u16string(kBodyStart) + HeadBlock(u""));
    EXPECT_EQ(HtmlFoot(frm, 1), FootBlock(u"") + u"</body>\r\n</html>\r\n");
}

TEST_F(PageFrame, BlankSnippetIsNotEmpty) {
    frm.paperTop = u" ";
    frm.paperFoot = u"\r\n";
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), std::u16string(kDocumentHead) + std::u16string(kBodyStart) + HeadBlock(u" "));
    EXPECT_EQ(HtmlFoot(frm, 0), FootBlock(u"\r\n") + u"</body>\r\n</html>\r\n");
}

TEST_F(PageFrame, EmptyNoticeStillGivesTheRedParagraph) {
    frm.ad.clear();
    EXPECT_NE(HtmlTitle(frm, u"Book", 1).find(
                  u"<p class='ad'><font color='#FF0000'></font></p><p>&nbsp;</p><p><h1>Book</h1></p><p>&nbsp;</p>\r\n"),
              std::u16string::npos);
}

TEST_F(PageFrame, OnlyOneMeansListPage) {
    const std::u16string contentHead = HtmlTitle(frm, u"Book", 0);
    const std::u16string contentFoot = HtmlFoot(frm, 0);
    for (int kind : {2, -1, 32767, -32768}) {
        EXPECT_EQ(HtmlTitle(frm, u"Book", kind), contentHead) << kind;
        EXPECT_EQ(HtmlFoot(frm, kind), contentFoot) << kind;
    }
    EXPECT_NE(HtmlTitle(frm, u"Book", 1), contentHead);
    EXPECT_NE(HtmlFoot(frm, 1), contentFoot);
}

TEST_F(PageFrame, TitleIsEscapedAndSnippetsAreInsertedVerbatim) {
    frm.paperTop = u"line 1\r\n<i>line 2</i>";
    const std::u16string head = HtmlTitle(frm, u"A<B & \u4E2D", 0);
    EXPECT_NE(head.find(u"<TITLE>A&lt;B &amp; \u4E2D</TITLE>\r\n"), std::u16string::npos);
    EXPECT_NE(head.find(u"<h1>A&lt;B &amp; \u4E2D</h1>"), std::u16string::npos);
    EXPECT_NE(head.find(u"class='TitleDemo'>line 1\r\n<i>line 2</i></td>\r\n"), std::u16string::npos);
}

TEST_F(PageFrame, ReadsTheWindowAtEveryCall) {
    EXPECT_NE(HtmlFoot(frm, 0).find(u">page foot</td>"), std::u16string::npos);
    frm.paperFoot = u"changed";
    EXPECT_NE(HtmlFoot(frm, 0).find(u">changed</td>"), std::u16string::npos);
}

}  // namespace
}  // namespace chmbook
