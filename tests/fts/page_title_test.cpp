// Titles as the topic table stores them: decoded, in the book's code page.
#include <gtest/gtest.h>

#include "fts/code_page.h"
#include "fts/page_title.h"

namespace {

using hhc::fts::BookTitle;
using hhc::fts::CodePage;

struct TitleCase {
    const char* what;
    std::uint32_t bookCodePage;
    std::string html;
    std::string title;  // bytes in the book's code page
};

const std::string kUtf8Meta = "<meta charset=\"utf-8\">";
const std::string kUtf8HttpEquiv = "<META http-equiv='Content-Type' content='text/html; charset=UTF-8'>";

const TitleCase kTitleCases[] = {
    {"an escaped file name", 1252, "<TITLE>A&amp;B</TITLE>", "A&B"},
    {"named references", 1252, "<title>&lt;x&gt; &quot;q&quot; caf&eacute; &euro;5</title>", "<x> \"q\" caf\xE9 \x80" "5"},
    {"numeric references", 1252, "<title>Index &#8212; Python &#x2019;s</title>", "Index \x97 Python \x92s"},
    {"references in a Chinese book", 936, "<title>&#20013;&#x6587; &mdash;</title>", "\xD6\xD0\xCE\xC4 \xA1\xAA"},
    {"unknown or broken references stay", 1252, "<title>&bogus; &#; a&b &lt</title>", "&bogus; &#; a&b <"},
    {"a UTF-8 page in a 1252 book", 1252, kUtf8Meta + "<title>What\xE2\x80\x99s New</title>", "What\x92s New"},
    {"a UTF-8 page in a 936 book", 936, kUtf8HttpEquiv + "<title>\xE4\xB8\xAD\xE6\x96\x87</title>", "\xD6\xD0\xCE\xC4"},
    {"a GB2312 page in a 936 book", 936,
     "<meta http-equiv=Content-Type content=\"text/html; charset=gb2312\"><title>\xB2\xE2\xCA\xD4</title>",
     "\xB2\xE2\xCA\xD4"},
    {"an undeclared page is in the book's code page", 936, "<title>\xB2\xE2\xCA\xD4 &amp; x</title>",
     "\xB2\xE2\xCA\xD4 & x"},
    {"a UTF-8 byte order mark declares UTF-8", 1252, "\xEF\xBB\xBF<title>\xC3\xA9t\xC3\xA9</title>", "\xE9t\xE9"},
    {"a character outside GBK", 936, "<title>&#128512; smile</title>", "? smile"},
    {"letters the code page lacks lose their accent", 1252, kUtf8Meta + "<title>\xC5\x81\xC3\xB3\x64\xC5\xBA</title>",
     "L\xF3" "dz"},
    {"stand-ins in a Chinese book", 936, "<title>M&ouml;bius &szlig;</title>", "Mobius s"},
    {"full-width forms in a Latin book", 1252, "<title>&#xFF21;&#x3000;&#x2212;1</title>", "A -1"},
    {"invalid bytes are kept", 1252, kUtf8Meta + "<title>caf\xE9</title>", "caf\xE9"},
    {"blanks collapse", 1252, "<TITLE>\r\n  A \t&amp;\n B </TITLE>", "A & B"},
    {"the first title element", 1252, "<titlebar>x</titlebar><title lang=en>y</title><title>z</title>", "y"},
    {"no end tag", 1252, "<title>no end", "no end"},
    {"no title", 1252, "<p>no title</p>", ""},
};

TEST(BookTitle, DecodesReferencesAndCharsetsIntoTheBooksCodePage) {
    for (const TitleCase& c : kTitleCases) {
        CodePage book(c.bookCodePage);
        EXPECT_EQ(BookTitle(c.html, book), c.title) << c.what;
    }
}

}  // namespace
