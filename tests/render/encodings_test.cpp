// Reading source files (UTF-8, UTF-16, code page 936, missing ones), their
// names, FixPath, characters that a page in code page 936 cannot hold, and
// markup in titles.
#include <gtest/gtest.h>

#include <string>

#include "common/memory_window_state.h"
#include "common/mod_public.h"
#include "platform/platform.h"
#include "render/render.h"
#include "test_support/scratch_folder.h"

namespace chmbook {
namespace {

using test_support::ScratchFolder;
using namespace std::string_literals;

// UTF-16 code units as bytes, little- or big-endian.
std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (const char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// An emoji, a CJK Extension-B character, Korean and Japanese.
constexpr std::u16string_view kWorld = u"\U0001F600 \U00020B9F \uD55C\uAD6D\uC5B4 \u65E5\u672C\u8A9E\u304B\u306A";
const std::string kWorldUtf8 = "\xF0\x9F\x98\x80 \xF0\xA0\xAE\x9F \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 "
                               "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\x8B\xE3\x81\xAA";

struct DecodeCase {
    const char* what;
    std::string bytes;
    SourceEncoding encoding;
    std::u16string text;
};

TEST(SourceEncodings, EachKindOfFileReadsAsItsText) {
    const auto S = SourceEncoding::kAuto;
    const DecodeCase cases[] = {
        {"UTF-8 with mark", "\xEF\xBB\xBF" "a\xE4\xB8\xAD" "\r\n" + kWorldUtf8, S, u"a\u4E2D\r\n" + std::u16string(kWorld)},
        {"UTF-8 without mark", kWorldUtf8, S, std::u16string(kWorld)},
        {"UTF-8 mark alone", "\xEF\xBB\xBF", S, u""},
        {"UTF-16 LE", "\xFF\xFE" + Utf16Bytes(kWorld, false), S, std::u16string(kWorld)},
        {"UTF-16 BE", "\xFE\xFF" + Utf16Bytes(kWorld, true), S, std::u16string(kWorld)},
        {"UTF-16 odd last byte", "\xFF\xFE" "A\0" "B"s, S, u"A\uFFFD"},
        {"GBK sentence", "\xD6\xD0\xCE\xC4\xB2\xE2\xCA\xD4\xA3\xAC\xCB\xB5\xC3\xF7\xA1\xA3\r\n", S,
         u"\u4E2D\u6587\u6D4B\u8BD5\uFF0C\u8BF4\u660E\u3002\r\n"},
        // Two and four bytes of GBK that are also valid UTF-8 (U+02F5, U+04BB U+0429).
        {"GBK 2 bytes", "\xCB\xB5", S, u"\u8BF4"},
        {"GBK 4 bytes", "\xD2\xBB\xD0\xA9", S, u"\u4E00\u4E9B"},
        {"GBK 4 bytes, not UTF-8", "\xD6\xD0\xCE\xC4", S, u"\u4E2D\u6587"},
        {"ASCII, mixed line ends", "one\r\ntwo\nthree\r\n  \r\n", S, u"one\r\ntwo\nthree\r\n  \r\n"},
        {"empty", "", S, u""},
        // Valid UTF-8 with two-byte characters only reads as code page 936, as before.
        {"2-byte UTF-8 only", "caf\xC3\xA9", S, u"caf\u8305"},
        {"gbk keeps a mark as bytes", "\xEF\xBB\xBF" "a", SourceEncoding::kGbk, u"\u9518\u7E1C"},
        {"gbk on UTF-8", "\xE4\xB8\xAD", SourceEncoding::kGbk, u"\u6D93?"},
        {"utf-8 on GBK", "\xD6\xD0" "a", SourceEncoding::kUtf8, u"\uFFFD\uFFFDa"},
        {"utf-8 on 2-byte UTF-8", "\xEF\xBB\xBF" "caf\xC3\xA9", SourceEncoding::kUtf8, u"caf\u00E9"},
        {"utf-16 without mark", "A\0-N"s, SourceEncoding::kUtf16, u"A\u4E2D"},
        {"utf-16 with BE mark", "\xFE\xFF\0A"s, SourceEncoding::kUtf16, u"A"},
    };
    ScratchFolder dir;
    for (const DecodeCase& c : cases) {
        dir.Write("source.txt", c.bytes);
        EXPECT_EQ(GetContent(dir.u16("source.txt"), c.encoding), c.text) << c.what;
        if (c.encoding == SourceEncoding::kAuto) {
            EXPECT_EQ(GetContent(dir.u16("source.txt")), c.text) << c.what;
        }
    }
    for (const std::u16string& unreadable : {dir.u16("absent.txt"), dir.u16("absent/a.txt"), dir.u16(), std::u16string()})
        EXPECT_EQ(GetContent(unreadable), u"") << platform::ToUtf8(unreadable);
}

TEST(SourceEncodings, MalformedUtf8ReadsAsTheCodePage) {
    const std::string cases[] = {
        "\xE0\x80\xAF",          // overlong
        "\xED\xA0\x80",          // a surrogate
        "\xF4\x90\x80\x80",      // above U+10FFFF
        "\xE4\xB8\xAD\xE4\xB8",  // cut off at the end
        "\xE4\xB8\xAD\xFF",      // a byte that UTF-8 never uses
    };
    ScratchFolder dir;
    for (const std::string& bytes : cases) {
        dir.Write("source.txt", bytes);
        EXPECT_EQ(GetContent(dir.u16("source.txt")), platform::AnsiToUnicode(bytes)) << ::testing::PrintToString(bytes);
    }
}

TEST(CharacterReferences, OnlyCharactersOutsideTheCodePageBecomeReferences) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"<p>\u4E2D\u6587 &amp; \u20AC</P>", u"<p>\u4E2D\u6587 &amp; \u20AC</P>"},
        {u"a\U0001F600b", u"a&#128512;b"},
        {u"\U00020B9F\U00020B9F", u"&#134047;&#134047;"},
        {u"\uD55C\uAD6D", u"&#54620;&#44397;"},
        {u"\u00A2\u00E9", u"&#162;\u00E9"},  // the cent sign has only a look-alike in code page 936
        {std::u16string{u'x', char16_t(0xD800), u'y', char16_t(0xDC00)}, u"x&#65533;y&#65533;"},
    };
    for (const auto& [text, page] : cases) EXPECT_EQ(WithCharacterReferences(text), page) << platform::ToUtf8(text);
    EXPECT_EQ(CharactersOutsideAnsi(u"Book \U0001F600\u4E2D\uD55C\U0001F600\u00A2"), u"\U0001F600\uD55C\u00A2");
    EXPECT_EQ(CharactersOutsideAnsi(u"\u4E2D\u6587 ok"), u"");
}

TEST(PageTitles, MarkupInATitleIsShownAsText) {
    MemoryWindowState frm;
    frm.appPath = u"/nonexistent";
    frm.paperTop = u"<b>top</b>";
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"a<script>", u"a&lt;script&gt;"}, {u"<!--", u"&lt;!--"}, {u"<style", u"&lt;style"},
        {u"&", u"&amp;"},                   {u"\"", u"&quot;"},    {u"\u4E2D 'x'", u"\u4E2D 'x'"},
    };
    for (const auto& [title, shown] : cases) {
        const std::u16string head = HtmlTitle(frm, title, kContentPage);
        EXPECT_NE(head.find(u"<TITLE>" + shown + u"</TITLE>"), std::u16string::npos) << platform::ToUtf8(title);
        EXPECT_NE(head.find(u"<h1>" + shown + u"</h1>"), std::u16string::npos) << platform::ToUtf8(title);
        EXPECT_NE(head.find(u"'TitleDemo'><b>top</b></td>"), std::u16string::npos);
    }
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
#ifndef _WIN32
        // Names in GBK bytes show as their characters; a UTF-8 name stays as it is.
        {platform::FromUtf8("/src/\xCB\xB5\xC3\xF7.txt"), u"\u8BF4\u660E"},
        {platform::FromUtf8("/src/\xD6\xD0\xCE\xC4 2.txt"), u"\u4E2D\u6587 2"},
        {platform::FromUtf8("/src/\xE4\xB8\xAD.txt"), u"\u4E2D"},
#endif
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
