// File system functions through the Win32 calls: wide names, attributes,
// and the pattern matching that the system's own search does not get right.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

using Names = std::vector<std::u16string>;

TEST(Win32Files, FindFilesMatchesLongNamesOnlyInUpperCaseOrdinalOrder) {
    test_support::ScratchFolder dir;
    // "a.txt1" and "long name.txt.bak" have 8.3 aliases ending in ".TXT".
    for (const char16_t* name : {u"b.txt", u"A.txt", u"a1.TXT", u"\u4E2D\u6587.txt", u"_x.txt", u"a.txt1",
                                 u"long name.txt.bak", u"notes.md", u"hidden.txt"})
        ASSERT_TRUE(WriteWholeFile(dir.u16() + u"\\" + name, "x"));
    const std::u16string hidden = dir.u16() + u"\\hidden.txt";
    ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<const wchar_t*>(hidden.c_str()), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateFolder(dir.u16() + u"\\folder.txt"));
    EXPECT_EQ(FindFiles(dir.u16(), u"*.txt"), (Names{u"A.txt", u"a1.TXT", u"b.txt", u"_x.txt", u"\u4E2D\u6587.txt"}));
    EXPECT_EQ(FindFiles(dir.u16(), u"?.TXT"), (Names{u"A.txt", u"b.txt"}));
}

TEST(Win32Files, WideNamesReadWriteCopyAndDelete) {
    test_support::ScratchFolder dir;
    const std::u16string folder = dir.u16() + u"\\\u4E66 folder";
    const std::u16string from = folder + u"\\\u7B2C\u4E00\u7AE0.txt", to = folder + u"\\\u526F\u672C.chm";
    ASSERT_TRUE(CreateFolder(folder));
    EXPECT_FALSE(CreateFolder(folder));
    ASSERT_TRUE(WriteWholeFile(from, "\xD6\xD0"));
    ASSERT_TRUE(WriteWholeFile(to, "old and longer"));
    EXPECT_TRUE(IsOrdinaryFile(from));
    ASSERT_TRUE(CopyFileReplacing(from, to));
    EXPECT_FALSE(CopyFileReplacing(folder + u"\\absent", to));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(to, bytes));
    EXPECT_EQ(bytes, "\xD6\xD0");
    ASSERT_TRUE(CreateFolder(folder + u"\\sub"));
    EXPECT_EQ(DeleteFilesIn(folder), 0u);
    EXPECT_EQ(LookUp(from), EntryKind::kNone);
    EXPECT_EQ(LookUp(folder + u"\\sub"), EntryKind::kFolder);
    EXPECT_FALSE(ReadWholeFile(from, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(LookUp(ProgramFolder() + u"\\platform_tests.exe"), EntryKind::kFile);
}

}  // namespace
}  // namespace chmbook::platform
