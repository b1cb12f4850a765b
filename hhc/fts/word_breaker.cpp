#include "fts/word_breaker.h"

#include "fts/page_text.h"

namespace hhc::fts {
namespace {

bool IsDigit(std::uint8_t b) { return b >= '0' && b <= '9'; }

// Letters of the Windows single-byte code pages above 0x7F: 0xC0-0xFF except
// the multiplication and division signs of code page 1252, and the few
// letters 1252 keeps in 0x8A-0x9F.
bool IsHighLetter(std::uint8_t b) {
    if (b >= 0xC0) return b != 0xD7 && b != 0xF7;
    return b == 0x8A || b == 0x8C || b == 0x8E || b == 0x9A || b == 0x9C || b == 0x9E || b == 0x9F;
}

std::uint8_t FoldHighLetter(std::uint8_t b) {
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<std::uint8_t>(b + 0x20);
    if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<std::uint8_t>(b + 0x10);
    if (b == 0x9F) return 0xFF;
    return b;
}

}  // namespace

WordBreaker::WordBreaker(CodePage& codePage, std::string_view text, std::uint32_t firstPosition)
    : cp_(codePage), text_(text), position_(firstPosition), ideographicSpace_(codePage.Encode(0x3000)) {
    bool doubleByte = false;
    for (int b = 0; b < 256; ++b) doubleByte = doubleByte || cp_.IsLeadByte(static_cast<std::uint8_t>(b));
    for (int b = 0; b < 256; ++b) {
        auto u = static_cast<std::uint8_t>(b);
        fold_[b] = u;
        if ((u >= 'a' && u <= 'z') || IsDigit(u) || u == '_') wordByte_[b] = true;
        if (u >= 'A' && u <= 'Z') {
            wordByte_[b] = true;
            fold_[b] = static_cast<std::uint8_t>(u + 32);
        }
        if (!doubleByte && IsHighLetter(u)) {
            wordByte_[b] = true;
            fold_[b] = FoldHighLetter(u);
        }
    }
}

bool WordBreaker::IsIdeographicSpace(std::size_t at) const {
    return ideographicSpace_.size() == 2 && text_[at] == ideographicSpace_[0] && text_[at + 1] == ideographicSpace_[1];
}

bool WordBreaker::Next(IndexWord& word) {
    while (pos_ < text_.size()) {
        auto b = static_cast<std::uint8_t>(text_[pos_]);
        if (text_[pos_] == kBlockBreak) {
            gapPending_ = true;
            ++pos_;
            continue;
        }
        if (text_[pos_] == kUnwritable) {
            ++position_;
            ++pos_;
            continue;
        }
        std::size_t start = pos_;
        if (cp_.IsLeadByte(b) && pos_ + 1 < text_.size() &&
            cp_.IsTrailByte(static_cast<std::uint8_t>(text_[pos_ + 1]))) {
            pos_ += 2;
            if (IsIdeographicSpace(start)) continue;
            word.bytes = text_.substr(start, 2);
        } else if (IsWordByte(b)) {
            ReadLatinWord();
            if (word_.size() > kMaxWordBytes) {
                ++position_;
                continue;
            }
            word.bytes = word_;
        } else {
            ++pos_;
            continue;
        }
        if (gapPending_) {
            ++position_;
            gapPending_ = false;
        }
        word.position = position_++;
        return true;
    }
    return false;
}

void WordBreaker::ReadLatinWord() {
    word_.clear();
    bool numeric = IsDigit(static_cast<std::uint8_t>(text_[pos_]));
    while (pos_ < text_.size()) {
        auto b = static_cast<std::uint8_t>(text_[pos_]);
        if (IsWordByte(b)) {
            word_.push_back(static_cast<char>(fold_[b]));
            ++pos_;
            continue;
        }
        if (pos_ + 1 >= text_.size()) break;
        auto next = static_cast<std::uint8_t>(text_[pos_ + 1]);
        if (b == '\'' && IsWordByte(next)) {
            ++pos_;
        } else if (numeric && b == ',' && IsDigit(next)) {
            ++pos_;
        } else if (numeric && b == '.' && IsDigit(next)) {
            word_.push_back('.');
            ++pos_;
        } else {
            break;
        }
    }
}

}  // namespace hhc::fts
