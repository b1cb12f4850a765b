#pragma once
// One line of a project's [WINDOWS] section:
//   name="caption","toc","index","file","home","jump1 url","jump1 text",
//        "jump2 url","jump2 text",navstyle,navwidth,buttons,[l,t,r,b],
//        style,exstyle,showstate,navclosed,defaulttab,navpos,id
// Strings stay bytes in the project's code page. An empty field sets nothing.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hhc::project {

struct WindowDefinition {
    std::string name;
    std::string caption;
    std::string toc;
    std::string index;
    std::string file;  // the window's default topic
    std::string home;
    std::string jump1Url;
    std::string jump1Text;
    std::string jump2Url;
    std::string jump2Text;
    std::optional<std::uint32_t> navigationStyle;  // HHWIN_PROP bits
    std::optional<std::uint32_t> navigationWidth;
    std::optional<std::uint32_t> buttons;          // HHWIN_BUTTON bits
    std::optional<std::array<std::int32_t, 4>> position;  // left, top, right, bottom
    std::optional<std::uint32_t> style;
    std::optional<std::uint32_t> extendedStyle;
    std::optional<std::uint32_t> showState;
    std::optional<std::uint32_t> navigationClosed;
    std::optional<std::uint32_t> defaultTab;
    std::optional<std::uint32_t> navigationPosition;
    std::optional<std::uint32_t> notifyId;
};

// Parses the text after "name=". Numbers that cannot be read are left unset
// and reported through `problem` (the first one only).
WindowDefinition ParseWindowDefinition(std::string_view name, std::string_view definition,
                                       std::string* problem = nullptr);

}  // namespace hhc::project
