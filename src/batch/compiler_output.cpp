#include "batch/compiler_output.h"

#include <string>

#include "platform/platform.h"

namespace chmbook {

std::u16string CompilerOutputTail(const std::u16string& logPath) {
    std::string bytes;
    if (!platform::ReadWholeFile(logPath, bytes)) return {};
    if (bytes.size() > kQuotedOutputBytes) {
        // Start at a line of its own rather than inside a character.
        bytes.erase(0, bytes.size() - kQuotedOutputBytes);
        const std::size_t lineEnd = bytes.find('\n');
        bytes.erase(0, lineEnd == std::string::npos ? 0 : lineEnd + 1);
    }
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r' || bytes.back() == ' ')) bytes.pop_back();
    std::size_t start = bytes.size();
    for (std::size_t lines = 0; start > 0; --start) {
        if (bytes[start - 1] == '\n' && ++lines == kQuotedOutputLines) break;
    }
    bytes.erase(0, start);
    std::erase(bytes, '\r');
    // Our compiler writes UTF-8; a compiler of the system writes the ANSI code page.
    return platform::IsValidUtf8(bytes) ? platform::FromUtf8(bytes) : platform::AnsiToUnicode(bytes);
}

}  // namespace chmbook
