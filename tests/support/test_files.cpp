#include "test_support/test_files.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace test_support {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
    if (file.has_parent_path()) fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

BookFiles FilesBelow(const fs::path& folder) {
    BookFiles files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::string name = "/";
        name += fs::relative(entry.path(), folder).generic_string();
        files[name] = ReadBytes(entry.path());
    }
    return files;
}

}  // namespace test_support
