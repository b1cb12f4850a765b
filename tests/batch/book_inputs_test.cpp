// The window's input rules: output path and file list.
#include <gtest/gtest.h>

#include "book_fixture.h"
#include "batch/book_inputs.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

TEST(OutputPath, FollowsTheTitleInTheReleaseFolder) {
    const std::u16string sep(1, platform::kPathSeparator);
    const std::u16string app = sep + u"opt" + sep + u"book", release = app + sep + u"Release" + sep;
    EXPECT_EQ(DefaultOutputPath(app), release + u"test.chm");
    EXPECT_EQ(OutputPathForTitle(app, u" My Book "), release + u" My Book .chm");
    EXPECT_EQ(OutputPathForTitle(app, u""), release + u".chm");
    EXPECT_EQ(DefaultOutputPath(sep), sep + u"Release" + sep + u"test.chm");  // no doubled separator at the root
}

class BookInputsTest : public BookTest {};

TEST_F(BookInputsTest, EnsureOutputFolderCreatesItOnceAndRefusesAFile) {
    fs::create_directory(root_ / "other");
    EXPECT_TRUE(EnsureOutputFolder(U16(root_ / "other")) && EnsureOutputFolder(U16(root_ / "other")));
    EXPECT_TRUE(fs::is_directory(root_ / "other" / "Release"));
    WriteBytes(root_ / "blocked" / "Release", "a file");
    EXPECT_FALSE(EnsureOutputFolder(U16(root_ / "blocked")));
    EXPECT_EQ(ReadBytes(root_ / "blocked" / "Release"), "a file");
}

TEST_F(BookInputsTest, ListsTheTextFilesInNameOrderWithoutHiddenFilesOrFolders) {
    for (const char* name : {"b.txt", "A.TXT", "c.Txt", "_x.txt", "a.txt.bak", "notes.md", ".hidden.txt"})
        WriteBytes(sources_ / name, "x");
    fs::create_directory(sources_ / "folder.txt");
    const std::u16string folder = U16(sources_), sep(1, platform::kPathSeparator);
    const std::vector<std::u16string> expected = {folder + sep + u"A.TXT", folder + sep + u"b.txt",
                                                  folder + sep + u"c.Txt", folder + sep + u"_x.txt"};
    EXPECT_EQ(ListSourceFiles(folder), expected);
    EXPECT_EQ(ListSourceFiles(folder + sep), expected);
    EXPECT_TRUE(ListSourceFiles(U16(root_ / "missing")).empty());
}

}  // namespace
}  // namespace chmbook::testing
