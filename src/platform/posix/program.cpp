// The program's own folder on POSIX systems.
#include <unistd.h>

#include <string>

#include "platform/platform.h"

namespace chmbook::platform {

std::u16string ProgramFolder() {
    std::string path(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) return std::u16string();
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return std::u16string();
    if (slash == 0) return u"/";
    return FromUtf8(std::string_view(path).substr(0, slash));
}

}  // namespace chmbook::platform
