#include "book_samples.h"

#include <cstdio>

namespace container_test {

InternalFile SystemFile() { return {"/#SYSTEM", std::string("\x03\0\0\0", 4), Section::kUncompressed}; }

std::vector<InternalFile> NumberedPages(std::size_t count, const std::string& prefix) {
    std::vector<InternalFile> files;
    char number[24];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, "%05zu", i);
        files.push_back({prefix + number + ".htm", "<html><body>page " + std::string(number) + "</body></html>",
                         Section::kCompressed});
    }
    return files;
}

test_support::BookFiles ExpectedFrom(const std::vector<InternalFile>& files) {
    test_support::BookFiles expected;
    expected["/#ITBITS"] = "";
    for (const InternalFile& f : files)
        if (f.name.empty() || f.name.back() != '/') expected[f.name] = f.data;
    return expected;
}

}  // namespace container_test
