#include "book_readers.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "container/itsf_writer.h"

#ifdef LZX_TESTS_HAVE_MSPACK
#include <mspack.h>
#endif

namespace fs = std::filesystem;

namespace lzx_test {
namespace {

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Quote(const fs::path& path) {
    std::string quoted = "'";
    quoted += path.string();
    quoted += '\'';
    return quoted;
}

// Compares the files found under `root` (named relative to it) with `expected`.
std::vector<std::string> CompareExtracted(const std::string& reader, const fs::path& root, const Files& expected) {
    std::vector<std::string> problems;
    for (const auto& [name, contents] : expected) {
        const fs::path file = root / name.substr(1);
        if (!fs::is_regular_file(file)) {
            problems.push_back(reader + ": " + name + " was not extracted");
            continue;
        }
        const std::string got = ReadWholeFile(file);
        if (got != contents)
            problems.push_back(reader + ": " + name + " differs (" + std::to_string(got.size()) + " bytes, expected " +
                               std::to_string(contents.size()) + ")");
    }
    return problems;
}

std::vector<std::string> RunExtractor(const std::string& reader, const std::string& command, const fs::path& outDir,
                                      const Files& expected, const std::string& package) {
    fs::create_directories(outDir);
    const int status = std::system((command + " > /dev/null 2>&1").c_str());
    std::vector<std::string> problems = CompareExtracted(reader, outDir, expected);
    if (status != 0)
        problems.insert(problems.begin(), reader + " failed with status " + std::to_string(status) +
                                              " (is the package " + package + " installed?)");
    return problems;
}

}  // namespace

ScratchDir::ScratchDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() /
            ("lzx_tests_" + std::to_string(stamp) + "_" + std::to_string(counter++) + "_" +
             std::to_string(reinterpret_cast<std::uintptr_t>(this) & 0xFFFF));
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void WriteBook(const Files& files, const fs::path& book) {
    std::vector<hhc::container::InternalFile> internal;
    for (const auto& [name, contents] : files) internal.push_back({name, contents, hhc::container::Section::kCompressed});
    const std::string bytes = hhc::container::BuildContainer(internal, hhc::container::ContainerOptions{});
    std::ofstream out(book, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + book.string());
}

std::vector<std::string> CheckWithLibmspack(const fs::path& book, const Files& expected, const fs::path& scratch) {
#ifdef LZX_TESTS_HAVE_MSPACK
    std::vector<std::string> problems;
    mschm_decompressor* chm = mspack_create_chm_decompressor(nullptr);
    if (chm == nullptr) return {"libmspack: cannot create a CHM decompressor"};
    mschmd_header* header = chm->open(chm, const_cast<char*>(book.c_str()));
    if (header == nullptr) {
        problems.push_back("libmspack: cannot open the book (error " + std::to_string(chm->last_error(chm)) + ")");
        mspack_destroy_chm_decompressor(chm);
        return problems;
    }
    const fs::path outDir = scratch / "mspack";
    fs::create_directories(outDir);
    Files seen;
    for (mschmd_file* file = header->files; file != nullptr; file = file->next) {
        const std::string name = file->filename;
        if (expected.count(name) == 0) continue;
        const fs::path target = outDir / "file.bin";
        if (chm->extract(chm, file, const_cast<char*>(target.c_str())) != MSPACK_ERR_OK) {
            problems.push_back("libmspack: extracting " + name + " failed (error " +
                               std::to_string(chm->last_error(chm)) + ")");
            continue;
        }
        seen[name] = ReadWholeFile(target);
    }
    chm->close(chm, header);
    mspack_destroy_chm_decompressor(chm);
    for (const auto& [name, contents] : expected) {
        const auto it = seen.find(name);
        if (it == seen.end()) problems.push_back("libmspack: " + name + " was not extracted");
        else if (it->second != contents) problems.push_back("libmspack: " + name + " differs");
    }
    return problems;
#else
    (void)book, (void)expected, (void)scratch;
    return {"libmspack was not found at build time (install libmspack-dev)"};
#endif
}

std::vector<std::string> CheckWith7zip(const fs::path& book, const Files& expected, const fs::path& scratch) {
    const fs::path outDir = scratch / "7z";
    return RunExtractor("7z", "7z x -y -o" + Quote(outDir) + " " + Quote(book), outDir, expected, "p7zip-full");
}

std::vector<std::string> CheckWithChmlib(const fs::path& book, const Files& expected, const fs::path& scratch) {
    const fs::path outDir = scratch / "chmlib";
    return RunExtractor("extract_chmLib", "extract_chmLib " + Quote(book) + " " + Quote(outDir), outDir, expected,
                        "libchm-bin");
}

}  // namespace lzx_test
