#include "batch/title_check.h"

#include <array>

#include "platform/platform.h"

namespace chmbook {
namespace {

// File names may be 255 bytes of UTF-8 long on Linux, 255 UTF-16 units on
// Windows; the book is first copied to "<name>.part-<process number>" beside
// its place, which may add 16 more.
constexpr std::size_t kLongestName = 255 - 16;

#ifdef _WIN32
constexpr std::u16string_view kForbidden = u"\\/:*?\"<>|";
constexpr std::array<std::u16string_view, 4> kDevices = {u"CON", u"PRN", u"AUX", u"NUL"};
constexpr std::u16string_view kNumberedDevices[] = {u"COM", u"LPT"};
constexpr std::u16string_view kDeviceDigits = u"123456789\u00B9\u00B2\u00B3";
#else
constexpr std::u16string_view kForbidden = u"/";
#endif

bool IsControl(char16_t c) { return c < 0x20 || c == 0x7F; }

// A printable character as itself; a control character as U+XXXX.
std::u16string Shown(char16_t c) {
    if (!IsControl(c) && c != u' ') return std::u16string(1, c);
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    return std::u16string(u"U+") + kHex[(c >> 12) & 15] + kHex[(c >> 8) & 15] + kHex[(c >> 4) & 15] + kHex[c & 15];
}

#ifdef _WIN32
std::u16string Upper(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return upper;
}

// The name before its first dot, blanks at its end left off, is a device.
bool IsReservedDevice(std::u16string_view title) {
    std::u16string stem = Upper(title.substr(0, title.find(u'.')));
    while (!stem.empty() && stem.back() == u' ') stem.pop_back();
    for (std::u16string_view device : kDevices)
        if (stem == device) return true;
    for (std::u16string_view device : kNumberedDevices)
        if (stem.size() == 4 && stem.compare(0, 3, device) == 0 && kDeviceDigits.find(stem[3]) != std::u16string_view::npos)
            return true;
    return false;
}
#endif

std::size_t NameLength(std::u16string_view name) {
#ifdef _WIN32
    return name.size();
#else
    return platform::ToUtf8(name).size();
#endif
}

}  // namespace

std::u16string TitleProblem(std::u16string_view title, Language language) {
    for (char16_t c : title)
        if (IsControl(c) || kForbidden.find(c) != std::u16string_view::npos)
            return Text(MessageId::kTitleCharacter, language, {Shown(c)});
    if (title == u"." || title == u"..") return Text(MessageId::kTitleDots, language, {title});
#ifdef _WIN32
    if (IsReservedDevice(title)) return Text(MessageId::kTitleReserved, language, {title});
    if (!title.empty() && (title.back() == u'.' || title.back() == u' '))
        return Text(MessageId::kTitleTrailing, language, {Shown(title.back())});
#endif
    if (NameLength(std::u16string(title) + u".chm") > kLongestName) {
        const std::string limit = std::to_string(kLongestName);
        return Text(MessageId::kTitleTooLong, language, {title, std::u16string(limit.begin(), limit.end())});
    }
    return {};
}

}  // namespace chmbook
