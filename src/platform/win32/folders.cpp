// Where the user's data goes, and whether a folder takes new files, on Windows.
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <atomic>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace chmbook::platform {

using win32::Wide;

std::u16string UserDataFolder() {
    PWSTR folder = nullptr;
    std::u16string result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder)) && folder)
        result = win32::FromWide(folder, wcslen(folder));
    CoTaskMemFree(folder);
    return result;
}

// Walks the path from its start, creating each missing level; the drive or
// the server and share of a network path are never created.
bool CreateFolders(const std::u16string& path) {
    const std::wstring wide = Wide(path);
    std::size_t start = 0;
    if (wide.size() >= 2 && wide[1] == L':') start = 3;
    else if (wide.rfind(L"\\\\", 0) == 0) start = wide.find(L'\\', wide.find(L'\\', 2) + 1);
    for (std::size_t slash = wide.find_first_of(L"\\/", start); slash != std::wstring::npos;
         slash = wide.find_first_of(L"\\/", slash + 1))
        CreateDirectoryW(wide.substr(0, slash).c_str(), nullptr);  // an existing level fails harmlessly
    CreateDirectoryW(wide.c_str(), nullptr);
    return LookUp(path) == EntryKind::kFolder;
}

// The probe file is deleted when its handle closes, also if the program is
// stopped in between.
bool IsWritableFolder(const std::u16string& path) {
    if (LookUp(path) != EntryKind::kFolder) return false;
    static std::atomic<unsigned> serial{0};
    std::wstring probe = Wide(path);
    if (probe.back() != L'\\') probe += L'\\';
    probe += L".chmbook-write-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(serial++);
    win32::Handle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                   nullptr));
    // A full disk is the user's to clear, not a reason to put the books elsewhere.
    return file.ok() || GetLastError() == ERROR_DISK_FULL || GetLastError() == ERROR_HANDLE_DISK_FULL;
}

}  // namespace chmbook::platform
