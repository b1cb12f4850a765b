#pragma once
// Small byte-string helpers shared by the project reader and the link scanner.
// All text here is raw bytes in the book's ANSI code page; only ASCII letters
// are folded, so double-byte characters pass through untouched.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hhc::project {

inline char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view Trim(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// Decimal or 0x-hexadecimal number, optionally negative; nullopt when the
// text is not one number or does not fit in 32 bits.
std::optional<std::int64_t> ParseNumber(std::string_view text);

}  // namespace hhc::project
