// What text of a page is searchable: the title, and the body's text with
// block breaks ('|' here), references decoded into the code page and
// characters it cannot hold marked.
#include <gtest/gtest.h>

#include "fts/code_page.h"
#include "fts/page_text.h"

namespace {

TEST(PageText, TitleAndBodyTextOnly) {
    const struct {
        std::string html, title, body;
    } cases[] = {
        {"<HTML><HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'><TITLE>My Title</TITLE>"
         "\r\nbody { color: red }\r\n</HEAD><BODY><p>Hello</P></body></html>",
         "My Title", "Hello|"},
        {"<body>a<script type='x'>if (a < b) hidden();</SCRIPT >b<style>p { x }</style>c<!-- gone -->d"
         "<img alt='no' src=\"x>y\">e<b>f</b><br>g<!DOCTYPE html></body>",
         "", "abcdefg|"},
        {"<p>one</p><p>two<br>three<span>four</span></p><td>five</td>", "", "one|twothreefour|five|"},
        {"<p>&lt;a&gt; &amp;amp; &#20013;&#x6587;&nbsp;&quot;&copy&unknown; &#65;</p>", "",
         "<a> &amp; \xD6\xD0\xCE\xC4 \"&copy&unknown; A|"},
        {"<p>x&#x1F600;y&#0;z</p>", "", "x\x01y\x01z|"},
        // A lead byte followed by markup or by a byte that cannot trail is broken.
        {"<p>\xD6\xD0\xB0<b>\xD0</b>\x81\x41</p>", "", "\xD6\xD0\x01\x01\x81\x41|"},
        {"plain words", "", "plain words"},
        {"<p>a<!-- b", "", "a"},
        {"<p>a<script>b", "", "a"},
        {"<html><head><meta charset=\"UTF-8\"><title>\xE4\xB8\xAD</title></head>"
         "<body><p>\xE4\xB8\xAD\xE6\x96\x87 x\xF0\x9F\x98\x80y \xFF</p></body></html>",
         "\xD6\xD0", "\xD6\xD0\xCE\xC4 x\x01y \x01|"},
        {"<html><head><meta http-equiv='Content-Type' content='text/html; charset=gb2312'></head>"
         "<body><p>charset=utf-8 \xD6\xD0</p></body></html>",
         "", "charset=utf-8 \xD6\xD0|"},  // only a meta tag declares UTF-8
        {"<html><head><title>T</title>css text<p>shown</p></html>", "T", "shown|"},
    };
    hhc::fts::CodePage cp(936);
    for (const auto& c : cases) {
        const auto text = hhc::fts::ExtractPageText(c.html, cp);
        std::string body = text.body;
        for (char& ch : body)
            if (ch == hhc::fts::kBlockBreak) ch = '|';
        EXPECT_EQ(text.title, c.title) << c.html;
        EXPECT_EQ(body, c.body) << c.html;
    }
}

}  // namespace
