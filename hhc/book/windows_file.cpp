#include "book/windows_file.h"

#include "common/le_bytes.h"

namespace hhc::book {
namespace {

// HHWIN_PARAM bits: which members of a record were given in the project.
enum ValidMember : std::uint32_t {
    kValidStyles = 0x4,
    kValidExtendedStyles = 0x8,
    kValidRectangle = 0x10,
    kValidNavigationWidth = 0x20,
    kValidShowState = 0x40,
    kValidButtons = 0x100,
    kValidExpansion = 0x200,
    kValidTabPosition = 0x400,
    kValidCurrentTab = 0x2000,
};

void AppendWindow(std::string& out, const project::WindowDefinition& window, const WindowsOptions& options,
                  StringPool& strings) {
    const std::size_t start = out.size();
    const std::uint32_t entrySize = options.compatibility10 ? kWindowEntrySize10 : kWindowEntrySize;
    out.append(entrySize, '\0');
    auto put = [&](std::size_t offset, std::uint32_t value) { PokeU32(out, start + offset, value); };
    auto putString = [&](std::size_t offset, const std::string& text) { put(offset, strings.Add(text)); };

    std::uint32_t valid = 0;
    std::uint32_t properties = window.navigationStyle.value_or(0);
    if (window.navigationStyle) valid |= kValidProperties;
    if (options.searchTab) {
        properties |= kPropertySearchTab;
        valid |= kValidProperties;
    }
    auto given = [&](const std::optional<std::uint32_t>& value, std::uint32_t bit, std::size_t offset) {
        if (!value) return;
        valid |= bit;
        put(offset, *value);
    };

    put(0x00, entrySize);
    put(0x04, 0);  // ANSI strings
    putString(0x08, window.name);
    put(0x10, properties);
    putString(0x14, window.caption);
    given(window.style, kValidStyles, 0x18);
    given(window.extendedStyle, kValidExtendedStyles, 0x1C);
    if (window.position) {
        valid |= kValidRectangle;
        for (std::size_t i = 0; i < 4; ++i) put(0x20 + 4 * i, static_cast<std::uint32_t>((*window.position)[i]));
    }
    given(window.showState, kValidShowState, 0x30);
    given(window.navigationWidth, kValidNavigationWidth, 0x4C);
    putString(0x60, window.toc);
    putString(0x64, window.index);
    putString(0x68, window.file);
    putString(0x6C, window.home);
    given(window.buttons, kValidButtons, 0x70);
    given(window.navigationClosed, kValidExpansion, 0x74);
    given(window.defaultTab, kValidCurrentTab, 0x78);
    given(window.navigationPosition, kValidTabPosition, 0x7C);
    if (window.notifyId) put(0x80, *window.notifyId);
    putString(0x9C, window.jump1Text);
    putString(0xA0, window.jump2Text);
    putString(0xA4, window.jump1Url);
    putString(0xA8, window.jump2Url);
    put(0x0C, valid);
}

}  // namespace

std::string BuildWindowsFile(const std::vector<project::WindowDefinition>& windows, const WindowsOptions& options,
                             StringPool& strings) {
    std::string out;
    PutU32(out, static_cast<std::uint32_t>(windows.size()));
    PutU32(out, options.compatibility10 ? kWindowEntrySize10 : kWindowEntrySize);
    for (const project::WindowDefinition& window : windows) AppendWindow(out, window, options, strings);
    return out;
}

}  // namespace hhc::book
