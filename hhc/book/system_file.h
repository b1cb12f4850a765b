#pragma once
// "/#SYSTEM": the book's settings as (code, length, data) records after a
// version DWORD. Strings are ANSI, NUL-terminated, the NUL counted.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hhc::book {

struct SystemSettings {
    bool compatibility10 = false;
    std::uint32_t lcid = 0x0409;
    bool fullTextSearch = false;
    std::int64_t compileTime = 0;  // Unix seconds
    std::optional<std::string> contentsFile;   // code 0
    std::optional<std::string> indexFile;      // code 1
    std::optional<std::string> defaultTopic;   // code 2
    std::optional<std::string> title;          // code 3
    std::optional<std::string> defaultWindow;  // code 5
    std::string compiledFileStem;              // code 6, lower case
    std::optional<std::string> defaultFont;    // code 16
    std::string indexHeader;                   // code 13, the bytes of #IDXHDR
};

inline constexpr std::string_view kCompilerName = "chmbook hhc 1.0";

std::string BuildSystemFile(const SystemSettings& settings);

}  // namespace hhc::book
