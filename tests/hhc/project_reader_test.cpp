// The .hhp reader and the [WINDOWS] line parser.
#include <gtest/gtest.h>

#include "project/help_project.h"
#include "project/window_definition.h"

namespace hhc::project {
namespace {

// The project the book build writes, in code page 936 bytes, CR LF line ends
// and no line end after the last line.
const std::string kBuildProject =
    "[OPTIONS]\r\n"
    "Compatibility=1.1 Or later\r\n"
    "Default Window=Main\r\n"
    "Default topic=index.htm\r\n"
    "Default font=Tahoma,8,1\r\n"
    "Contents file=Temp.hhc\r\n"
    "Index file=Temp.hhk\r\n"
    "Display compile progress=Yes\r\n"
    "Full-text search=Yes\r\n"
    "Language=0x804 \xD6\xD0\xCE\xC4(\xD6\xD0\xB9\xFA)\r\n"
    "\r\n"
    "[WINDOWS]\r\n"
    "Main=\"Notes\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,0x10387C,[80,60,720,540],"
    "0x0,0x0,,1,,,0\r\n"
    "\r\n"
    "[FILES]\r\n"
    "index.htm";

TEST(HelpProjectTest, ReadsTheProjectTheBookBuildWrites) {
    const HelpProject project = ReadHelpProject(kBuildProject);
    EXPECT_TRUE(project.warnings.empty()) << project.warnings.front();
    EXPECT_FALSE(project.compatibility10);
    EXPECT_EQ(project.defaultWindow, "Main");
    EXPECT_EQ(project.defaultTopic, "index.htm");
    EXPECT_EQ(project.defaultFont, "Tahoma,8,1");
    EXPECT_EQ(project.contentsFile, "Temp.hhc");
    EXPECT_EQ(project.indexFile, "Temp.hhk");
    EXPECT_TRUE(project.displayProgress);
    EXPECT_TRUE(project.fullTextSearch);
    EXPECT_EQ(project.lcid, 0x804u);
    EXPECT_FALSE(project.title.has_value());
    EXPECT_FALSE(project.compiledFile.has_value());
    ASSERT_EQ(project.files, std::vector<std::string>{"index.htm"});
    ASSERT_EQ(project.windows.size(), 1u);
    ASSERT_NE(project.FindDefaultWindow(), nullptr);
    EXPECT_EQ(project.FindDefaultWindow()->caption, "Notes");
}

TEST(HelpProjectTest, LineFeedsAloneAndLoneCarriageReturnsSeparateLines) {
    std::string lf = kBuildProject;
    std::string cr = kBuildProject;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
    for (std::size_t at; (at = cr.find("\r\n")) != std::string::npos;) cr.erase(at + 1, 1);
    for (const std::string& text : {lf, cr}) {
        const HelpProject project = ReadHelpProject(text);
        EXPECT_EQ(project.lcid, 0x804u);
        EXPECT_EQ(project.files, std::vector<std::string>{"index.htm"});
        EXPECT_EQ(project.windows.size(), 1u);
    }
}

TEST(HelpProjectTest, NamesAreCaseInsensitiveAndUnknownPartsTolerated) {
    const HelpProject project = ReadHelpProject(
        "\xEF\xBB\xBF; a comment\n"
        "[options]\n"
        "  compiled FILE = out\\Book.chm  \n"
        "TITLE=My Book\n"
        "Binary TOC=Yes\n"
        "Full-text search=maybe\n"
        "no equals sign here\n"
        "Compatibility=1.0\n"
        "[ALIAS]\n"
        "IDH_X=x.htm\n"
        "[Files]\n"
        "a.htm\n"
        "  sub\\b.htm\n"
        "; skipped.htm\n");
    EXPECT_EQ(project.compiledFile, "out\\Book.chm");
    EXPECT_EQ(project.title, "My Book");
    EXPECT_FALSE(project.fullTextSearch);
    EXPECT_TRUE(project.compatibility10);
    EXPECT_EQ(project.files, (std::vector<std::string>{"a.htm", "sub\\b.htm"}));
    // Binary TOC, "maybe", the line without "=" and [ALIAS].
    ASSERT_EQ(project.warnings.size(), 4u);
    EXPECT_NE(project.warnings[1].find("line 6"), std::string::npos);
}

TEST(HelpProjectTest, LanguageKeepsOnlyTheNumberAndRejectsNonsense) {
    EXPECT_EQ(ReadHelpProject("[OPTIONS]\nLanguage=0x411 Japanese").lcid, 0x411u);
    EXPECT_EQ(ReadHelpProject("[OPTIONS]\nLanguage=1033").lcid, 1033u);
    const HelpProject bad = ReadHelpProject("[OPTIONS]\nLanguage=Chinese");
    EXPECT_EQ(bad.lcid, kDefaultLcid);
    EXPECT_EQ(bad.warnings.size(), 1u);
}

TEST(HelpProjectTest, DefaultWindowThatIsNotDefinedIsNotFound) {
    const HelpProject project = ReadHelpProject("[OPTIONS]\nDefault Window=Other\n[WINDOWS]\nMain=\"x\"\n");
    EXPECT_EQ(project.FindDefaultWindow(), nullptr);
}

TEST(WindowDefinitionTest, ReadsEveryFieldOfTheBuildsWindow) {
    std::string problem;
    const WindowDefinition window = ParseWindowDefinition(
        "Main",
        "\"Notes\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"home.htm\",\"j1.htm\",\"Jump 1\",\"j2.htm\",\"Jump 2\","
        "0x20,180,0x10387C,[80,60,720,540],0x0,0x0,3,1,2,1,42",
        &problem);
    EXPECT_TRUE(problem.empty()) << problem;
    EXPECT_EQ(window.name, "Main");
    EXPECT_EQ(window.caption, "Notes");
    EXPECT_EQ(window.toc, "Temp.hhc");
    EXPECT_EQ(window.index, "Temp.hhk");
    EXPECT_EQ(window.file, "index.htm");
    EXPECT_EQ(window.home, "home.htm");
    EXPECT_EQ(window.jump1Url, "j1.htm");
    EXPECT_EQ(window.jump1Text, "Jump 1");
    EXPECT_EQ(window.jump2Url, "j2.htm");
    EXPECT_EQ(window.jump2Text, "Jump 2");
    EXPECT_EQ(window.navigationStyle, 0x20u);
    EXPECT_EQ(window.navigationWidth, 180u);
    EXPECT_EQ(window.buttons, 0x10387Cu);
    EXPECT_EQ(window.position, (std::array<std::int32_t, 4>{80, 60, 720, 540}));
    EXPECT_EQ(window.style, 0u);
    EXPECT_EQ(window.extendedStyle, 0u);
    EXPECT_EQ(window.showState, 3u);
    EXPECT_EQ(window.navigationClosed, 1u);
    EXPECT_EQ(window.defaultTab, 2u);
    EXPECT_EQ(window.navigationPosition, 1u);
    EXPECT_EQ(window.notifyId, 42u);
}

TEST(WindowDefinitionTest, EmptyFieldsSetNothing) {
    const WindowDefinition window = ParseWindowDefinition(
        "Main", "\"\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,0x10387C,[80,60,720,540],"
                "0x0,0x0,,1,,,0");
    EXPECT_EQ(window.caption, "");
    EXPECT_FALSE(window.showState.has_value());
    EXPECT_FALSE(window.defaultTab.has_value());
    EXPECT_FALSE(window.navigationPosition.has_value());
    EXPECT_EQ(window.navigationClosed, 1u);
}

TEST(WindowDefinitionTest, CaptionsWithQuotesAndCommasKeepTheOtherFieldsInPlace) {
    const std::string tail = ",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,0x10387C,"
                             "[80,60,720,540],0x0,0x0,,1,,,0";
    for (const std::string caption : {"A, B", "say \"hi\"", "say \"hi\", then go", "a\"b", "\"Notes\"", " padded "}) {
        const WindowDefinition window = ParseWindowDefinition("Main", "\"" + caption + "\"" + tail);
        EXPECT_EQ(window.caption, caption);
        EXPECT_EQ(window.toc, "Temp.hhc") << caption;
        EXPECT_EQ(window.file, "index.htm") << caption;
        EXPECT_EQ(window.buttons, 0x10387Cu) << caption;
        EXPECT_EQ(window.navigationClosed, 1u) << caption;
    }
}

TEST(WindowDefinitionTest, UnreadableNumbersAreReportedAndLeftUnset) {
    std::string problem;
    const WindowDefinition window = ParseWindowDefinition("W", "\"c\",,,,,,,,,0xZZ,wide,,[1,2,3]", &problem);
    EXPECT_FALSE(window.navigationStyle.has_value());
    EXPECT_FALSE(window.navigationWidth.has_value());
    EXPECT_FALSE(window.position.has_value());
    EXPECT_NE(problem.find("0xZZ"), std::string::npos);
}

}  // namespace
}  // namespace hhc::project
