// The .hhp reader and the [WINDOWS] line parser.
#include <gtest/gtest.h>

#include "project/help_project.h"
#include "project/window_definition.h"

namespace hhc::project {
namespace {

const std::string kWindowTail = ",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,0x10387C,"
                                "[80,60,720,540],0x0,0x0,,1,,,0";

// The project the book build writes: code page 936, CR LF line ends and none
// after the last line; read the same with LF or CR alone.
TEST(HelpProject, ReadsTheProjectTheBookBuildWritesWithAnyLineEnds) {
    const std::string crlf =
        "[OPTIONS]\r\nCompatibility=1.1 Or later\r\nDefault Window=Main\r\nDefault topic=index.htm\r\n"
        "Default font=Tahoma,8,1\r\nContents file=Temp.hhc\r\nIndex file=Temp.hhk\r\nDisplay compile progress=Yes\r\n"
        "Full-text search=Yes\r\nLanguage=0x804 \xD6\xD0\xCE\xC4(\xD6\xD0\xB9\xFA)\r\n\r\n[WINDOWS]\r\nMain=\"Notes\"" +
        kWindowTail + "\r\n\r\n[FILES]\r\nindex.htm";
    std::string lf = crlf, cr = crlf;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    for (std::size_t at; (at = cr.find("\r\n")) != std::string::npos;) cr.erase(at + 1, 1);
    for (const std::string& text : {crlf, lf, cr}) {
        const HelpProject project = ReadHelpProject(text);
        EXPECT_TRUE(project.warnings.empty()) << project.warnings.front();
        EXPECT_FALSE(project.compatibility10);
        EXPECT_EQ(project.defaultTopic, "index.htm");
        EXPECT_EQ(project.defaultFont, "Tahoma,8,1");
        EXPECT_EQ(project.contentsFile, "Temp.hhc");
        EXPECT_EQ(project.indexFile, "Temp.hhk");
        EXPECT_TRUE(project.displayProgress);
        EXPECT_TRUE(project.fullTextSearch);
        EXPECT_EQ(project.lcid, 0x804u);
        EXPECT_FALSE(project.title.has_value());
        EXPECT_FALSE(project.compiledFile.has_value());
        EXPECT_EQ(project.files, std::vector<std::string>{"index.htm"});
        ASSERT_NE(project.FindDefaultWindow(), nullptr);
        EXPECT_EQ(project.FindDefaultWindow()->caption, "Notes");
    }
}

TEST(HelpProject, NamesAreCaseInsensitiveAndUnknownPartsTolerated) {
    const HelpProject project = ReadHelpProject(
        "\xEF\xBB\xBF; a comment\n[options]\n  compiled FILE = out\\Book.chm  \nTITLE=My Book\nBinary TOC=Yes\n"
        "Full-text search=maybe\nno equals sign here\nCompatibility=1.0\nDefault Window=Other\n[ALIAS]\nIDH_X=x.htm\n"
        "[WINDOWS]\nMain=\"x\"\n[Files]\na.htm\n  sub\\b.htm\n; skipped.htm\n");
    EXPECT_EQ(project.compiledFile, "out\\Book.chm");
    EXPECT_EQ(project.title, "My Book");
    EXPECT_FALSE(project.fullTextSearch);
    EXPECT_TRUE(project.compatibility10);
    EXPECT_EQ(project.files, (std::vector<std::string>{"a.htm", "sub\\b.htm"}));
    EXPECT_EQ(project.FindDefaultWindow(), nullptr);
    // Binary TOC, "maybe", the line without "=" and [ALIAS].
    ASSERT_EQ(project.warnings.size(), 4u);
    EXPECT_NE(project.warnings[1].find("line 6"), std::string::npos);
}

TEST(HelpProject, LanguageKeepsOnlyTheNumberAndRejectsNonsense) {
    EXPECT_EQ(ReadHelpProject("[OPTIONS]\nLanguage=0x411 Japanese").lcid, 0x411u);
    EXPECT_EQ(ReadHelpProject("[OPTIONS]\nLanguage=1033").lcid, 1033u);
    EXPECT_EQ(ReadHelpProject("[OPTIONS]\nLanguage=Chinese").lcid, kDefaultLcid);
}

TEST(WindowDefinition, ReadsEveryField) {
    std::string problem;
    const WindowDefinition window = ParseWindowDefinition(
        "Main",
        "\"Notes\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"home.htm\",\"j1.htm\",\"Jump 1\",\"j2.htm\",\"Jump 2\","
        "0x20,180,0x10387C,[80,60,720,540],0x0,0x0,3,1,2,1,42",
        &problem);
    EXPECT_TRUE(problem.empty()) << problem;
    EXPECT_EQ((std::vector<std::string>{window.name, window.caption, window.toc, window.index, window.file, window.home,
                                        window.jump1Url, window.jump1Text, window.jump2Url, window.jump2Text}),
              (std::vector<std::string>{"Main", "Notes", "Temp.hhc", "Temp.hhk", "index.htm", "home.htm", "j1.htm",
                                        "Jump 1", "j2.htm", "Jump 2"}));
    EXPECT_EQ((std::vector<std::optional<std::uint32_t>>{window.navigationStyle, window.navigationWidth, window.buttons,
                                                         window.style, window.extendedStyle, window.showState,
                                                         window.navigationClosed, window.defaultTab,
                                                         window.navigationPosition, window.notifyId}),
              (std::vector<std::optional<std::uint32_t>>{0x20, 180, 0x10387C, 0, 0, 3, 1, 2, 1, 42}));
    EXPECT_EQ(window.position, (std::array<std::int32_t, 4>{80, 60, 720, 540}));

    const WindowDefinition bad = ParseWindowDefinition("W", "\"c\",,,,,,,,,0xZZ,wide,,[1,2,3]", &problem);
    EXPECT_FALSE(bad.navigationStyle || bad.navigationWidth || bad.position || bad.showState);
    EXPECT_NE(problem.find("0xZZ"), std::string::npos);
}

TEST(WindowDefinition, CaptionsWithQuotesAndCommasKeepTheOtherFieldsInPlace) {
    for (const std::string caption : {"", "A, B", "say \"hi\"", "say \"hi\", then go", "a\"b", "\"Notes\"", " padded "}) {
        const WindowDefinition window = ParseWindowDefinition("Main", "\"" + caption + "\"" + kWindowTail);
        EXPECT_EQ(window.caption, caption);
        EXPECT_EQ(window.toc, "Temp.hhc") << caption;
        EXPECT_EQ(window.file, "index.htm") << caption;
        EXPECT_EQ(window.buttons, 0x10387Cu) << caption;
        EXPECT_EQ(window.navigationClosed, 1u) << caption;
        EXPECT_FALSE(window.showState || window.defaultTab || window.navigationPosition) << caption;
    }
}

}  // namespace
}  // namespace hhc::project
