#pragma once
// The book's ANSI code page as the index sees it: which bytes start a
// double-byte character, which bytes may follow them, and how a Unicode
// character (from a numeric or named entity) is written in it.
#include <cstdint>
#include <string>
#include <unordered_map>

namespace hhc::fts {

class CodePage {
public:
    explicit CodePage(std::uint32_t number);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    std::uint32_t number() const { return number_; }
    bool IsLeadByte(std::uint8_t b) const { return lead_[b]; }
    bool IsTrailByte(std::uint8_t b) const { return trail_[b]; }

    // The bytes of `codePoint` in this code page, or an empty string when the
    // code page has no such character.
    std::string Encode(char32_t codePoint);

private:
    std::string EncodeUncached(char32_t codePoint);

    std::uint32_t number_;
    bool lead_[256] = {};
    bool trail_[256] = {};
    std::unordered_map<char32_t, std::string> cache_;
};

}  // namespace hhc::fts
