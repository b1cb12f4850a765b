// File system functions of the platform layer, against a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

using test_support::ScratchFolder;
namespace fs = std::filesystem;

TEST(FindFiles, ListsMatchingFilesInUpperCaseOrdinalOrder) {
    ScratchFolder dir;
    for (const char* name : {"b.txt", "A.txt", "_x.txt", "a1.TXT", "Z.txt", "\xE4\xB8\xAD.txt", "notes.md"})
        dir.Write(name, "x");
    const std::vector<std::u16string> expected = {u"A.txt", u"a1.TXT", u"b.txt", u"Z.txt", u"_x.txt", u"\u4E2D.txt"};
    EXPECT_EQ(FindFiles(dir.u16(), u"*.txt"), expected);
}

TEST(FindFiles, LeavesOutFoldersHiddenFilesAndOtherExtensions) {
    ScratchFolder dir;
    dir.Write("keep.txt", "x");
    dir.Write(".hidden.txt", "x");
    dir.Write("keep.txt.bak", "x");
    dir.Write("keeptxt", "x");
    fs::create_directory(dir.path() / "folder.txt");
    EXPECT_EQ(FindFiles(dir.u16(), u"*.txt"), std::vector<std::u16string>{u"keep.txt"});
}

TEST(FindFiles, WildcardsIgnoreCase) {
    ScratchFolder dir;
    for (const char* name : {"a.TXT", "ab.txt", "abc.Txt"}) dir.Write(name, "x");
    EXPECT_EQ(FindFiles(dir.u16(), u"?.txt"), std::vector<std::u16string>{u"a.TXT"});
    EXPECT_EQ(FindFiles(dir.u16(), u"A*.TXT"), (std::vector<std::u16string>{u"a.TXT", u"ab.txt", u"abc.Txt"}));
    EXPECT_EQ(FindFiles(dir.u16(), u"*B*"), (std::vector<std::u16string>{u"ab.txt", u"abc.Txt"}));
    EXPECT_EQ(FindFiles(dir.u16(), u"*"), (std::vector<std::u16string>{u"a.TXT", u"ab.txt", u"abc.Txt"}));
}

TEST(FindFiles, NamesInAnotherEncodingStillOpen) {
    ScratchFolder dir;
    dir.Write("\xD6\xD0\xCE\xC4.txt", "gbk name");
    const std::vector<std::u16string> names = FindFiles(dir.u16(), u"*.txt");
    ASSERT_EQ(names.size(), 1u);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(dir.u16() + kPathSeparator + names[0], bytes));
    EXPECT_EQ(bytes, "gbk name");
}

TEST(FindFiles, MissingFolderGivesNothing) {
    ScratchFolder dir;
    EXPECT_TRUE(FindFiles(dir.u16("absent"), u"*.txt").empty());
}

TEST(Files, LookUpAndOrdinaryFiles) {
    ScratchFolder dir;
    dir.Write("a.txt", "x");
    dir.Write(".hidden", "x");
    EXPECT_EQ(LookUp(dir.u16("a.txt")), EntryKind::kFile);
    EXPECT_EQ(LookUp(dir.u16()), EntryKind::kFolder);
    EXPECT_EQ(LookUp(dir.u16("absent")), EntryKind::kNone);
    EXPECT_EQ(LookUp(u""), EntryKind::kNone);
    EXPECT_TRUE(IsOrdinaryFile(dir.u16("a.txt")));
    EXPECT_FALSE(IsOrdinaryFile(dir.u16(".hidden")));
    EXPECT_FALSE(IsOrdinaryFile(dir.u16()));
    EXPECT_FALSE(IsOrdinaryFile(dir.u16("absent")));
}

TEST(Files, CreateFolderOnceOnly) {
    ScratchFolder dir;
    EXPECT_TRUE(CreateFolder(dir.u16("new")));
    EXPECT_EQ(LookUp(dir.u16("new")), EntryKind::kFolder);
    EXPECT_FALSE(CreateFolder(dir.u16("new")));
    EXPECT_FALSE(CreateFolder(dir.u16("absent/new")));
}

TEST(Files, WriteAndReadWholeFiles) {
    ScratchFolder dir;
    const std::string bytes("\xD6\xD0\r\n\0end", 7);
    ASSERT_TRUE(WriteWholeFile(dir.u16("\xE4\xB8\xAD.txt"), bytes));
    std::string read = "stale";
    ASSERT_TRUE(ReadWholeFile(dir.u16("\xE4\xB8\xAD.txt"), read));
    EXPECT_EQ(read, bytes);

    ASSERT_TRUE(WriteWholeFile(dir.u16("\xE4\xB8\xAD.txt"), "short"));  // replaces, no leftovers
    ASSERT_TRUE(ReadWholeFile(dir.u16("\xE4\xB8\xAD.txt"), read));
    EXPECT_EQ(read, "short");

    ASSERT_TRUE(WriteWholeFile(dir.u16("empty"), ""));
    ASSERT_TRUE(ReadWholeFile(dir.u16("empty"), read));
    EXPECT_EQ(read, "");
}

TEST(Files, ReadFailuresLeaveBytesEmpty) {
    ScratchFolder dir;
    std::string read = "stale";
    EXPECT_FALSE(ReadWholeFile(dir.u16("absent"), read));
    EXPECT_EQ(read, "");
    read = "stale";
    EXPECT_FALSE(ReadWholeFile(dir.u16(), read));
    EXPECT_EQ(read, "");
    EXPECT_FALSE(WriteWholeFile(dir.u16("absent/x"), "x"));
}

TEST(Files, DeleteFiles) {
    ScratchFolder dir;
    dir.Write("a.htm", "x");
    dir.Write(".b", "x");
    fs::create_directory(dir.path() / "sub");
    dir.Write("sub/c", "x");
    EXPECT_TRUE(DeleteOneFile(dir.u16("a.htm")));
    EXPECT_FALSE(DeleteOneFile(dir.u16("a.htm")));
    EXPECT_FALSE(DeleteOneFile(dir.u16("sub")));
    dir.Write("a.htm", "x");
    EXPECT_EQ(DeleteFilesIn(dir.u16()), 0u);
    EXPECT_FALSE(fs::exists(dir.path() / "a.htm"));
    EXPECT_FALSE(fs::exists(dir.path() / ".b"));
    EXPECT_TRUE(fs::exists(dir.path() / "sub/c"));
}

TEST(Files, CopyReplacesTarget) {
    ScratchFolder dir;
    dir.Write("from", "new content");
    dir.Write("to", "old content that is longer");
    ASSERT_TRUE(CopyFileReplacing(dir.u16("from"), dir.u16("to")));
    std::string read;
    ASSERT_TRUE(ReadWholeFile(dir.u16("to"), read));
    EXPECT_EQ(read, "new content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(Files, FailedCopyLeavesTargetAlone) {
    ScratchFolder dir;
    dir.Write("to", "keep");
    EXPECT_FALSE(CopyFileReplacing(dir.u16("absent"), dir.u16("to")));
    EXPECT_FALSE(CopyFileReplacing(dir.u16("to"), dir.u16("absent/x")));
    std::string read;
    ASSERT_TRUE(ReadWholeFile(dir.u16("to"), read));
    EXPECT_EQ(read, "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(Program, FolderHoldsTheRunningExecutable) {
    const std::u16string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.size() == 1 || folder.back() != kPathSeparator);
    EXPECT_EQ(LookUp(folder), EntryKind::kFolder);
    EXPECT_EQ(LookUp(folder + kPathSeparator + u"platform_tests"), EntryKind::kFile);
}

}  // namespace
}  // namespace chmbook::platform
