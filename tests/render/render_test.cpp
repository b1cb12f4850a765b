// Reading source files (UTF-8, UTF-16, code page 936; a missing one is the
// build's test) and their names, the characters that a page in code page 936
// cannot hold, the bundled sample folder; then the markup of a page: text
// escaped into paragraphs, titles shown as text, and the exact frame
// (HtmlTitle, HtmlFoot) around it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/memory_window_state.h"
#include "common/mod_public.h"
#include "platform/platform.h"
#include "render/render.h"
#include "test_support/scratch_folder.h"

namespace chmbook {
namespace {

using namespace std::string_literals;

TEST(SourceEncodings, EachKindOfFileReadsAsItsText) {
    const auto S = SourceEncoding::kAuto;
    const struct {
        const char* what;
        std::string bytes;
        SourceEncoding encoding;
        std::u16string text;
    } cases[] = {
        // An emoji (a surrogate pair in UTF-16) and a Korean character, which code page 936 lacks. A UTF-8
        // mark, little-endian UTF-16 and a GBK text are the readers' book's sources.
        {"UTF-8 without mark", "\xF0\x9F\x98\x80\xED\x95\x9C", S, u"\U0001F600\uD55C"},
        {"UTF-16 BE", "\xFE\xFF\xD8=\xDE\0\xD5\\"s, S, u"\U0001F600\uD55C"},
        {"UTF-16 odd last byte", "\xFF\xFE" "A\0" "B"s, S, u"A\uFFFD"},
        // Two bytes of GBK that are also valid UTF-8 (U+02F5); valid UTF-8 with
        // two-byte characters only reads as code page 936, as before.
        {"GBK 2 bytes", "\xCB\xB5", S, u"\u8BF4"},
        {"2-byte UTF-8 only", "caf\xC3\xA9", S, u"caf\u8305"},
        {"gbk keeps a mark as bytes", "\xEF\xBB\xBF" "a", SourceEncoding::kGbk, u"\u9518\u7E1C"},
        {"utf-8 on GBK", "\xEF\xBB\xBF\xD6\xD0" "a\xC3\xA9", SourceEncoding::kUtf8, u"\uFFFD\uFFFDa\u00E9"},
        {"utf-16 without mark", "A\0-N"s, SourceEncoding::kUtf16, u"A\u4E2D"},
        {"utf-16 with BE mark", "\xFE\xFF\0A"s, SourceEncoding::kUtf16, u"A"},
    };
    test_support::ScratchFolder dir;
    for (const auto& c : cases) {
        dir.Write("source.txt", c.bytes);
        EXPECT_EQ(GetContent(dir.u16("source.txt"), c.encoding), c.text) << c.what;
    }
    // Overlong, a surrogate, above U+10FFFF, cut off, a byte UTF-8 never uses: read as the code page.
    for (const char* malformed : {"\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xB8\xAD\xE4\xB8", "\xE4\xB8\xAD\xFF"}) {
        dir.Write("source.txt", malformed);
        EXPECT_EQ(GetContent(dir.u16("source.txt")), platform::AnsiToUnicode(malformed)) << malformed;
    }
}

TEST(CharacterReferences, OnlyCharactersOutsideTheCodePageBecomeReferences) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"<p>\u4E2D\u6587 &amp; \u20AC</P>", u"<p>\u4E2D\u6587 &amp; \u20AC</P>"},
        {u"\u00A2\u00E9", u"&#162;\u00E9"},  // the cent sign has only a look-alike in code page 936
        {std::u16string{u'x', char16_t(0xD800), u'y', char16_t(0xDC00)}, u"x&#65533;y&#65533;"},
    };
    for (const auto& [text, page] : cases) EXPECT_EQ(WithCharacterReferences(text), page) << platform::ToUtf8(text);
    EXPECT_EQ(CharactersOutsideAnsi(u"Book \U0001F600\u4E2D\uD55C\U0001F600\u00A2"), u"\U0001F600\uD55C\u00A2");
}

// Only the platform's separator separates folders; only names without a
// folder are trimmed, and only of blanks. (Names in GBK or UTF-8 bytes are
// among the readers' book's sources.)
TEST(GetFileName, NameWithoutFolderAndLastExtension) {
    const std::u16string s(1, platform::kPathSeparator), other(1, platform::kPathSeparator == u'/' ? u'\\' : u'/');
    const std::pair<std::u16string, std::u16string> cases[] = {
        {s + u"txt" + s + u"a.b.txt", u"a.b"}, {s + u"my.docs" + s + u"readme", u""}, {s + u"txt" + s + u".txt", u""},
        {u"  notes.txt  ", u"notes"},          {s + u"txt" + s + u" notes.txt", u" notes"},
        {u"\tnotes.txt", u"\tnotes"},          {u"C:" + other + u"a.txt", u"C:" + other + u"a"},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(GetFileName(path), name) << platform::ToUtf8(path);
    EXPECT_EQ(FixPath(u""), s);
    EXPECT_EQ(FixPath(u"app" + other), u"app" + other + s);
}

// Code page 936 text with CR LF line ends, which a checkout must not have converted.
TEST(SampleFolder, HoldsCodePage936TextWithCrLfLineEnds) {
    const std::u16string folder = platform::FromUtf8(CHMBOOK_EXAMPLES_DIR) + platform::kPathSeparator;
    const std::vector<std::u16string> names = platform::FindFiles(folder, u"*.txt");
    ASSERT_GE(names.size(), 3u);
    for (const auto& name : names) {
        SCOPED_TRACE(platform::ToUtf8(name));
        std::string bytes;
        ASSERT_TRUE(platform::ReadWholeFile(folder + name, bytes));
        const std::u16string text = GetContent(folder + name);
        EXPECT_EQ(platform::UnicodeToAnsi(text), bytes);
        EXPECT_EQ(ReplaceString(text, u"\r\n", u"").find_first_of(u"\r\n"), std::u16string::npos);
    }
}

// Lines end only at CR LF; a lone CR or LF stays inside its line.
TEST(TxtToHtml, OneEscapedParagraphPerCrLfLine) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", u""},
        {u"\r\none\r\n\r\ntwo", u"<p></P>\r\n<p>one</P>\r\n<p></P>\r\n<p>two</P>\r\n"},
        {u"a\nb\rc\n\r\nd\r\r\n", u"<p>a\nb\rc\n</P>\r\n<p>d\r</P>\r\n"},
        {u"<&>\" &lt; it's", u"<p>&lt;&amp;&gt;&quot; &amp;lt; it's</P>\r\n"},
    };
    for (const auto& [text, html] : cases) EXPECT_EQ(txtToHTML(text), html);
}

// The list page (kind 1) and content pages (any other kind) around their
// snippets, verbatim. Empty content snippets leave their blocks out; empty
// list snippets, a blank snippet and an empty notice do not (the snippets'
// texts are placed by chmbook-cli's test). The style sheet beside the program
// is read at every call: a folder of that name gives none, an empty one an
// empty line. Markup in a title is shown as text.
TEST(PageFrame, ListAndContentPagesAroundTheirSnippets) {
    const test_support::ScratchFolder dir;
    MemoryWindowState frm;
    frm.appPath = dir.u16();
    frm.paperFoot = u" ";
    const std::u16string table = u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n<tr>\r\n";
    const auto head = [&](std::u16string_view styles, std::u16string_view title = u"Book") {
        return u"<HTML>\r\n<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n<TITLE>" +
               std::u16string(title) + u"</TITLE>\r\n" + std::u16string(styles) +
               u"</HEAD>\r\n<BODY>\r\n<p class='ad'><font color='#FF0000'></font></p><p>&nbsp;</p><p><h1>" +
               std::u16string(title) + u"</h1></p><p>&nbsp;</p>\r\n";
    };
    const auto block = [&](std::u16string_view snippet) {
        return table + u"<td width='100%' class='TitleDemo'>" + std::u16string(snippet) +
               u"</td>\r\n</tr>\r\n</table><p>&nbsp;</p>\r\n";
    };
    const auto foot = [&](std::u16string_view snippet) {
        return table + u"<td width='100%' height='100' class='FootDemo'>" + std::u16string(snippet) +
               u"</td>\r\n</tr>\r\n</table>\r\n</body>\r\n</html>\r\n";
    };
    std::filesystem::create_directory(dir.path() / "Hha.css");
    EXPECT_EQ(HtmlTitle(frm, u"Book", 1), head(u"") + block(u""));
    EXPECT_EQ(HtmlFoot(frm, 1), foot(u""));
    std::filesystem::remove(dir.path() / "Hha.css");
    dir.Write("Hha.css", "body { color: black; }\r\n/* \xD6\xD0 */");
    for (int kind : {0, 2, -1, 32767, -32768}) {
        EXPECT_EQ(HtmlTitle(frm, u"<!--a&\"\u4E2D'", kind),
                  head(u"body { color: black; }\r\n/* \u4E2D */\r\n", u"&lt;!--a&amp;&quot;\u4E2D'"));
        EXPECT_EQ(HtmlFoot(frm, kind), foot(u" ")) << kind;
    }
    dir.Write("Hha.css", "");
    frm.appPath = dir.u16() + platform::kPathSeparator;
    frm.paperTop = u"line 1\r\n<i>line 2</i> &amp;";
    frm.paperFoot.clear();
    EXPECT_EQ(HtmlTitle(frm, u"Book", 0), head(u"\r\n") + block(u"line 1\r\n<i>line 2</i> &amp;"));
    EXPECT_EQ(HtmlFoot(frm, 0), u"</body>\r\n</html>\r\n");
}

}  // namespace
}  // namespace chmbook
