#include "book/book_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include "book/compile_error.h"

namespace hhc::book {
namespace fs = std::filesystem;
namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

// A name in the destination's folder that no file has yet.
fs::path TemporaryNameBeside(const fs::path& destination) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%08llx.tmp", static_cast<unsigned long long>(random() & 0xFFFFFFFFu));
        fs::path candidate = destination;
        candidate += suffix;
        std::error_code error;
        if (!fs::exists(candidate, error) && !error) return candidate;
    }
    throw CompileError(destination.string() + ": no free temporary name beside the book");
}

class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    void Release() { path_.clear(); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

void WriteBookFile(const fs::path& destination, std::string_view bytes) {
    std::error_code error;
    if (fs::is_directory(destination, error)) {
        throw CompileError(destination.string() + ": a folder of that name is in the way; the book was not written");
    }
    TemporaryFile temporary(TemporaryNameBeside(destination));
    std::FILE* file = std::fopen(temporary.path().c_str(), "wb");
    if (!file) {
        const int reason = errno;
        temporary.Release();  // nothing was created
        throw CompileError(destination.string() + ": cannot create the book in " +
                           destination.parent_path().string() + ": " + ErrnoText(reason));
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        throw CompileError(destination.string() + ": writing the book failed: " +
                           ErrnoText(written ? errno : writeError));
    }
    fs::rename(temporary.path(), destination, error);
    if (error) {
        throw CompileError(destination.string() + ": cannot put the book in place: " + error.message());
    }
    temporary.Release();
}

}  // namespace hhc::book
