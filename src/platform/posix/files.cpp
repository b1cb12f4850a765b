// File system on POSIX: names are UTF-16 in memory and UTF-8 on disk.
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace chmbook::platform {
namespace {

std::string Native(const std::u16string& path) { return ToUtf8(path); }

// The reason of the last failed CreateFolder, WriteWholeFile or CopyFileReplacing.
thread_local int t_lastFailure = 0;

// Keeps errno as the reason of the operation's failure; returns false.
bool Failed(int error) {
    t_lastFailure = error;
    return false;
}

// Closes a descriptor when it leaves scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // Closes now and tells whether the close succeeded (a write may only
    // fail at this point on some file systems).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

class Dir {
public:
    explicit Dir(const std::string& path) : dir_(::opendir(path.c_str())) {}
    ~Dir() {
        if (dir_) ::closedir(dir_);
    }
    Dir(const Dir&) = delete;
    Dir& operator=(const Dir&) = delete;
    DIR* get() const { return dir_; }

private:
    DIR* dir_;
};

bool IsHiddenName(const char* name) { return name[0] == '.'; }

std::string JoinNative(const std::string& folder, const char* name) {
    std::string path = folder;
    if (path.empty() || path.back() != '/') path += '/';
    path += name;
    return path;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Simple upper-case mapping of one UTF-16 unit, the way file names are
// compared without regard to case. Uses the C.UTF-8 character tables when the
// system has them, else folds ASCII only.
char16_t UpperCase(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (!utf8 || (c >= 0xD800 && c <= 0xDFFF)) return c;
    const wint_t upper = ::towupper_l(static_cast<wint_t>(c), utf8);
    return upper <= 0xFFFF ? static_cast<char16_t>(upper) : c;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = UpperCase(c);
    return out;
}

// '*' matches any run of characters, '?' exactly one; both strings upper-cased.
bool WildcardMatch(std::u16string_view name, std::u16string_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n, ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace

EntryKind LookUp(const std::u16string& path) {
    struct stat st;
    if (path.empty() || ::stat(Native(path).c_str(), &st) != 0) return EntryKind::kNone;
    return S_ISDIR(st.st_mode) ? EntryKind::kFolder : EntryKind::kFile;
}

bool IsOrdinaryFile(const std::u16string& path) {
    const std::string native = Native(path);
    const std::size_t slash = native.rfind('/');
    const char* name = native.c_str() + (slash == std::string::npos ? 0 : slash + 1);
    if (*name == '\0' || IsHiddenName(name)) return false;
    struct stat st;
    return ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool CreateFolder(const std::u16string& path) {
    return ::mkdir(Native(path).c_str(), 0777) == 0 || Failed(errno);
}

FileFailure LastFileFailure() {
    if (t_lastFailure == 0) return {};
    return {t_lastFailure == ENOSPC || t_lastFailure == EDQUOT, FromUtf8(std::strerror(t_lastFailure))};
}

bool ReadWholeFile(const std::u16string& path, std::string& bytes) {
    bytes.clear();
    Fd fd(::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (!fd.ok() || ::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    std::string buffer(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::read(fd.get(), buffer.data() + got, buffer.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;  // the file shrank since fstat: keep what is there
        got += static_cast<std::size_t>(n);
    }
    buffer.resize(got);
    bytes = std::move(buffer);
    return true;
}

bool WriteWholeFile(const std::u16string& path, std::string_view bytes) {
    Fd fd(::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd.ok()) return Failed(errno);
    if (!WriteAll(fd.get(), bytes.data(), bytes.size())) return Failed(errno);
    return fd.Close() || Failed(errno);
}

bool DeleteOneFile(const std::u16string& path) {
    const std::string native = Native(path);
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlink(native.c_str()) == 0;
}

std::size_t DeleteFilesIn(const std::u16string& folder) {
    const std::string native = Native(folder);
    Dir dir(native);
    if (!dir.get()) return 0;
    std::size_t failures = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = JoinNative(native, entry->d_name);
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
        if (::unlink(path.c_str()) != 0) ++failures;
    }
    return failures;
}

// Copies into a temporary file beside the target and renames it over the
// target at the end, so that the target is never left half-written.
bool CopyFileReplacing(const std::u16string& from, const std::u16string& to) {
    const std::string target = Native(to);
    Fd in(::open(Native(from).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (!in.ok() || ::fstat(in.get(), &st) != 0) return Failed(errno);
    if (S_ISDIR(st.st_mode)) return Failed(EISDIR);

    const std::string temporary = target + ".part-" + std::to_string(::getpid());
    Fd out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!out.ok()) return Failed(errno);
    int error = 0;
    std::string buffer(1 << 20, '\0');
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n < 0) error = errno;
            break;
        }
        if (!WriteAll(out.get(), buffer.data(), static_cast<std::size_t>(n))) {
            error = errno;
            break;
        }
    }
    if (!out.Close() && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
    if (error == 0) error = errno;
    ::unlink(temporary.c_str());
    return Failed(error);
}

std::vector<std::u16string> FindFiles(const std::u16string& folder, std::u16string_view pattern) {
    std::vector<std::u16string> names;
    const std::string native = Native(folder);
    Dir dir(native);
    if (!dir.get()) return names;
    const std::u16string upperPattern = UpperCase(pattern);
    std::vector<std::pair<std::u16string, std::u16string>> found;  // upper-cased name, name
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsHiddenName(entry->d_name)) continue;
        std::u16string name = FromUtf8(entry->d_name);
        std::u16string upper = UpperCase(name);
        if (!WildcardMatch(upper, upperPattern)) continue;
        struct stat st;
        if (::stat(JoinNative(native, entry->d_name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        found.emplace_back(std::move(upper), std::move(name));
    }
    std::sort(found.begin(), found.end());
    names.reserve(found.size());
    for (auto& entry : found) names.push_back(std::move(entry.second));
    return names;
}

}  // namespace chmbook::platform
