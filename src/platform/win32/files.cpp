// File system on Windows, through the wide-character calls.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace chmbook::platform {
namespace {

using win32::FromWide;
using win32::Handle;
using win32::Wide;

std::wstring Join(const std::u16string& folder, const wchar_t* name) {
    std::wstring path = Wide(folder);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    path += name;
    return path;
}

bool IsFolder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
bool IsHiddenOrSystem(DWORD attributes) {
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

std::wstring UpperCase(std::wstring_view text) {
    std::wstring upper(text);
    if (!upper.empty())
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()),
                      upper.data(), static_cast<int>(upper.size()), nullptr, nullptr, 0);
    return upper;
}

// '*' matches any run of characters, '?' exactly one; both strings upper-cased.
bool WildcardMatch(std::wstring_view name, std::wstring_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::wstring_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::wstring_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

// The entries of a folder that match a pattern, with their attributes.
template <typename Visit>
void ForEachEntry(const std::u16string& folder, const wchar_t* pattern, Visit visit) {
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileExW(Join(folder, pattern).c_str(), FindExInfoBasic, &data,
                                         FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        visit(data);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

}  // namespace

EntryKind LookUp(const std::u16string& path) {
    if (path.empty()) return EntryKind::kNone;
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::kNone;
    return IsFolder(attributes) ? EntryKind::kFolder : EntryKind::kFile;
}

bool IsOrdinaryFile(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes) && !IsHiddenOrSystem(attributes);
}

bool CreateFolder(const std::u16string& path) { return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0; }

bool ReadWholeFile(const std::u16string& path, std::string& bytes) {
    bytes.clear();
    Handle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.ok() || !GetFileSizeEx(file.get(), &size)) return false;
    std::string buffer(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t got = 0;
    while (got < buffer.size()) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(buffer.size() - got, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer.data() + got, piece, &read, nullptr)) return false;
        if (read == 0) break;  // the file shrank since its size was taken
        got += read;
    }
    buffer.resize(got);
    bytes = std::move(buffer);
    return true;
}

bool WriteWholeFile(const std::u16string& path, std::string_view bytes) {
    Handle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file.ok()) return false;
    const bool written = win32::WriteAll(file.get(), bytes.data(), bytes.size());
    return file.Close() && written;
}

bool DeleteOneFile(const std::u16string& path) { return DeleteFileW(Wide(path).c_str()) != 0; }

std::size_t DeleteFilesIn(const std::u16string& folder) {
    std::size_t failures = 0;
    ForEachEntry(folder, L"*", [&](const WIN32_FIND_DATAW& data) {
        if (IsFolder(data.dwFileAttributes)) return;
        if (!DeleteFileW(Join(folder, data.cFileName).c_str())) ++failures;
    });
    return failures;
}

// Copies into a temporary file beside the target and moves it over the target
// at the end, so that the target is never left half-written.
bool CopyFileReplacing(const std::u16string& from, const std::u16string& to) {
    const std::wstring target = Wide(to);
    const std::wstring temporary = target + L".part-" + std::to_wstring(GetCurrentProcessId());
    if (!CopyFileW(Wide(from).c_str(), temporary.c_str(), FALSE)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

std::vector<std::u16string> FindFiles(const std::u16string& folder, std::u16string_view pattern) {
    std::vector<std::u16string> names;
    const std::wstring widePattern(pattern.begin(), pattern.end());
    const std::wstring upperPattern = UpperCase(widePattern);
    ForEachEntry(folder, widePattern.c_str(), [&](const WIN32_FIND_DATAW& data) {
        if (IsFolder(data.dwFileAttributes) || IsHiddenOrSystem(data.dwFileAttributes)) return;
        // The system matches the short 8.3 alias too ("A~1.TXT" for "a.txt1"
        // under "*.txt"): only the long name counts.
        if (!WildcardMatch(UpperCase(data.cFileName), upperPattern)) return;
        names.push_back(FromWide(data.cFileName, wcslen(data.cFileName)));
    });
    // The order NTFS keeps: ordinal comparison after upper-casing.
    std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
        return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                                    reinterpret_cast<const wchar_t*>(b.data()), static_cast<int>(b.size()),
                                    TRUE) == CSTR_LESS_THAN;
    });
    return names;
}

}  // namespace chmbook::platform
