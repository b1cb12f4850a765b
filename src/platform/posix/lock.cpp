// File locks on POSIX: flock on a descriptor that children do not inherit,
// so the lock ends with this process, however it ends.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"

namespace chmbook::platform {

LockResult LockFile(const std::u16string& path, bool wait, FileLock& lock, std::u16string* error) {
    UnlockFile(lock);
    const int fd = ::open(ToUtf8(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (error) *error = FromUtf8(std::strerror(errno));
        return LockResult::kFailed;
    }
    int result;
    do {
        result = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        lock.handle = fd;
        return LockResult::kLocked;
    }
    const int reason = errno;
    ::close(fd);
    if (reason == EWOULDBLOCK) return LockResult::kBusy;
    if (error) *error = FromUtf8(std::strerror(reason));
    return LockResult::kFailed;
}

void UnlockFile(FileLock& lock) {
    if (lock.handle < 0) return;
    ::flock(static_cast<int>(lock.handle), LOCK_UN);
    ::close(static_cast<int>(lock.handle));
    lock.handle = -1;
}

}  // namespace chmbook::platform
