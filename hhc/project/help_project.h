#pragma once
// The .hhp project file: an INI-like text in the book's ANSI code page.
// Everything is kept as bytes in that code page, paths as written (they may
// use "\" or "/"; see NormalizeSeparators in code_page.h).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/window_definition.h"

namespace hhc::project {

inline constexpr std::uint32_t kDefaultLcid = 0x0409;

struct HelpProject {
    std::optional<std::string> compiledFile;
    std::optional<std::string> contentsFile;
    std::optional<std::string> indexFile;
    std::optional<std::string> defaultWindow;
    std::optional<std::string> defaultTopic;
    std::optional<std::string> defaultFont;
    std::optional<std::string> title;
    std::optional<std::string> stopListFile;  // "Full text search stop list file"
    std::uint32_t lcid = kDefaultLcid;
    bool displayProgress = false;
    bool fullTextSearch = false;
    bool compatibility10 = false;  // "Compatibility=1.0"; anything else is 1.1 or later

    std::vector<WindowDefinition> windows;
    std::vector<std::string> files;  // [FILES] in order, relative to the project folder

    // Lines that were understood only in part or not at all, and options and
    // sections the compiler does not honour (each named once); reading never
    // fails.
    std::vector<std::string> warnings;

    // The window named by "Default Window", else nullptr.
    const WindowDefinition* FindDefaultWindow() const;
};

HelpProject ReadHelpProject(std::string_view text);

}  // namespace hhc::project
