#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "os/os.h"

namespace hhc::os {
namespace {

void SetReason(std::string* reason, int error) {
    if (reason) *reason = std::strerror(error);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view name) { return std::filesystem::path(std::string(name)); }

std::string Utf8FromPath(const std::filesystem::path& path) { return path.string(); }

FileKind KindOf(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return FileKind::kMissing;
    if (S_ISREG(status.st_mode)) return FileKind::kFile;
    if (S_ISDIR(status.st_mode)) return FileKind::kFolder;
    return FileKind::kOther;
}

std::optional<std::filesystem::path> RealPath(const std::filesystem::path& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) return std::nullopt;
    return std::filesystem::path(resolved.get());
}

std::vector<std::string> ListFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& data, std::string* reason) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        SetReason(reason, errno);
        return false;
    }
    data.clear();
    struct stat status {};
    if (::fstat(fileno(file), &status) == 0 && status.st_size > 0) data.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) SetReason(reason, error);
    return !failed;
}

WriteOutcome WriteNewFile(const std::filesystem::path& path, std::string_view bytes, std::string* reason) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        SetReason(reason, errno);
        return WriteOutcome::kNotCreated;
    }
    const bool written = WriteAll(fd, bytes);
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (written && closed) return WriteOutcome::kWritten;
    SetReason(reason, written ? errno : writeError);
    return WriteOutcome::kNotWritten;
}

bool RenameOver(const std::filesystem::path& from, const std::filesystem::path& to, std::string* reason) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    SetReason(reason, errno);
    return false;
}

void RemoveFile(const std::filesystem::path& path) { ::unlink(path.c_str()); }

}  // namespace hhc::os
