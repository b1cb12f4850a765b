#pragma once
// "/#WINDOWS": the project's window types as HH_WINTYPE records whose string
// pointers are offsets into "/#STRINGS".
#include <string>
#include <vector>

#include "book/string_pool.h"
#include "project/window_definition.h"

namespace hhc::book {

inline constexpr std::uint32_t kWindowEntrySize = 196;    // "1.1 or later"
inline constexpr std::uint32_t kWindowEntrySize10 = 188;  // "1.0": no info-type count, no custom tabs
inline constexpr std::uint32_t kPropertySearchTab = 0x400;   // HHWIN_PROP_TAB_SEARCH
inline constexpr std::uint32_t kValidProperties = 0x2;       // HHWIN_PARAM_PROPERTIES

struct WindowsOptions {
    bool compatibility10 = false;
    bool searchTab = false;  // the book has a full-text index: show the Search tab
};

std::string BuildWindowsFile(const std::vector<project::WindowDefinition>& windows, const WindowsOptions& options,
                             StringPool& strings);

}  // namespace hhc::book
