// GetContent, GetFileName and FixPath.
#include <gtest/gtest.h>

#include "common/mod_public.h"
#include "platform/platform.h"
#include "render/render.h"
#include "test_support/scratch_folder.h"

namespace chmbook {
namespace {

TEST(GetContent, DecodesTheWholeFileOrGivesEmptyText) {
    test_support::ScratchFolder dir;
    dir.Write("a.txt", "\xD6\xD0\xCE\xC4");
    dir.Write("lines.txt", "one\r\ntwo\nthree\r\n  \r\n");
    dir.Write("bom.txt", "\xEF\xBB\xBF" "ab");  // the byte order mark says UTF-8 and is not part of the text
    dir.Write("empty.txt", "");
    const std::pair<std::u16string, std::u16string> cases[] = {
        {dir.u16("a.txt"), u"\u4E2D\u6587"},
        {dir.u16("lines.txt"), u"one\r\ntwo\nthree\r\n  \r\n"},
        {dir.u16("bom.txt"), u"ab"},
        {dir.u16("empty.txt"), u""},
        {dir.u16("absent.txt"), u""},
        {dir.u16("absent/a.txt"), u""},
        {dir.u16(), u""},  // a folder
        {u"", u""},
    };
    for (const auto& [path, text] : cases) EXPECT_EQ(GetContent(path), text) << platform::ToUtf8(path);
}

TEST(GetFileName, NameWithoutFolderAndLastExtension) {
    const std::u16string s(1, platform::kPathSeparator);
    const char16_t other = platform::kPathSeparator == u'/' ? u'\\' : u'/';
    const std::u16string foreign = u"C:" + std::u16string(1, other) + u"txt" + std::u16string(1, other) + u"a";
    const std::pair<std::u16string, std::u16string> cases[] = {
        {s + u"txt" + s + u"chapter1.txt", u"chapter1"},
        {s + u"txt" + s + u"a.b.txt", u"a.b"},
        {s + u"my.docs" + s + u"readme", u""},
        {s + u"txt" + s + u".txt", u""},
        {s + u"txt" + s, u""},
        {s + u"txt" + s + u"\u4E2D\u6587.txt", u"\u4E2D\u6587"},
        {u"", u""},
        {u"  notes.txt  ", u"notes"},  // names without a folder are trimmed
        {u"   ", u""},
        {s + u"txt" + s + u" notes.txt", u" notes"},
        {s + u"txt" + s + u"a.txt  ", u"a"},
        {u"\tnotes.txt", u"\tnotes"},  // only blanks are trimmed
        {foreign + u".txt", foreign},   // only the platform's separator separates folders
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(GetFileName(path), name) << platform::ToUtf8(path);
}

TEST(FixPath, EndsWithASeparator) {
    const std::u16string s(1, platform::kPathSeparator), other(1, platform::kPathSeparator == u'/' ? u'\\' : u'/');
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", s}, {s, s}, {u"app", u"app" + s}, {u"app" + s, u"app" + s}, {u"app" + s + s, u"app" + s + s},
        {u"app" + other, u"app" + other + s}};
    for (const auto& [path, fixed] : cases) EXPECT_EQ(FixPath(path), fixed);
}

}  // namespace
}  // namespace chmbook
