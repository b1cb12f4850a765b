#pragma once
// A unique folder per test under the system's temporary folder, removed
// afterwards (kept when HHC_KEEP_SCRATCH is set, for looking at a failure).
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace hhc::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device seed;
        const auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("hhc-test-" + std::to_string(seed()) + std::to_string(seed()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~ScratchFolder() {
        if (std::getenv("HHC_KEEP_SCRATCH")) return;
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace hhc::testing
