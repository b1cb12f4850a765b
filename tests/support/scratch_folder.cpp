#include "test_support/scratch_folder.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/statvfs.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <random>
#include <stdexcept>

#include "test_support/test_files.h"

namespace test_support {

namespace fs = std::filesystem;

namespace {

// Some suites write over a hundred megabytes; a small memory folder (64 MB
// in a default container) would run full, so the disk is used then.
constexpr unsigned long long kMinMemoryFolderSpace = 1ull << 30;

#ifdef _WIN32
// Windows has no memory-backed folder: $TMPDIR, else the user's temporary folder.
fs::path ScratchBase(ScratchUse) {
    if (const wchar_t* tmp = _wgetenv(L"TMPDIR"); tmp && *tmp) return tmp;
    return fs::temp_directory_path();
}

// A new folder "<base>-" followed by six random letters.
fs::path MakeUniqueFolder(const fs::path& base) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring name = base.filename().wstring() + L"-";
        for (int i = 0; i < 6; ++i) name += static_cast<wchar_t>(L'a' + random() % 26);
        const fs::path folder = base.parent_path() / name;
        std::error_code ec;
        if (fs::create_directory(folder, ec)) return folder;
    }
    throw std::runtime_error("cannot create a scratch folder " + base.string());
}
#else
bool UsableMemoryFolder(const fs::path& folder, ScratchUse use) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec) || access(folder.c_str(), W_OK) != 0) return false;
    struct statvfs info {};
    if (statvfs(folder.c_str(), &info) != 0) return false;
    if (static_cast<unsigned long long>(info.f_bavail) * info.f_frsize < kMinMemoryFolderSpace) return false;
    return use == ScratchUse::kFiles || !(info.f_flag & ST_NOEXEC);
}

fs::path ScratchBase(ScratchUse use) {
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) return tmp;
    const fs::path shm = "/dev/shm";
    if (UsableMemoryFolder(shm, use)) return shm;
    return fs::temp_directory_path();
}

fs::path MakeUniqueFolder(const fs::path& base) {
    std::string pattern = base.string() + "-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder " + pattern);
    return pattern;
}
#endif

// "<prefix>-<suite>-<test>", with characters that cannot stand in a file name
// (parameterised tests carry '/') replaced.
std::string FolderName(std::string_view prefix) {
    std::string name(prefix);
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
        name += std::string("-") + info->test_suite_name() + "-" + info->name();
    }
    for (char& c : name) {
        if (c == '/' || c == '\\') c = '_';
    }
    return name;
}

}  // namespace

ScratchFolder::ScratchFolder(std::string_view prefix, ScratchUse use) {
    path_ = MakeUniqueFolder(ScratchBase(use) / FolderName(prefix));
}

ScratchFolder::~ScratchFolder() {
    if (std::getenv("CHMBOOK_KEEP_SCRATCH")) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path ScratchFolder::Write(std::string_view name, std::string_view bytes) const {
    const fs::path file = path_ / name;
    WriteBytes(file, bytes);
    return file;
}

}  // namespace test_support
