#include <algorithm>
#include <cstdio>
#include <memory>

#include "os/os.h"
#include "os/win32/wide.h"

namespace hhc::os {
namespace {

void SetReason(std::string* reason, DWORD error) {
    if (reason) *reason = win32::ErrorText(error);
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid()) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// "\\?\C:\x" -> "C:\x", "\\?\UNC\host\x" -> "\\host\x".
std::wstring WithoutLongPrefix(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + path.substr(7);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view name) { return std::filesystem::path(win32::WideFromUtf8(name)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return win32::Utf8FromWide(path.native()); }

FileKind KindOf(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return FileKind::kMissing;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::kFolder;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) return FileKind::kOther;
    return FileKind::kFile;
}

std::optional<std::filesystem::path> RealPath(const std::filesystem::path& path) {
    Handle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return std::nullopt;
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD size = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (size >= buffer.size()) {
        buffer.resize(size);
        size = GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    if (size == 0 || size >= buffer.size()) return std::nullopt;
    buffer.resize(size);
    return std::filesystem::path(WithoutLongPrefix(buffer));
}

std::vector<std::string> ListFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    const std::wstring pattern = (folder / L"*").native();
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(win32::Utf8FromWide(name));
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& data, std::string* reason) {
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        SetReason(reason, GetLastError());
        return false;
    }
    data.clear();
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) data.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[1 << 16];
    while (true) {
        DWORD n = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
            SetReason(reason, GetLastError());
            return false;
        }
        if (n == 0) return true;
        data.append(buffer, n);
    }
}

WriteOutcome WriteNewFile(const std::filesystem::path& path, std::string_view bytes, std::string* reason) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        SetReason(reason, GetLastError());
        return WriteOutcome::kNotCreated;
    }
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD n = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &n, nullptr) || n == 0) {
            SetReason(reason, GetLastError());
            return WriteOutcome::kNotWritten;
        }
        bytes.remove_prefix(n);
    }
    return WriteOutcome::kWritten;
}

bool RenameOver(const std::filesystem::path& from, const std::filesystem::path& to, std::string* reason) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    SetReason(reason, GetLastError());
    return false;
}

void RemoveFile(const std::filesystem::path& path) { DeleteFileW(path.c_str()); }

}  // namespace hhc::os
