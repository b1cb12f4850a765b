// Where the user's data goes, and whether a folder takes new files, on POSIX.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/platform.h"

namespace chmbook::platform {
namespace {

// The home folder: $HOME, else the password database's entry.
std::string HomeFolder() {
    if (const char* home = ::getenv("HOME"); home && home[0] == '/') return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/')
        return entry->pw_dir;
    return std::string();
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

// A relative $XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
std::u16string UserDataFolder() {
    if (const char* data = ::getenv("XDG_DATA_HOME"); data && data[0] == '/')
        return FromUtf8(WithoutTrailingSlashes(data));
    const std::string home = HomeFolder();
    if (home.empty()) return std::u16string();
    return FromUtf8(WithoutTrailingSlashes(home) + "/.local/share");
}

bool CreateFolders(const std::u16string& path) {
    const std::string native = ToUtf8(path);
    for (std::size_t slash = native.find('/', 1); slash != std::string::npos; slash = native.find('/', slash + 1))
        ::mkdir(native.substr(0, slash).c_str(), 0777);  // an existing level fails harmlessly
    ::mkdir(native.c_str(), 0777);
    return LookUp(path) == EntryKind::kFolder;
}

bool IsWritableFolder(const std::u16string& path) {
    if (LookUp(path) != EntryKind::kFolder) return false;
    static std::atomic<unsigned> serial{0};
    std::string probe = ToUtf8(path);
    if (probe.back() != '/') probe += '/';
    probe += ".chmbook-write-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    // A full disk is the user's to clear, not a reason to put the books elsewhere.
    if (fd < 0) return errno == ENOSPC || errno == EDQUOT;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

}  // namespace chmbook::platform
