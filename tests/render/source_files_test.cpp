// GetContent and GetFileName.
#include <gtest/gtest.h>

#include <fstream>

#include "common/mod_public.h"
#include "platform/platform.h"
#include "render/render.h"
#include "test_support/scratch_folder.h"

namespace chmbook {
namespace {

using test_support::ScratchFolder;

TEST(GetContent, DecodesTheWholeFileFromTheAnsiCodePage) {
    ScratchFolder dir;
    dir.Write("a.txt", "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(GetContent(dir.u16("a.txt")), u"\u4E2D\u6587");
}

TEST(GetContent, KeepsLineEndsAndBytesAsTheyAre) {
    ScratchFolder dir;
    dir.Write("a.txt", "one\r\ntwo\nthree\r\n  \r\n");
    EXPECT_EQ(GetContent(dir.u16("a.txt")), u"one\r\ntwo\nthree\r\n  \r\n");
    const std::string withBom = "\xEF\xBB\xBF" "ab";
    dir.Write("bom.txt", withBom);
    const std::u16string text = GetContent(dir.u16("bom.txt"), SourceEncoding::kGbk);
    EXPECT_EQ(text, platform::AnsiToUnicode(withBom));
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text[0], u'\uFEFF');
}

TEST(GetContent, EmptyOrMissingFilesGiveEmptyText) {
    ScratchFolder dir;
    dir.Write("empty.txt", "");
    EXPECT_EQ(GetContent(dir.u16("empty.txt")), u"");
    EXPECT_EQ(GetContent(dir.u16("absent.txt")), u"");
    EXPECT_EQ(GetContent(dir.u16("absent/a.txt")), u"");
    EXPECT_EQ(GetContent(dir.u16()), u"");  // a folder
    EXPECT_EQ(GetContent(u""), u"");
}

TEST(GetContent, ReadsWhileAnotherFileIsOpenForWriting) {
    ScratchFolder dir;
    dir.Write("source.txt", "abc");
    std::ofstream page(dir.path() / "0.htm", std::ios::binary);
    page << "<HTML>";
    EXPECT_EQ(GetContent(dir.u16("source.txt")), u"abc");
    page << "</html>";
    page.close();
    EXPECT_EQ(GetContent(dir.u16("0.htm")), u"<HTML></html>");
}

std::u16string Path(std::initializer_list<std::u16string_view> parts) {
    std::u16string path;
    bool first = true;
    for (const auto part : parts) {
        if (!first) path += platform::kPathSeparator;
        path += part;
        first = false;
    }
    return path;
}

TEST(GetFileName, NameWithoutFolderAndLastExtension) {
    EXPECT_EQ(GetFileName(Path({u"", u"txt", u"chapter1.txt"})), u"chapter1");
    EXPECT_EQ(GetFileName(Path({u"", u"txt", u"a.b.txt"})), u"a.b");
    EXPECT_EQ(GetFileName(Path({u"", u"my.docs", u"readme"})), u"");
    EXPECT_EQ(GetFileName(Path({u"", u"txt", u".txt"})), u"");
    EXPECT_EQ(GetFileName(Path({u"", u"txt", u""})), u"");
    EXPECT_EQ(GetFileName(Path({u"", u"txt", u"\u4E2D\u6587.txt"})), u"\u4E2D\u6587");
    EXPECT_EQ(GetFileName(u""), u"");
}

TEST(GetFileName, TrimsOnlyNamesWithoutFolder) {
    EXPECT_EQ(GetFileName(u"  notes.txt  "), u"notes");
    EXPECT_EQ(GetFileName(u"   "), u"");
    EXPECT_EQ(GetFileName(Path({u"", u"txt", u" notes.txt"})), u" notes");
    EXPECT_EQ(GetFileName(Path({u"", u"txt", u"a.txt  "})), u"a");
    EXPECT_EQ(GetFileName(u"\tnotes.txt"), u"\tnotes");  // only blanks are trimmed
}

TEST(GetFileName, OnlyThePlatformSeparatorSeparatesFolders) {
    const char16_t other = platform::kPathSeparator == u'/' ? u'\\' : u'/';
    std::u16string path = u"C:";
    path += other;
    path += u"txt";
    path += other;
    path += u"a.txt";
    EXPECT_EQ(GetFileName(path), path.substr(0, path.size() - 4));
}

TEST(FixPath, EndsWithExactlyOneSeparator) {
    const std::u16string sep(1, platform::kPathSeparator);
    EXPECT_EQ(FixPath(u""), sep);
    EXPECT_EQ(FixPath(sep), sep);
    EXPECT_EQ(FixPath(u"app"), u"app" + sep);
    EXPECT_EQ(FixPath(u"app" + sep), u"app" + sep);
    EXPECT_EQ(FixPath(u"app" + sep + sep), u"app" + sep + sep);
    const char16_t other = platform::kPathSeparator == u'/' ? u'\\' : u'/';
    EXPECT_EQ(FixPath(u"app" + std::u16string(1, other)), u"app" + std::u16string(1, other) + sep);
}

}  // namespace
}  // namespace chmbook
