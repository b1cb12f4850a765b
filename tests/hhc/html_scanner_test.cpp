// Finding links, titles and site properties in pages, and resolving links.
#include <gtest/gtest.h>

#include "project/code_page.h"
#include "project/html_scanner.h"
#include "project/link_resolver.h"

namespace hhc::project {
namespace {

using Links = std::vector<std::string>;

TEST(FindPageLinksTest, FindsHrefSrcAndBackgroundInAnyQuoting) {
    const Links links = FindPageLinks(
        "<HTML><BODY background=bg.gif>\r\n"
        "<p>000. <a href='0.htm'>first</a></p>\n"
        "<A HREF=\"sub/1.htm#part\">second</A><img\tsrc = img/x.png alt=x>\n"
        "<link rel=stylesheet href=\"style.css\"><script src='s.js'></script>\n"
        "<a href=\"x&amp;y.htm\">entities</a><a name=anchor>no link</a>");
    EXPECT_EQ(links, (Links{"bg.gif", "0.htm", "sub/1.htm#part", "img/x.png", "style.css", "s.js", "x&y.htm"}));
}

TEST(FindPageLinksTest, IgnoresCommentsAndScriptTextButReadsStyles) {
    const Links links = FindPageLinks(
        "<!-- <a href='commented.htm'> -->"
        "<script>document.write('<img src=\"scripted.png\">')</script>"
        "<style>body { background: url('paper.png') } @import \"more.css\";</style>"
        "<div style=\"background-image:url(tile.gif)\"></div>"
        "<a href='after.htm'>");
    EXPECT_EQ(links, (Links{"paper.png", "more.css", "tile.gif", "after.htm"}));
}

TEST(FindPageLinksTest, ReadsLocalParametersOfContentsEntries) {
    const Links links = FindPageLinks(
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Intro\">"
        "<param name=\"Local\" value=\"intro.htm\"></OBJECT></UL>");
    EXPECT_EQ(links, Links{"intro.htm"});
}

TEST(FindPageLinksTest, DoubleByteTextDoesNotConfuseTheScanner) {
    // GBK characters whose second byte is '\\' (0x5C), '[' or a letter.
    const Links links = FindPageLinks("<p>\xD5\x5C\x81\x5B\xB0\x41</p><a href='\xB5\xDA\x31.htm'>\xB5\xDA</a>");
    EXPECT_EQ(links, Links{"\xB5\xDA\x31.htm"});
}

TEST(FindPageLinksTest, UnfinishedMarkupEndsQuietly) {
    EXPECT_EQ(FindPageLinks("<a href='open.htm"), Links{"open.htm"});
    EXPECT_EQ(FindPageLinks("<a href="), Links{""});
    EXPECT_TRUE(FindPageLinks("<!-- never closed <a href=x>").empty());
    EXPECT_TRUE(FindPageLinks("<").empty());
    EXPECT_TRUE(FindPageLinks("<script><a href=x>").empty());
}

TEST(FindStylesheetLinksTest, FindsUrlsAndImports) {
    EXPECT_EQ(FindStylesheetLinks("@import 'base.css';\nh1 { background: URL( \"../img/h.png\" ) }\n"
                                  "@import url(print.css) print;"),
              (Links{"base.css", "../img/h.png", "print.css"}));
}

TEST(FindSitePropertiesTest, ReadsTheFirstSitePropertiesObjectOnly) {
    const auto properties = FindSiteProperties(
        "<html><head></head><body>\r\n"
        "<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" value=\"0x227\">"
        "<param name=\"ImageType\" value=\"Folder\"></OBJECT>\r\n"
        "<UL><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"a.htm\"></OBJECT></UL></body></html>");
    ASSERT_EQ(properties.size(), 2u);
    EXPECT_EQ(properties[0], (std::pair<std::string, std::string>{"Window Styles", "0x227"}));
    EXPECT_EQ(properties[1], (std::pair<std::string, std::string>{"ImageType", "Folder"}));
}

TEST(ResolveLinkTest, ResolvesRelativeToTheLinkingPage) {
    EXPECT_EQ(ResolveLink("index.htm", "0.htm", 936).path, "0.htm");
    EXPECT_EQ(ResolveLink("sub/page.htm", "../img/a.png", 936).path, "img/a.png");
    EXPECT_EQ(ResolveLink("sub/page.htm", "./deeper/./b.htm", 936).path, "sub/deeper/b.htm");
    EXPECT_EQ(ResolveLink("sub/page.htm", "/top.htm", 936).path, "top.htm");
    EXPECT_EQ(ResolveLink("sub/page.htm", "..\\win\\c.htm", 936).path, "win/c.htm");
    EXPECT_EQ(ResolveLink("a.htm", "page%201.htm?x=1#top", 936).path, "page 1.htm");
    EXPECT_EQ(ResolveLink("a.htm", "b.htm", 936).kind, LinkKind::kLocal);
}

TEST(ResolveLinkTest, SortsOutWhatIsNoFileOfTheProject) {
    for (const char* external : {"http://example.com/", "HTTPS://x", "mailto:a@b", "javascript:void(0)",
                                 "ms-its:other.chm::/a.htm", "C:\\x.htm", "//host/share.htm", "a%00b.htm"}) {
        EXPECT_EQ(ResolveLink("a.htm", external, 936).kind, LinkKind::kExternal) << external;
    }
    for (const char* same : {"", "  ", "#top", "?q=1", ".", "./"}) {
        EXPECT_EQ(ResolveLink("a.htm", same, 936).kind, LinkKind::kSamePage) << same;
    }
    EXPECT_EQ(ResolveLink("a.htm", "../up.htm", 936).kind, LinkKind::kOutsideProject);
    EXPECT_EQ(ResolveLink("sub/a.htm", "../../up.htm", 936).kind, LinkKind::kOutsideProject);
}

TEST(ResolveLinkTest, KeepsBackslashTrailBytesOfDoubleByteNames) {
    // 0xD5 0x5C is one GBK character; its second byte is no separator.
    EXPECT_EQ(ResolveLink("a.htm", "\xD5\x5C.htm", 936).path, "\xD5\x5C.htm");
    EXPECT_EQ(ResolveLink("a.htm", "\xD5\x5C.htm", 1252).path, "\xD5/.htm");
}

TEST(NormalizeProjectPathTest, CleansNamesGivenByTheProject) {
    EXPECT_EQ(NormalizeProjectPath(" .\\sub\\a.htm ", 936).path, "sub/a.htm");
    EXPECT_EQ(NormalizeProjectPath("..\\a.htm", 936).kind, LinkKind::kOutsideProject);
}

TEST(CodePageTest, FollowsTheLanguage) {
    EXPECT_EQ(CodePageForLcid(0x0804), 936u);
    EXPECT_EQ(CodePageForLcid(0x1004), 936u);
    EXPECT_EQ(CodePageForLcid(0x0404), 950u);
    EXPECT_EQ(CodePageForLcid(0x0C04), 950u);
    EXPECT_EQ(CodePageForLcid(0x0411), 932u);
    EXPECT_EQ(CodePageForLcid(0x0412), 949u);
    EXPECT_EQ(CodePageForLcid(0x0419), 1251u);
    EXPECT_EQ(CodePageForLcid(0x0409), 1252u);
    EXPECT_EQ(CodePageForLcid(0x0407), 1252u);
}

TEST(CodePageTest, ConvertsNamesAndTruncatesWholeCharacters) {
    EXPECT_EQ(AnsiToUtf8("\xD6\xD0\xCE\xC4.htm", 936), "\xE4\xB8\xAD\xE6\x96\x87.htm");
    EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD\xE6\x96\x87.htm", 936), "\xD6\xD0\xCE\xC4.htm");
    EXPECT_FALSE(Utf8ToAnsi("\xFF", 936).has_value());
    EXPECT_EQ(TruncateText("\xD6\xD0\xCE\xC4", 3, 936), "\xD6\xD0");
    EXPECT_EQ(TruncateText("abc", 3, 936), "abc");
    EXPECT_TRUE(IsValidUtf8("\xE4\xB8\xAD"));
    EXPECT_FALSE(IsValidUtf8("\xD6\xD0"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a UTF-16 surrogate
}

}  // namespace
}  // namespace hhc::project
