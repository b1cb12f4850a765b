// chmbook_bench_corpus <folder> [count=1000] [bytes=20000]
// Writes `count` text files of `bytes` bytes each into `folder` (created when
// missing): deterministic Chinese prose in code page 936, lines ending in CR LF.
#include <cstdlib>
#include <iostream>
#include <string>

#include "test_data.h"
#include "platform/platform.h"

namespace {

bool ParseCount(const char* text, std::size_t& value) {
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0') return false;
    value = static_cast<std::size_t>(parsed);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace chmbook;
    std::size_t count = 1000, bytes = 20000;
    if (argc < 2 || argc > 4 || (argc > 2 && !ParseCount(argv[2], count)) || (argc > 3 && !ParseCount(argv[3], bytes)) ||
        bytes < 2) {
        std::cerr << "Usage: chmbook_bench_corpus <folder> [count=1000] [bytes=20000]\n"
                     "Writes count text files of bytes bytes each (at least 2), Chinese prose in code page 936.\n";
        return 2;
    }
    std::u16string folder = platform::FromUtf8(argv[1]);
    if (platform::LookUp(folder) == platform::EntryKind::kNone) platform::CreateFolder(folder);
    if (platform::LookUp(folder) != platform::EntryKind::kFolder) {
        std::cerr << "chmbook_bench_corpus: could not create the folder " << argv[1] << "\n";
        return 1;
    }
    if (folder.back() != platform::kPathSeparator) folder += platform::kPathSeparator;
    for (std::size_t i = 0; i < count; ++i) {
        const std::u16string path = folder + platform::FromUtf8(test_data::CorpusFileName(i, count));
        if (!platform::WriteWholeFile(path, test_data::CorpusText(i, bytes))) {
            std::cerr << "chmbook_bench_corpus: could not write " << platform::ToUtf8(path) << "\n";
            return 1;
        }
    }
    std::cout << count << " files of " << bytes << " bytes written to " << argv[1] << "\n";
    return 0;
}
