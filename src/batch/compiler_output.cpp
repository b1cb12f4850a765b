#include "batch/compiler_output.h"

#include <string>

#include "platform/platform.h"

namespace chmbook {
namespace {

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        if (lead >= 0x80) {
            if ((lead & 0xE0) == 0xC0) extra = 1;
            else if ((lead & 0xF0) == 0xE0) extra = 2;
            else if ((lead & 0xF8) == 0xF0) extra = 3;
            else return false;
        }
        if (bytes.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace

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
    return IsValidUtf8(bytes) ? platform::FromUtf8(bytes) : platform::AnsiToUnicode(bytes);
}

}  // namespace chmbook
