// What text of a page is searchable.
#include <gtest/gtest.h>

#include "fts/code_page.h"
#include "fts/page_text.h"

namespace {

using hhc::fts::CodePage;
using hhc::fts::ExtractPageText;

std::string Readable(std::string s) {
    for (char& c : s)
        if (c == hhc::fts::kBlockBreak) c = '|';
    return s;
}

TEST(PageText, TakesTheTitleAndTheBodyButNothingElseOfTheHead) {
    CodePage cp(936);
    auto text = ExtractPageText(
        "<HTML><HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>"
        "<TITLE>My Title</TITLE>\r\nbody { color: red }\r\n</HEAD><BODY><p>Hello</P></body></html>",
        cp);
    EXPECT_EQ(text.title, "My Title");
    EXPECT_EQ(Readable(text.body), "Hello|");
}

TEST(PageText, DropsScriptsStylesCommentsAndTags) {
    CodePage cp(936);
    auto text = ExtractPageText(
        "<body>a<script type='x'>if (a < b) hidden();</SCRIPT >b<style>p { x }</style>c<!-- gone -->d"
        "<img alt='no' src=\"x>y\">e<b>f</b><br>g<!DOCTYPE html></body>",
        cp);
    EXPECT_EQ(Readable(text.body), "abcdefg|");
}

TEST(PageText, BlockElementsBreakTheTextButInlineOnesDoNot) {
    CodePage cp(936);
    auto text = ExtractPageText("<p>one</p><p>two<br>three<span>four</span></p><td>five</td>", cp);
    EXPECT_EQ(Readable(text.body), "one|twothreefour|five|");
}

TEST(PageText, DecodesNamedAndNumericReferencesIntoTheCodePage) {
    CodePage cp(936);
    auto text = ExtractPageText("<p>&lt;a&gt; &amp;amp; &#20013;&#x6587;&nbsp;&quot;&copy&unknown; &#65;</p>", cp);
    EXPECT_EQ(Readable(text.body), "<a> &amp; \xD6\xD0\xCE\xC4 \"&copy&unknown; A|");
}

TEST(PageText, MarksCharactersTheCodePageCannotHold) {
    CodePage cp(936);
    auto text = ExtractPageText("<p>x&#x1F600;y&#0;z</p>", cp);
    EXPECT_EQ(text.body, std::string("x\x01y\x01z\0", 6));
}

TEST(PageText, KeepsDoubleByteCharactersWholeAndMarksBrokenOnes) {
    CodePage cp(936);
    // 0xD6 0xD0 is one character; a lead byte followed by markup is broken.
    auto text = ExtractPageText(std::string("<p>\xD6\xD0\xB0<b>\xD0</b>\x81\x41</p>"), cp);
    EXPECT_EQ(Readable(text.body), std::string("\xD6\xD0\x01\x01\x81\x41|"));
}

TEST(PageText, TextWithoutHeadOrBodyTagsIsBody) {
    CodePage cp(936);
    auto text = ExtractPageText("plain words", cp);
    EXPECT_EQ(text.body, "plain words");
    EXPECT_TRUE(text.title.empty());
}

TEST(PageText, UnterminatedCommentOrScriptEndsTheText) {
    CodePage cp(936);
    EXPECT_EQ(Readable(ExtractPageText("<p>a<!-- b", cp).body), "a");
    EXPECT_EQ(Readable(ExtractPageText("<p>a<script>b", cp).body), "a");
}

}  // namespace

namespace {

TEST(PageText, Utf8PagesAreConvertedIntoTheBooksCodePage) {
    hhc::fts::CodePage cp(936);
    auto text = hhc::fts::ExtractPageText(
        "<html><head><meta charset=\"UTF-8\"><title>\xE4\xB8\xAD</title></head>"
        "<body><p>\xE4\xB8\xAD\xE6\x96\x87 x\xF0\x9F\x98\x80y \xFF</p></body></html>",
        cp);
    EXPECT_EQ(text.title, "\xD6\xD0");
    EXPECT_EQ(text.body, std::string("\xD6\xD0\xCE\xC4 x\x01y \x01\0", 11));
}

}  // namespace

namespace {

TEST(PageText, OnlyAMetaTagDeclaresUtf8) {
    hhc::fts::CodePage cp(936);
    auto text = hhc::fts::ExtractPageText(
        "<html><head><meta http-equiv='Content-Type' content='text/html; charset=gb2312'></head>"
        "<body><p>charset=utf-8 \xD6\xD0</p></body></html>",
        cp);
    EXPECT_EQ(text.body, std::string("charset=utf-8 \xD6\xD0\0", 17));
}

}  // namespace

namespace {

TEST(PageText, AHeadWithoutItsEndTagEndsAtTheFirstBodyElement) {
    hhc::fts::CodePage cp(936);
    auto text = hhc::fts::ExtractPageText("<html><head><title>T</title>css text<p>shown</p></html>", cp);
    EXPECT_EQ(text.title, "T");
    EXPECT_EQ(text.body, std::string("shown\0", 6));
}

}  // namespace
