// What of a page the search index holds: the title as the topic table stores
// it (decoded, in the book's code page), the searchable text (block breaks
// shown as '|', references decoded, characters the code page cannot hold
// marked), and how that text becomes index words and positions.
#include <gtest/gtest.h>

#include <algorithm>

#include "fts/code_page.h"
#include "fts/page_text.h"
#include "fts/page_title.h"
#include "fts/word_breaker.h"

namespace {

const std::string kUtf8Meta = "<meta charset=\"utf-8\">";

// (The Sphinx book has numeric references and stand-ins in a Chinese book, the
// book build's project undeclared pages in the book's code page, the authored
// project a UTF-8 page in a code page 1252 book.)
TEST(BookTitle, DecodesReferencesAndCharsetsIntoTheBooksCodePage) {
    const struct {
        const char* what;
        std::uint32_t bookCodePage;
        std::string html, title;  // the title in the book's code page
    } cases[] = {
        {"named references", 1252, "<title>&lt;x&gt; &quot;q&quot; caf&eacute; &euro;5</title>",
         "<x> \"q\" caf\xE9 \x80"
         "5"},
        {"unknown or broken references stay", 1252, "<title>&bogus; &#; a&b &lt</title>", "&bogus; &#; a&b <"},
        {"a UTF-8 byte order mark declares UTF-8", 1252, "\xEF\xBB\xBF<title>\xC3\xA9t\xC3\xA9</title>", "\xE9t\xE9"},
        {"a character outside GBK", 936, "<title>&#128512; smile</title>", "? smile"},
        {"letters the code page lacks lose their accent", 1252,
         kUtf8Meta + "<title>\xC5\x81\xC3\xB3\x64\xC5\xBA</title>",
         "L\xF3"
         "dz"},
        {"invalid bytes are kept", 1252, kUtf8Meta + "<title>caf\xE9</title>", "caf\xE9"},
        {"blanks collapse", 1252, "<TITLE>\r\n  A \t&amp;\n B </TITLE>", "A & B"},
        {"the first title element", 1252, "<titlebar>x</titlebar><title lang=en>y</title><title>z</title>", "y"},
        {"no title", 1252, "<p>no title</p>", ""},
    };
    for (const auto& c : cases) {
        hhc::fts::CodePage book(c.bookCodePage);
        EXPECT_EQ(hhc::fts::BookTitle(c.html, book), c.title) << c.what;
    }
}

TEST(PageText, TitleAndBodyTextOnly) {
    const struct {
        std::string html, title, body;
    } cases[] = {
        {"<body>a<script type='x'>if (a < b) hidden();</SCRIPT >b<style>p { x }</style>c<!-- gone -->d"
         "<img alt='no' src=\"x>y\">e<b>f</b><br>g<!DOCTYPE html></body>",
         "", "abcdefg|"},
        {"<p>one</p><p>two<br>three<span>four</span></p><td>five</td>", "", "one|twothreefour|five|"},
        {"<p>&lt;a&gt; &amp;amp; &#20013;&#x6587;&nbsp;&quot;&copy&unknown; &#65;</p>", "",
         "<a> &amp; \xD6\xD0\xCE\xC4 \"&copy&unknown; A|"},
        {"<p>x&#x1F600;y&#0;z</p>", "", "x\x01y\x01z|"},
        // A lead byte followed by markup or by a byte that cannot trail is broken.
        {"<p>\xD6\xD0\xB0<b>\xD0</b>\x81\x41</p>", "", "\xD6\xD0\x01\x01\x81\x41|"},
        {"<p>a<script>b", "", "a"},  // unclosed scripts and comments hide the rest
        {"<html><head><meta charset=\"UTF-8\"><title>\xE4\xB8\xAD</title></head>"
         "<body><p>\xE4\xB8\xAD\xE6\x96\x87 x\xF0\x9F\x98\x80y \xFF</p></body></html>",
         "\xD6\xD0", "\xD6\xD0\xCE\xC4 x\x01y \x01|"},
    };
    hhc::fts::CodePage cp(936);
    for (const auto& c : cases) {
        const auto text = hhc::fts::ExtractPageText(c.html, cp);
        std::string body = text.body;
        std::replace(body.begin(), body.end(), hhc::fts::kBlockBreak, '|');
        EXPECT_EQ(text.title, c.title) << c.html;
        EXPECT_EQ(body, c.body) << c.html;
    }
}

using Words = std::vector<std::pair<std::string, std::uint32_t>>;

TEST(WordBreaker, WordsAndTheirPositions) {
    const std::string blocks =
        std::string("a") + hhc::fts::kBlockBreak + hhc::fts::kBlockBreak + "b" + hhc::fts::kUnwritable + "c";
    const struct {
        std::string text;
        Words words;
        std::uint32_t codePage = 936;
    } cases[] = {
        // Latin words lower-cased; separators take no position.
        {"isn't 3.14 4,294,967,296 0.43.02 end. x.y 'quoted'",
         {{"isnt", 0}, {"3.14", 1}, {"4294967296", 2}, {"0.43.02", 3}, {"end", 4}, {"x", 5}, {"y", 6}, {"quoted", 7}}},
        // Every double-byte character is a word of its own: 中文 Win+M 和。
        {"\xD6\xD0\xCE\xC4Win+M \xBA\xCD\xA1\xA3",
         {{"\xD6\xD0", 0}, {"\xCE\xC4", 1}, {"win", 2}, {"m", 3}, {"\xBA\xCD", 4}, {"\xA1\xA3", 5}}},
        // Line breaks and ideographic spaces keep characters adjacent.
        {"\xD6\xD0\r\n\xCE\xC4\xA1\xA1\xBA\xCD", {{"\xD6\xD0", 0}, {"\xCE\xC4", 1}, {"\xBA\xCD", 2}}},
        {blocks, {{"a", 0}, {"b", 2}, {"c", 4}}},  // a block break leaves one position empty
        {std::string(100, 'x') + " " + std::string(99, 'y') + " z", {{std::string(99, 'y'), 1}, {"z", 2}}},
        {"Caf\xC9 na\xEFve", {{"caf\xE9", 0}, {"na\xEFve", 1}}, 1252},
    };
    for (const auto& c : cases) {
        hhc::fts::CodePage cp(c.codePage);
        hhc::fts::WordBreaker breaker(cp, c.text, 0);
        Words words;
        hhc::fts::IndexWord w;
        while (breaker.Next(w)) words.emplace_back(std::string(w.bytes), w.position);
        EXPECT_EQ(words, c.words) << c.text;
    }
}

}  // namespace
