// Characters that the ANSI code page cannot hold, written into pages as
// numeric character references instead of the code page's stand-in.
#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "render/render.h"

namespace chmbook {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Whether each character of the Basic Multilingual Plane comes back unchanged
// from the ANSI code page: a character that encodes to a stand-in or to a
// look-alike does not. Worked out once, through the platform's own
// conversion, so that it holds for whichever code page the platform uses.
const std::vector<bool>& HeldByAnsi() {
    static const std::vector<bool> held = [] {
        std::vector<bool> table(0x10000, false);
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (c < 0x80) {
                table[c] = true;
                continue;
            }
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            const char16_t one[1] = {static_cast<char16_t>(c)};
            const std::u16string back = platform::AnsiToUnicode(platform::UnicodeToAnsi({one, 1}));
            table[c] = back.size() == 1 && back[0] == one[0];
        }
        return table;
    }();
    return held;
}

// The code point at `i` and how many units it takes; a lone surrogate stands
// for U+FFFD. Only called for units the code page does not hold.
char32_t CodePointAt(std::u16string_view text, std::size_t i, std::size_t& units) {
    const char16_t c = text[i];
    units = 1;
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        units = 2;
        return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
    }
    if (IsHighSurrogate(c) || IsLowSurrogate(c)) return 0xFFFD;
    return c;
}

void AppendReference(std::u16string& out, char32_t cp) {
    const std::string digits = std::to_string(static_cast<unsigned long>(cp));
    out += u"&#";
    out.append(digits.begin(), digits.end());
    out += u';';
}

}  // namespace

std::u16string WithCharacterReferences(std::u16string_view html) {
    const std::vector<bool>& held = HeldByAnsi();
    std::u16string out;
    out.reserve(html.size());
    std::size_t plain = 0;
    for (std::size_t i = 0; i < html.size();) {
        if (held[html[i]]) {
            ++i;
            continue;
        }
        out.append(html, plain, i - plain);
        std::size_t units = 1;
        AppendReference(out, CodePointAt(html, i, units));
        i += units;
        plain = i;
    }
    out.append(html, plain);
    return out;
}

std::u16string CharactersOutsideAnsi(std::u16string_view text) {
    const std::vector<bool>& held = HeldByAnsi();
    std::u16string found;
    std::vector<std::u16string_view> seen;
    for (std::size_t i = 0; i < text.size();) {
        if (held[text[i]]) {
            ++i;
            continue;
        }
        std::size_t units = 1;
        CodePointAt(text, i, units);
        const std::u16string_view character = text.substr(i, units);
        if (std::find(seen.begin(), seen.end(), character) == seen.end()) {
            seen.push_back(character);
            found += character;
        }
        i += units;
    }
    return found;
}

}  // namespace chmbook
