// File locks on Windows: LockFileEx on a handle that children do not inherit;
// the system releases the lock when the handle closes, also when the process
// is ended from outside.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace chmbook::platform {

LockResult LockFile(const std::u16string& path, bool wait, FileLock& lock, std::u16string* error) {
    UnlockFile(lock);
    const HANDLE file = CreateFileW(win32::Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (error) *error = win32::ErrorText(GetLastError());
        return LockResult::kFailed;
    }
    OVERLAPPED at = {};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (LockFileEx(file, flags, 0, 1, 0, &at)) {
        lock.handle = reinterpret_cast<std::intptr_t>(file);
        return LockResult::kLocked;
    }
    const DWORD reason = GetLastError();
    CloseHandle(file);
    if (reason == ERROR_LOCK_VIOLATION || reason == ERROR_IO_PENDING) return LockResult::kBusy;
    if (error) *error = win32::ErrorText(reason);
    return LockResult::kFailed;
}

void UnlockFile(FileLock& lock) {
    if (lock.handle == -1) return;
    const HANDLE file = reinterpret_cast<HANDLE>(lock.handle);
    OVERLAPPED at = {};
    UnlockFileEx(file, 0, 1, 0, &at);
    CloseHandle(file);
    lock.handle = -1;
}

}  // namespace chmbook::platform
