#pragma once
// The character set a page declares for itself: a UTF-8 byte order mark, or a
// <meta charset=...> / <meta http-equiv="Content-Type" content="...; charset=...">
// near its start, as Windows code page numbers (65001 for UTF-8).
#include <cstdint>
#include <optional>
#include <string_view>

namespace hhc::html {

// The Windows code page of a charset label ("utf-8", "gb2312", "cp1252",
// "windows-1251", "iso-8859-2", "shift_jis", ...), case ignored; nullopt
// for a label it does not know. Labels mean what browsers take them to mean:
// "gb2312" is GBK (936), "iso-8859-1" and "us-ascii" are code page 1252.
std::optional<std::uint32_t> CodePageOfCharset(std::string_view label);

// The code page the page declares within its first 4 KiB, or nullopt.
std::optional<std::uint32_t> DeclaredCodePage(std::string_view html);

}  // namespace hhc::html
