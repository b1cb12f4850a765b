// A book built with our own help compiler from sources in every encoding and
// with hostile names, read back with the CHM readers we did not write: every
// page is there and shows its source's text, its name and the characters
// that code page 936 cannot hold.
#include <gtest/gtest.h>

#include <string>

#include "book_fixture.h"
#include "batch/book_inputs.h"
#include "platform/platform.h"
#include "test_support/chm_readers.h"

namespace chmbook::testing {
namespace {

using namespace std::string_literals;

// UTF-16 with its byte order mark, little- or big-endian.
std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

// Page text as a reader shows it: the five entities and numeric references decoded.
std::u16string Decoded(std::u16string_view html) {
    std::u16string text;
    for (std::size_t i = 0; i < html.size();) {
        const std::size_t end = html[i] == u'&' ? html.find(u';', i) : std::u16string_view::npos;
        if (end == std::u16string_view::npos) {
            text += html[i++];
            continue;
        }
        const std::u16string_view entity = html.substr(i + 1, end - i - 1);
        if (entity == u"amp") text += u'&';
        else if (entity == u"lt") text += u'<';
        else if (entity == u"gt") text += u'>';
        else if (entity == u"quot") text += u'"';
        else if (entity == u"nbsp") text += u'\u00A0';
        else if (entity.starts_with(u"#")) AppendUtf16(text, std::stoul(platform::ToUtf8(entity.substr(1))));
        else text += html.substr(i, end - i + 1);
        i = end + 1;
    }
    return text;
}

std::u16string Between(std::u16string_view page, std::u16string_view open, std::u16string_view close) {
    const std::size_t start = page.find(open);
    if (start == std::u16string_view::npos) return u"(missing)";
    const std::size_t end = page.find(close, start + open.size());
    return std::u16string(page.substr(start + open.size(), end - start - open.size()));
}

// The text of a content page's paragraphs, lines joined by CR LF.
std::u16string BodyText(std::u16string_view page) {
    std::u16string body = Between(page, u"</table><p>&nbsp;</p>\r\n<p>", u"</P>\r\n<table");
    std::u16string text;
    for (std::size_t rest = 0;;) {
        const std::size_t end = body.find(u"</P>\r\n<p>", rest);
        text += Decoded(std::u16string_view(body).substr(rest, end - rest));
        if (end == std::u16string::npos) break;
        text += u"\r\n";
        rest = end + 9;
    }
    return text;
}

struct Source {
    std::string fileName;
    std::string bytes;
    std::u16string title;  // as the page shows it
    std::u16string text;
};

class EncodingsBookTest : public BookTest {};

TEST_F(EncodingsBookTest, EveryPageShowsItsSourceTextAndName) {
    fs::copy_file(CHMBOOK_HHC, app_ / "hhc", fs::copy_options::overwrite_existing);
    const std::u16string world = u"\U0001F600 \U00020B9F \uD55C\uAD6D\uC5B4 \u65E5\u672C\u8A9E\u304B\u306A";
    const std::string worldUtf8 = "\xF0\x9F\x98\x80 \xF0\xA0\xAE\x9F \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 "
                                  "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\x8B\xE3\x81\xAA";
    const std::string gbkLine = "\xD6\xD0\xCE\xC4\xB2\xE2\xCA\xD4\xA3\xAC\xCB\xB5\xC3\xF7\xA1\xA3";
    const std::u16string gbkText = u"\u4E2D\u6587\u6D4B\u8BD5\uFF0C\u8BF4\u660E\u3002";
    std::vector<Source> sources = {
        {"utf8 mark.txt", "\xEF\xBB\xBF" "<a&b>\r\n" + worldUtf8, u"utf8 mark", u"<a&b>\r\n" + world},
        {"utf8.txt", worldUtf8 + "\r\nline 2", u"utf8", world + u"\r\nline 2"},
        {"le.txt", Utf16Bytes(world + u"\r\n\"q\"", false), u"le", world + u"\r\n\"q\""},
        {"be.txt", Utf16Bytes(u"\u4E2D" + world, true), u"be", u"\u4E2D" + world},
        {"gbk.txt", gbkLine + "\r\n" + gbkLine, u"gbk", gbkText + u"\r\n" + gbkText},
        {"gbk2.txt", "\xCB\xB5", u"gbk2", u"\u8BF4"},
        {"gbk4.txt", "\xD2\xBB\xD0\xA9", u"gbk4", u"\u4E00\u4E9B"},
#ifndef _WIN32
        {"a<script>.txt", "1", u"a<script>", u"1"},
        {"<!--.txt", "2", u"<!--", u"2"},
        {"<style.txt", "3", u"<style", u"3"},
        {"&.txt", "4", u"&", u"4"},
        {"\".txt", "5", u"\"", u"5"},
        {"\xCB\xB5\xC3\xF7.txt", "gbk name", u"\u8BF4\u660E", u"gbk name"},
#endif
        {"last.txt", "last", u"last", u"last"},
    };
    for (const Source& source : sources) {
        // The list holds names as the platform gives them, bytes that are not UTF-8 escaped.
        const fs::path path = sources_ / source.fileName;
        WriteBytes(path, source.bytes);
#ifdef _WIN32
        frm_.list1.push_back(U16(path));
#else
        frm_.list1.push_back(platform::FromUtf8(path.native()));
#endif
    }
    frm_.titleName = u"Book \U0001F600 <&>";
    frm_.file = OutputPathForTitle(frm_.appPath, frm_.titleName);
    frm_.paperTop = u"<b>\uD55C</b>";

    const BuildOutcome outcome = Build();
    ASSERT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_EQ(outcome.captionStandIns, u"\U0001F600");
    EXPECT_NE(outcome.StandInNote().find(u"\U0001F600"), std::u16string::npos);

    for (const test_support::ChmReader& reader : test_support::kChmReaders) {
        std::string problem;
        fs::create_directories(root_ / reader.name);
        const auto files = reader.extract(frm_.file, root_ / reader.name, &problem);
        ASSERT_TRUE(files) << reader.name << ": " << problem;
        const auto page = [&](const std::string& name) {
            return files->count(name) ? platform::AnsiToUnicode(files->at(name)) : u"(missing)";
        };
        const std::u16string index = page("/index.htm");
        EXPECT_EQ(Between(index, u"<TITLE>", u"</TITLE>"), u"Book &#128512; &lt;&amp;&gt;") << reader.name;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            const Source& source = sources[i];
            const std::u16string content = page("/" + std::to_string(i) + ".htm");
            SCOPED_TRACE(std::string(reader.name) + " " + source.fileName);
            EXPECT_EQ(BodyText(content), source.text);
            EXPECT_EQ(Decoded(Between(content, u"<TITLE>", u"</TITLE>")), source.title);
            EXPECT_EQ(Decoded(Between(content, u"<h1>", u"</h1>")), source.title);
            EXPECT_EQ(Between(content, u"'TitleDemo'>", u"</td>"), u"<b>&#54620;</b>");
            const std::u16string link = u"<a href='" + platform::FromUtf8(std::to_string(i)) + u".htm'>";
            EXPECT_EQ(Decoded(Between(index, link, u"</a>")), source.title);
            const std::u16string cell = Between(index, link, u"</p></td>");
            const std::u16string_view indent = u"</a></p><p class='bewrite'>&nbsp;&nbsp;&nbsp;&nbsp;";
            const std::size_t excerpt = cell.find(indent);
            ASSERT_NE(excerpt, std::u16string::npos);
            EXPECT_EQ(Decoded(std::u16string_view(cell).substr(excerpt + indent.size())), source.text);
        }
    }
}

TEST_F(BookTest, ChosenSourceEncodingReadsEveryFile) {
    struct Case {
        SourceEncoding encoding;
        std::string bytes;
        std::string paragraph;  // of the page, in code page 936
    };
    const Case cases[] = {
        {SourceEncoding::kAuto, "\xEF\xBB\xBF\xE4\xB8\xAD", "<p>\xD6\xD0</P>"},
        {SourceEncoding::kGbk, "\xEF\xBB\xBF\xE4\xB8\xAD", "<p>\xEF\xBB\xBF\xE4\xB8\xAD</P>"},
        {SourceEncoding::kUtf8, "\xD6\xD0", "<p>&#65533;&#65533;</P>"},
        {SourceEncoding::kUtf16, "-NA\0"s, "<p>\xD6\xD0" "A</P>"},
    };
    AddSource("a.txt", "");
    SetCompilerMode(app_, "ok snapshot");
    for (const Case& c : cases) {
        WriteBytes(sources_ / "a.txt", c.bytes);
        options_.sourceEncoding = c.encoding;
        ASSERT_TRUE(Build().produced);
        EXPECT_NE(ReadBytes(app_ / "seen" / "0.htm").find(c.paragraph), std::string::npos) << c.paragraph;
    }
}

}  // namespace
}  // namespace chmbook::testing
