// How page text becomes index words and positions.
#include <gtest/gtest.h>

#include "fts/code_page.h"
#include "fts/page_text.h"
#include "fts/word_breaker.h"

namespace {

using hhc::fts::CodePage;
using hhc::fts::IndexWord;
using hhc::fts::WordBreaker;

std::vector<std::pair<std::string, std::uint32_t>> Break(std::string_view text, std::uint32_t codePage = 936) {
    CodePage cp(codePage);
    WordBreaker breaker(cp, text, 0);
    std::vector<std::pair<std::string, std::uint32_t>> out;
    IndexWord w;
    while (breaker.Next(w)) out.emplace_back(std::string(w.bytes), w.position);
    return out;
}

using Words = std::vector<std::pair<std::string, std::uint32_t>>;

TEST(WordBreaker, LatinWordsAreLowerCasedAndSeparatorsTakeNoPosition) {
    EXPECT_EQ(Break("Hello, World!  foo_bar\tX2"),
              (Words{{"hello", 0}, {"world", 1}, {"foo_bar", 2}, {"x2", 3}}));
}

TEST(WordBreaker, ApostrophesAndNumberPunctuationFollowTheIndexRules) {
    EXPECT_EQ(Break("isn't 3.14 4,294,967,296 0.43.02 end. x.y 'quoted'"),
              (Words{{"isnt", 0}, {"3.14", 1}, {"4294967296", 2}, {"0.43.02", 3}, {"end", 4}, {"x", 5},
                     {"y", 6}, {"quoted", 7}}));
}

TEST(WordBreaker, EveryDoubleByteCharacterIsAWordWithItsOwnPosition) {
    // 中文 + "Win+M" + 和, then a full-width full stop.
    EXPECT_EQ(Break("\xD6\xD0\xCE\xC4Win+M \xBA\xCD\xA1\xA3"),
              (Words{{"\xD6\xD0", 0}, {"\xCE\xC4", 1}, {"win", 2}, {"m", 3}, {"\xBA\xCD", 4}, {"\xA1\xA3", 5}}));
}

TEST(WordBreaker, TrailBytesAreNeverCaseFolded) {
    // 0xA8 0x43: the trail byte is the code of "C".
    EXPECT_EQ(Break("\xA8\x43\x81\x5A"), (Words{{"\xA8\x43", 0}, {"\x81\x5A", 1}}));
}

TEST(WordBreaker, LineBreaksAndIdeographicSpacesKeepCharactersAdjacent) {
    EXPECT_EQ(Break("\xD6\xD0\r\n\xCE\xC4\xA1\xA1\xBA\xCD"),
              (Words{{"\xD6\xD0", 0}, {"\xCE\xC4", 1}, {"\xBA\xCD", 2}}));
}

TEST(WordBreaker, BlockBreaksLeaveOnePositionEmpty) {
    std::string text = std::string("a") + hhc::fts::kBlockBreak + hhc::fts::kBlockBreak + "b" +
                       hhc::fts::kUnwritable + "c";
    EXPECT_EQ(Break(text), (Words{{"a", 0}, {"b", 2}, {"c", 4}}));
}

TEST(WordBreaker, OverlongWordsAreSkippedButTakeTheirPosition) {
    std::string text = std::string(100, 'x') + " " + std::string(99, 'y') + " z";
    EXPECT_EQ(Break(text), (Words{{std::string(99, 'y'), 1}, {"z", 2}}));
}

TEST(WordBreaker, SingleByteCodePagesKeepAccentedLettersInWords) {
    EXPECT_EQ(Break("Caf\xC9 na\xEFve", 1252), (Words{{"caf\xE9", 0}, {"na\xEFve", 1}}));
}

}  // namespace
