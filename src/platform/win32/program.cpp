// The program's own folder on Windows.
#include <windows.h>

#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace chmbook::platform {

std::u16string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::u16string();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return std::u16string();
    // "C:\" keeps its separator: it is the root of the drive.
    const bool root = slash == 2 && path[1] == L':';
    path.resize(root ? slash + 1 : slash);
    return win32::FromWide(path.data(), path.size());
}

}  // namespace chmbook::platform
