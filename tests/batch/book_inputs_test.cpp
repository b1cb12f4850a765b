// The window's input rules: default texts, output path, file list.
#include <gtest/gtest.h>

#include <algorithm>

#include "book_fixture.h"
#include "batch/book_inputs.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

std::u16string WithoutLineBreaks(std::u16string text) {
    std::erase(text, u'\r');
    std::erase(text, u'\n');
    return text;
}

TEST(DefaultTexts, FourLineStatementIsTheStatementBrokenIntoFourLines) {
    const std::u16string four = StatementTextInFourLines();
    EXPECT_EQ(std::count(four.begin(), four.end(), u'\n'), 4);
    EXPECT_TRUE(four.ends_with(u"以自由转载，但请务必注明原出处和作者。\r\n"));
    EXPECT_TRUE(four.starts_with(u"本文件部分文章来源于网络，文章版权归原作者所有，如果本\r\n站"));
    EXPECT_EQ(WithoutLineBreaks(four), WithoutLineBreaks(StatementText()));
    const std::u16string one = StatementText();
    EXPECT_TRUE(one.ends_with(u"注明原出处和作者。\r\n"));
    EXPECT_EQ(std::count(one.begin(), one.end(), u'\n'), 1);
}

TEST(DefaultTexts, NoticeLinksThePublisherInANewWindow) {
    EXPECT_EQ(NoticeText(),
              u"更多原创资源以及原创软件请访问："
              u"<a href='http://www.example.com/' target='_blank'>http://www.example.com/</a>\r\n");
}

TEST(OutputPath, FollowsTheTitleInTheReleaseFolder) {
    const std::u16string sep(1, platform::kPathSeparator);
    const std::u16string app = sep + u"opt" + sep + u"book";
    EXPECT_EQ(OutputFolder(app), app + sep + u"Release");
    EXPECT_EQ(DefaultOutputPath(app), app + sep + u"Release" + sep + u"test.chm");
    EXPECT_EQ(OutputPathForTitle(app, u" My Book "), app + sep + u"Release" + sep + u" My Book .chm");
    EXPECT_EQ(OutputPathForTitle(app, u""), app + sep + u"Release" + sep + u".chm");
    // A program in the root gets no doubled separator.
    EXPECT_EQ(DefaultOutputPath(sep), sep + u"Release" + sep + u"test.chm");
}

class BookInputsTest : public BookTest {};

TEST_F(BookInputsTest, EnsureOutputFolderCreatesItOnceAndRefusesAFile) {
    const fs::path other = root_ / "other";
    fs::create_directory(other);
    EXPECT_FALSE(fs::exists(other / "Release"));
    EXPECT_TRUE(EnsureOutputFolder(U16(other)));
    EXPECT_TRUE(fs::is_directory(other / "Release"));
    EXPECT_TRUE(EnsureOutputFolder(U16(other)));

    const fs::path blocked = root_ / "blocked";
    fs::create_directory(blocked);
    WriteBytes(blocked / "Release", "a file");
    EXPECT_FALSE(EnsureOutputFolder(U16(blocked)));
    EXPECT_EQ(ReadBytes(blocked / "Release"), "a file");
}

TEST_F(BookInputsTest, ListsTheTextFilesInNameOrderWithoutHiddenFilesOrFolders) {
    for (const char* name : {"b.txt", "A.TXT", "c.Txt", "_x.txt", "a.txt.bak", "notes.md", ".hidden.txt"})
        WriteBytes(sources_ / name, "x");
    fs::create_directory(sources_ / "folder.txt");
    const std::u16string folder = U16(sources_);
    const std::u16string sep(1, platform::kPathSeparator);
    const std::vector<std::u16string> expected = {folder + sep + u"A.TXT", folder + sep + u"b.txt",
                                                  folder + sep + u"c.Txt", folder + sep + u"_x.txt"};
    EXPECT_EQ(ListSourceFiles(folder), expected);
    // A folder given with its separator gets no second one.
    EXPECT_EQ(ListSourceFiles(folder + sep), expected);
    EXPECT_TRUE(ListSourceFiles(U16(root_ / "missing")).empty());
}

}  // namespace
}  // namespace chmbook::testing
