#include "book/book_output.h"

#include <cstdio>
#include <random>
#include <string>

#include "book/compile_error.h"
#include "os/os.h"

namespace hhc::book {
namespace fs = std::filesystem;
namespace {

std::string Shown(const fs::path& path) { return os::Utf8FromPath(path); }

// A name in the destination's folder that no file has yet.
fs::path TemporaryNameBeside(const fs::path& destination) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%08llx.tmp", static_cast<unsigned long long>(random() & 0xFFFFFFFFu));
        fs::path candidate = destination;
        candidate += suffix;
        if (os::KindOf(candidate) == os::FileKind::kMissing) return candidate;
    }
    throw CompileError(Shown(destination) + ": no free temporary name beside the book");
}

class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) os::RemoveFile(path_);
    }
    void Release() { path_.clear(); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

void WriteBookFile(const fs::path& destination, std::string_view bytes) {
    if (os::KindOf(destination) == os::FileKind::kFolder) {
        throw CompileError(Shown(destination) + ": a folder of that name is in the way; the book was not written");
    }
    TemporaryFile temporary(TemporaryNameBeside(destination));
    std::string reason;
    switch (os::WriteNewFile(temporary.path(), bytes, &reason)) {
        case os::WriteOutcome::kWritten: break;
        case os::WriteOutcome::kNotCreated:
            temporary.Release();  // nothing was created
            throw CompileError(Shown(destination) + ": cannot create the book in " +
                               Shown(destination.parent_path()) + ": " + reason);
        case os::WriteOutcome::kNotWritten:
            throw CompileError(Shown(destination) + ": writing the book failed: " + reason);
    }
    if (!os::RenameOver(temporary.path(), destination, &reason)) {
        throw CompileError(Shown(destination) + ": cannot put the book in place: " + reason);
    }
    temporary.Release();
}

}  // namespace hhc::book
