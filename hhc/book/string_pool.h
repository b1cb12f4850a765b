#pragma once
// "/#STRINGS": the NUL-terminated ANSI strings that "#WINDOWS", "#TOPICS" and
// "#IDXHDR" point into. Offset 0 is an empty string meaning "none"; each
// distinct string is stored once; no string crosses a 4096-byte boundary,
// because readers load the file one 4 KiB block at a time.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace hhc::book {

class StringPool {
public:
    static constexpr std::size_t kBlockSize = 4096;

    explicit StringPool(std::uint32_t codePage);

    // Offset of `text` (cut to fit one block if it must); 0 for an empty text.
    std::uint32_t Add(std::string_view text);

    const std::string& bytes() const { return bytes_; }

private:
    std::uint32_t codePage_;
    std::string bytes_;
    std::unordered_map<std::string, std::uint32_t> offsets_;
};

}  // namespace hhc::book
