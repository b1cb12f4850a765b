#pragma once
// Round trips through a real book: the bytes are stored as compressed files
// of a container and read back by CHM readers we did not write.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace lzx_test {

// "/name" -> contents.
using Files = std::map<std::string, std::string>;

// A fresh folder under the system's temporary folder, removed on destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Builds a book holding `files` (all in the compressed section) at `book`.
void WriteBook(const Files& files, const std::filesystem::path& book);

// Each returns a description of every difference between what the reader
// extracted and `expected`; empty when they agree byte for byte.
std::vector<std::string> CheckWithLibmspack(const std::filesystem::path& book, const Files& expected,
                                            const std::filesystem::path& scratch);
std::vector<std::string> CheckWith7zip(const std::filesystem::path& book, const Files& expected,
                                       const std::filesystem::path& scratch);
std::vector<std::string> CheckWithChmlib(const std::filesystem::path& book, const Files& expected,
                                         const std::filesystem::path& scratch);

}  // namespace lzx_test
