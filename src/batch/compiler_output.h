#pragma once
// What the help compiler printed, for a failure message.
#include <cstddef>
#include <string>

namespace chmbook {

// How much of the compiler's output a failure message quotes.
inline constexpr std::size_t kQuotedOutputLines = 6;
inline constexpr std::size_t kQuotedOutputBytes = 600;

// The last lines (at most kQuotedOutputLines, from the last kQuotedOutputBytes
// bytes) of the file that caught the compiler's output, lines separated by LF;
// empty when it wrote nothing. Output in UTF-8 is decoded as such, any other
// as the ANSI code page.
std::u16string CompilerOutputTail(const std::u16string& logPath);

}  // namespace chmbook
