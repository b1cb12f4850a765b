// How page text becomes index words and positions.
#include <gtest/gtest.h>

#include "fts/code_page.h"
#include "fts/page_text.h"
#include "fts/word_breaker.h"

namespace {

using Words = std::vector<std::pair<std::string, std::uint32_t>>;

TEST(WordBreaker, WordsAndTheirPositions) {
    const std::string blocks = std::string("a") + hhc::fts::kBlockBreak + hhc::fts::kBlockBreak + "b" +
                               hhc::fts::kUnwritable + "c";
    const struct {
        std::string text;
        Words words;
        std::uint32_t codePage = 936;
    } cases[] = {
        // Latin words lower-cased; separators take no position.
        {"Hello, World!  foo_bar\tX2", {{"hello", 0}, {"world", 1}, {"foo_bar", 2}, {"x2", 3}}},
        {"isn't 3.14 4,294,967,296 0.43.02 end. x.y 'quoted'",
         {{"isnt", 0}, {"3.14", 1}, {"4294967296", 2}, {"0.43.02", 3}, {"end", 4}, {"x", 5}, {"y", 6}, {"quoted", 7}}},
        // Every double-byte character is a word of its own: 中文 Win+M 和。
        {"\xD6\xD0\xCE\xC4Win+M \xBA\xCD\xA1\xA3",
         {{"\xD6\xD0", 0}, {"\xCE\xC4", 1}, {"win", 2}, {"m", 3}, {"\xBA\xCD", 4}, {"\xA1\xA3", 5}}},
        {"\xA8\x43\x81\x5A", {{"\xA8\x43", 0}, {"\x81\x5A", 1}}},  // trail bytes are never case-folded
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
