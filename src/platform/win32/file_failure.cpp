// Why the last file operation failed, on Windows: the thread's last error.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/win32_text.h"

namespace chmbook::platform {

FileFailure LastFileFailure() {
    const DWORD error = GetLastError();
    if (error == ERROR_SUCCESS) return {};
    return {error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL, win32::ErrorText(error)};
}

}  // namespace chmbook::platform
