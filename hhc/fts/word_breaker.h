#pragma once
// Cuts extracted page text into index words and numbers them.
//
// - ASCII letters, digits and '_' make words; ASCII letters are lower-cased.
//   An apostrophe inside a word is dropped ("isn't" -> "isnt"); in a word that
//   starts with a digit, '.' before a digit is kept and ',' before a digit is
//   dropped ("3.14", "4,294" -> "4294").
// - Every double-byte character is a word of its own, stored as its two
//   code-page bytes untouched (trail bytes are never case-folded).
// - In single-byte code pages, bytes of letters above 0x7F belong to words.
// - Everything else separates words and takes no position, except that a
//   character the code page could not hold takes one position, and a block
//   break leaves one position empty so that no phrase spans two paragraphs.
#include <cstdint>
#include <string>
#include <string_view>

#include "fts/code_page.h"

namespace hhc::fts {

// Words longer than this are not indexed (they still take a position).
inline constexpr std::size_t kMaxWordBytes = 99;

struct IndexWord {
    std::string_view bytes;  // valid until the next call of Next()
    std::uint32_t position;
};

class WordBreaker {
public:
    // `codePage` must outlive the breaker. Positions start at `firstPosition`.
    WordBreaker(CodePage& codePage, std::string_view text, std::uint32_t firstPosition);

    // The next word, or false at the end of the text.
    bool Next(IndexWord& word);

    // The first position after everything consumed so far.
    std::uint32_t nextPosition() const { return position_; }

private:
    bool IsWordByte(std::uint8_t b) const { return wordByte_[b]; }
    void ReadLatinWord();
    bool IsIdeographicSpace(std::size_t at) const;

    CodePage& cp_;
    std::string_view text_;
    std::size_t pos_ = 0;
    std::uint32_t position_;
    bool gapPending_ = false;
    bool wordByte_[256] = {};
    std::uint8_t fold_[256] = {};
    std::string ideographicSpace_;
    std::string word_;
};

}  // namespace hhc::fts
