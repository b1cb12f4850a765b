// Reading a help project: the .hhp reader and its [WINDOWS] lines, links and
// site properties found in pages, links resolved, and which files the
// collector takes into a book through links.
#include <gtest/gtest.h>

#include <algorithm>

#include "project/file_collector.h"
#include "project/help_project.h"
#include "project/html_scanner.h"
#include "project/link_resolver.h"
#include "project/window_definition.h"
#include "test_support/scratch_folder.h"

namespace hhc::project {
namespace {
namespace fs = std::filesystem;
using Links = std::vector<std::string>;

std::size_t CountContaining(const std::vector<std::string>& lines, const std::string& text) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

// Options as authors write them (the compiled-books suite reads the title,
// language names, progress and Binary TOC end to end, with CR LF, LF and CR
// line ends).
TEST(HelpProject, NamesAreCaseInsensitiveAndUnknownPartsTolerated) {
    const HelpProject project = ReadHelpProject(
        "\xEF\xBB\xBF; a comment\n[options]\n  compiled FILE = out\\Book.chm  \nDefault font=Tahoma,8,1\n"
        "Full-text search=maybe\nno equals sign here\nCompatibility=1.0\nDefault Window=Other\nLanguage=1041\n"
        "[ALIAS]\nIDH_X=x.htm\n[WINDOWS]\nMain=\"x\"\n[Files]\na.htm\n  sub\\b.htm\n; skipped.htm\n");
    EXPECT_EQ((std::vector<std::optional<std::string>>{project.compiledFile, project.defaultFont}),
              (std::vector<std::optional<std::string>>{"out\\Book.chm", "Tahoma,8,1"}));
    EXPECT_TRUE(!project.fullTextSearch && project.compatibility10 && project.lcid == 1041u);
    EXPECT_EQ(project.files, (std::vector<std::string>{"a.htm", "sub\\b.htm"}));
    EXPECT_EQ(project.FindDefaultWindow(), nullptr);
    // "maybe", the line without "=" and [ALIAS].
    ASSERT_EQ(project.warnings.size(), 3u);
    EXPECT_NE(project.warnings[0].find("line 5"), std::string::npos);
    EXPECT_EQ(ReadHelpProject("[OPTIONS]\nLanguage=Chinese").lcid, kDefaultLcid);
}

// Quotes inside a caption are kept as written; a comma inside quotes does not end it.
TEST(WindowDefinition, ReadsEveryFieldAndCaptionsWithQuotesAndCommas) {
    std::string problem;
    const WindowDefinition window = ParseWindowDefinition(
        "Main",
        "\"say \"hi\", then go\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"home.htm\",\"j1.htm\",\"Jump 1\","
        "\"j2.htm\",\"Jump 2\",0x20,180,0x10387C,[80,60,720,540],0x0,0x0,3,1,2,1,42",
        &problem);
    EXPECT_TRUE(problem.empty()) << problem;
    EXPECT_EQ((std::vector<std::string>{window.name, window.caption, window.toc, window.index, window.file, window.home,
                                        window.jump1Url, window.jump1Text, window.jump2Url, window.jump2Text}),
              (std::vector<std::string>{"Main", "say \"hi\", then go", "Temp.hhc", "Temp.hhk", "index.htm", "home.htm",
                                        "j1.htm", "Jump 1", "j2.htm", "Jump 2"}));
    EXPECT_EQ(
        (std::vector<std::optional<std::uint32_t>>{
            window.navigationStyle, window.navigationWidth, window.buttons, window.style, window.extendedStyle,
            window.showState, window.navigationClosed, window.defaultTab, window.navigationPosition, window.notifyId}),
        (std::vector<std::optional<std::uint32_t>>{0x20, 180, 0x10387C, 0, 0, 3, 1, 2, 1, 42}));
    EXPECT_EQ(window.position, (std::array<std::int32_t, 4>{80, 60, 720, 540}));
    const WindowDefinition bad = ParseWindowDefinition("W", "\"c\",,,,,,,,,0xZZ,wide,,[1,2,3]", &problem);
    EXPECT_FALSE(bad.navigationStyle || bad.navigationWidth || bad.position || bad.showState);
    EXPECT_NE(problem.find("0xZZ"), std::string::npos);
}

TEST(HtmlScanner, FindsTheLinksOfPagesAndStylesheetsAndTheSiteProperties) {
    const std::pair<std::string, Links> pages[] = {
        // Attributes that link (the linked-files book has the common ones), references decoded.
        {"<BODY background=bg.gif><img\tsrc = x.png><script src='s.js'></script><a href=\"x&amp;y.htm\"><a name=n>",
         {"bg.gif", "x.png", "s.js", "x&y.htm"}},
        // Comments and script text are skipped, styles are read.
        {"<!-- <a href='commented.htm'> --><script>document.write('<img src=\"scripted.png\">')</script>"
         "<style>body { background: url('paper.png') } @import \"more.css\";</style>"
         "<div style=\"background-image:url(tile.gif)\"></div><a href='after.htm'>",
         {"paper.png", "more.css", "tile.gif", "after.htm"}},
        {"<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"intro.htm\"></OBJECT></UL>",
         {"intro.htm"}},
        // GBK characters whose second byte is '\\' (0x5C), '[' or a letter.
        {"<p>\xD5\x5C\x81\x5B\xB0\x41</p><a href='\xB5\xDA\x31.htm'>\xB5\xDA</a>", {"\xB5\xDA\x31.htm"}},
        {"<a href='open.htm", {"open.htm"}},
        {"<!-- never closed <a href=x>", {}},
        {"<script><a href=x>", {}},
    };
    for (const auto& [html, links] : pages) EXPECT_EQ(FindPageLinks(html), links) << html;
    EXPECT_EQ(FindSiteProperties("<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" value=\"0x227\">"
                                 "<param name=\"ImageType\" value=\"Folder\"></OBJECT>\r\n<UL><OBJECT type=\"text/"
                                 "sitemap\"><param name=\"Local\" value=\"a.htm\"></OBJECT></UL>"),
              (std::vector<std::pair<std::string, std::string>>{{"Window Styles", "0x227"}, {"ImageType", "Folder"}}));
}

TEST(LinkResolver, ResolvesRelativeToTheLinkingPageAndSortsOutTheRest) {
    // (Links up out of the folder and to its parent are in the linked-files book.)
    const struct {
        std::string page, link, path;
        unsigned codePage = 936;
    } cases[] = {
        {"sub/page.htm", "./deeper/./b.htm", "sub/deeper/b.htm"},
        {"sub/page.htm", "..\\win\\c.htm", "win/c.htm"},
        {"a.htm", "page%201.htm?x=1#top", "page 1.htm"},
        {"a.htm", "\xD5\x5C.htm", "\xD5\x5C.htm"},  // 0x5C trails a GBK lead byte
        {"a.htm", "\xD5\x5C.htm", "\xD5/.htm", 1252},
    };
    for (const auto& c : cases) {
        const auto resolved = ResolveLink(c.page, c.link, c.codePage);
        EXPECT_EQ(std::pair(resolved.kind, resolved.path), std::pair(LinkKind::kLocal, c.path)) << c.link;
    }
    for (const char* external : {"http://example.com/", "HTTPS://x", "mailto:a@b", "javascript:void(0)",
                                 "ms-its:other.chm::/a.htm", "C:\\x.htm", "//host/share.htm", "a%00b.htm"})
        EXPECT_EQ(ResolveLink("a.htm", external, 936).kind, LinkKind::kExternal) << external;
    for (const char* same : {"", "  ", "#top", "?q=1", ".", "./"})
        EXPECT_EQ(ResolveLink("a.htm", same, 936).kind, LinkKind::kSamePage) << same;
    EXPECT_EQ(NormalizeProjectPath(" .\\sub\\a.htm ", 936).path, "sub/a.htm");
    EXPECT_EQ(NormalizeProjectPath("..\\a.htm", 936).kind, LinkKind::kOutsideProject);
}

// Links that lead out of the project through symbolic links are not followed;
// one warning per link that leads out, however often it is written.
TEST(FileLinksTest, FilesReachedThroughSymbolicLinksOutsideTheProjectAreNotStored) {
    test_support::ScratchFolder scratch;
    const fs::path project = scratch / "project";
    scratch.Write("outside/secret.htm", "secret");
    scratch.Write("project/real.htm", "real");
    scratch.Write("project/page.htm",
                  "<a href='dirlnk/etc/passwd'>1</a><a href='DIRLNK/etc/passwd'>2</a>"
                  "<a href='filelnk.htm'>3</a><a href='inner.htm'>4</a><a href='up/outside/secret.htm'>5</a>");
    scratch.Write("project/page2.htm", "<a href='dirlnk/etc/passwd'>again</a>");
    fs::create_directory_symlink("/", project / "dirlnk");
    fs::create_directory_symlink(scratch.path(), project / "up");
    fs::create_symlink(scratch / "outside/secret.htm", project / "filelnk.htm");
    fs::create_symlink(project / "real.htm", project / "inner.htm");

    std::vector<std::string> warnings;
    FileCollector collector(project, 1252, [&](const std::string& message) { warnings.push_back(message); });
    for (const char* listed : {"page.htm", "page2.htm", "dirlnk/etc/passwd", "filelnk.htm"}) collector.Add(listed);
    collector.FollowLinks();
    std::vector<std::string> stored;
    for (const SourceFile& file : collector.files()) stored.push_back(file.path);
    EXPECT_EQ(stored, (std::vector<std::string>{"page.htm", "page2.htm", "inner.htm"}));
    for (const char* link : {"dirlnk/etc/passwd", "filelnk.htm", "up/outside/secret.htm"})
        EXPECT_EQ(CountContaining(warnings, link), 1u) << link << " in\n" << ::testing::PrintToString(warnings);
    EXPECT_EQ(warnings.size(), 3u) << ::testing::PrintToString(warnings);
}

}  // namespace
}  // namespace hhc::project
