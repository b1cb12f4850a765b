// Finding links, titles and site properties in pages, and resolving links.
#include <gtest/gtest.h>

#include "project/code_page.h"
#include "project/html_scanner.h"
#include "project/link_resolver.h"

namespace hhc::project {
namespace {

using Links = std::vector<std::string>;

TEST(HtmlScanner, FindsTheLinksOfPagesAndStylesheets) {
    const std::pair<std::string, Links> pages[] = {
        {"<HTML><BODY background=bg.gif>\r\n<p>000. <a href='0.htm'>first</a></p>\n"
         "<A HREF=\"sub/1.htm#part\">second</A><img\tsrc = img/x.png alt=x>\n"
         "<link rel=stylesheet href=\"style.css\"><script src='s.js'></script>\n"
         "<a href=\"x&amp;y.htm\">entities</a><a name=anchor>no link</a>",
         {"bg.gif", "0.htm", "sub/1.htm#part", "img/x.png", "style.css", "s.js", "x&y.htm"}},
        // Comments and script text are skipped, styles are read.
        {"<!-- <a href='commented.htm'> --><script>document.write('<img src=\"scripted.png\">')</script>"
         "<style>body { background: url('paper.png') } @import \"more.css\";</style>"
         "<div style=\"background-image:url(tile.gif)\"></div><a href='after.htm'>",
         {"paper.png", "more.css", "tile.gif", "after.htm"}},
        {"<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Intro\">"
         "<param name=\"Local\" value=\"intro.htm\"></OBJECT></UL>",
         {"intro.htm"}},
        // GBK characters whose second byte is '\\' (0x5C), '[' or a letter.
        {"<p>\xD5\x5C\x81\x5B\xB0\x41</p><a href='\xB5\xDA\x31.htm'>\xB5\xDA</a>", {"\xB5\xDA\x31.htm"}},
        {"<a href='open.htm", {"open.htm"}},
        {"<a href=", {""}},
        {"<!-- never closed <a href=x>", {}},
        {"<", {}},
        {"<script><a href=x>", {}},
    };
    for (const auto& [html, links] : pages) EXPECT_EQ(FindPageLinks(html), links) << html;
    EXPECT_EQ(FindStylesheetLinks("@import 'base.css';\nh1 { background: URL( \"../img/h.png\" ) }\n"
                                  "@import url(print.css) print;"),
              (Links{"base.css", "../img/h.png", "print.css"}));
}

TEST(HtmlScanner, FindsTheSiteProperties) {
    EXPECT_EQ(FindSiteProperties("<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" value=\"0x227\">"
                                 "<param name=\"ImageType\" value=\"Folder\"></OBJECT>\r\n<UL><OBJECT type=\"text/"
                                 "sitemap\"><param name=\"Local\" value=\"a.htm\"></OBJECT></UL>"),
              (std::vector<std::pair<std::string, std::string>>{{"Window Styles", "0x227"}, {"ImageType", "Folder"}}));
}

TEST(LinkResolver, ResolvesRelativeToTheLinkingPageAndSortsOutTheRest) {
    const struct {
        std::string page, link;
        LinkKind kind;
        std::string path;
        unsigned codePage = 936;
    } cases[] = {
        {"index.htm", "0.htm", LinkKind::kLocal, "0.htm"},
        {"sub/page.htm", "../img/a.png", LinkKind::kLocal, "img/a.png"},
        {"sub/page.htm", "./deeper/./b.htm", LinkKind::kLocal, "sub/deeper/b.htm"},
        {"sub/page.htm", "/top.htm", LinkKind::kLocal, "top.htm"},
        {"sub/page.htm", "..\\win\\c.htm", LinkKind::kLocal, "win/c.htm"},
        {"a.htm", "page%201.htm?x=1#top", LinkKind::kLocal, "page 1.htm"},
        {"a.htm", "\xD5\x5C.htm", LinkKind::kLocal, "\xD5\x5C.htm"},  // 0x5C trails a GBK lead byte
        {"a.htm", "\xD5\x5C.htm", LinkKind::kLocal, "\xD5/.htm", 1252},
        {"a.htm", "../up.htm", LinkKind::kOutsideProject, ""},
        {"sub/a.htm", "../../up.htm", LinkKind::kOutsideProject, ""},
    };
    for (const auto& c : cases) {
        const auto resolved = ResolveLink(c.page, c.link, c.codePage);
        EXPECT_EQ(resolved.kind, c.kind) << c.link;
        if (c.kind == LinkKind::kLocal) {
            EXPECT_EQ(resolved.path, c.path) << c.link;
        }
    }
    for (const char* external : {"http://example.com/", "HTTPS://x", "mailto:a@b", "javascript:void(0)",
                                 "ms-its:other.chm::/a.htm", "C:\\x.htm", "//host/share.htm", "a%00b.htm"})
        EXPECT_EQ(ResolveLink("a.htm", external, 936).kind, LinkKind::kExternal) << external;
    for (const char* same : {"", "  ", "#top", "?q=1", ".", "./"})
        EXPECT_EQ(ResolveLink("a.htm", same, 936).kind, LinkKind::kSamePage) << same;
    EXPECT_EQ(NormalizeProjectPath(" .\\sub\\a.htm ", 936).path, "sub/a.htm");
    EXPECT_EQ(NormalizeProjectPath("..\\a.htm", 936).kind, LinkKind::kOutsideProject);
}

TEST(CodePage, FollowsTheLanguageAndConvertsWholeCharacters) {
    for (const auto& [lcid, codePage] : std::initializer_list<std::pair<unsigned, unsigned>>{
             {0x0804, 936}, {0x1004, 936}, {0x0404, 950}, {0x0C04, 950}, {0x0411, 932}, {0x0412, 949},
             {0x0419, 1251}, {0x0409, 1252}, {0x0407, 1252}})
        EXPECT_EQ(CodePageForLcid(lcid), codePage) << std::hex << lcid;
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
