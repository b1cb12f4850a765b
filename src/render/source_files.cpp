// Reading source files and deriving their display names.
#include <new>

#include "platform/platform.h"
#include "render/render.h"

namespace chmbook {

std::u16string GetContent(std::u16string strFileName) {
    try {
        std::string bytes;
        if (!platform::ReadWholeFile(strFileName, bytes)) return std::u16string();
        return platform::AnsiToUnicode(bytes);
    } catch (...) {  // out of memory for a huge file: no text, as for any unreadable file
        return std::u16string();
    }
}

std::u16string GetFileName(std::u16string strFile) {
    std::u16string name;
    const std::size_t separator = strFile.rfind(platform::kPathSeparator);
    if (separator != std::u16string::npos) {
        name = strFile.substr(separator + 1);
    } else {
        const std::size_t first = strFile.find_first_not_of(u' ');
        if (first != std::u16string::npos) name = strFile.substr(first, strFile.find_last_not_of(u' ') - first + 1);
    }
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string::npos) return std::u16string();
    name.resize(dot);
    return name;
}

}  // namespace chmbook
