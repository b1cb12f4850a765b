#pragma once
// The book's ANSI code page: which one a language implies, where its
// double-byte characters are, and conversion of names to and from UTF-8
// (directory names in a book are UTF-8, strings in its tables are ANSI).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hhc::project {

// 936 for 0x0804, 950 for 0x0404, 932 for 0x0411, 1252 for 0x0409, ...
std::uint32_t CodePageForLcid(std::uint32_t lcid);

bool IsDoubleByteCodePage(std::uint32_t codePage);

// True when `byte` starts a two-byte character in `codePage`.
bool IsLeadByte(std::uint32_t codePage, unsigned char byte);

// "\" and "/" both separate folders in a project; the book uses "/". A "\"
// that is the second byte of a double-byte character is left alone.
std::string NormalizeSeparators(std::string_view path, std::uint32_t codePage);

// Cuts `text` to at most `maxBytes` without splitting a double-byte character.
std::string_view TruncateText(std::string_view text, std::size_t maxBytes, std::uint32_t codePage);

bool IsValidUtf8(std::string_view text);
bool IsAscii(std::string_view text);

// nullopt when the bytes are not valid in the source encoding.
std::optional<std::string> AnsiToUtf8(std::string_view text, std::uint32_t codePage);
std::optional<std::string> Utf8ToAnsi(std::string_view text, std::uint32_t codePage);

}  // namespace hhc::project
