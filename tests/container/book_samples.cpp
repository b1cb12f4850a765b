#include "book_samples.h"

#include <cstdio>

namespace container_test {

InternalFile SystemFile() { return {"/#SYSTEM", std::string("\x03\0\0\0", 4), Section::kUncompressed}; }

std::string TextBytes(std::size_t size, unsigned seed) {
    static const char* const kWords[] = {"chapter ", "the ", "of ", "book ", "<p>", "</p>\r\n", "help ", "page ",
                                         "\xD6\xD0\xCE\xC4 ", "index "};
    std::string out;
    out.reserve(size + 16);
    std::uint32_t state = seed * 2654435761u + 1;
    while (out.size() < size) {
        state = state * 1103515245u + 12345u;
        out += kWords[(state >> 16) % 10];
    }
    out.resize(size);
    return out;
}

std::string NoiseBytes(std::size_t size, unsigned seed) {
    std::string out(size, '\0');
    std::uint64_t state = 0x9E3779B97F4A7C15ull ^ seed;
    for (char& c : out) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        c = static_cast<char>(state >> 24);
    }
    return out;
}

std::vector<InternalFile> NumberedPages(std::size_t count, const std::string& prefix) {
    std::vector<InternalFile> files;
    files.reserve(count);
    char number[24];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(number, sizeof number, "%05zu", i);
        files.push_back({prefix + number + ".htm", "<html><body>page " + std::string(number) + "</body></html>",
                         Section::kCompressed});
    }
    return files;
}

std::vector<InternalFile> SortStressFiles() {
    const char* const names[] = {
        "/A.htm", "/b.htm", "/_under.htm", "/Zeta.htm", "/[x].htm", "/]y.htm", "/^caret.htm", "/`tick.htm",
        "/back\\slash.htm", "/10.htm", "/2.htm", "/0", "/9z", "/#x", "/$x", "/$x$", "/#SYSTEM~", "/a::b.htm",
        "/a/b.htm", "/a.b", "/a-b", "/ab", "/AB2.htm", "/abc", "/abc.htm", "/abcd", "/a_b", "/aZ", "/a[", "/Q",
        "/q1", "/x y.htm", "/~t.htm", "/{brace}.htm", "/|pipe", "/MiXeD/CaSe.HTM", "/mixed/other.htm",
        "/$WWKeywordLinks/Property", "/#STRINGS", "/#TOPICS", "/#URLSTR", "/#URLTBL", "/#WINDOWS",
        "/$FIftiMain", "/$OBJINST"};
    std::vector<InternalFile> files;
    unsigned seed = 0;
    for (const char* name : names) {
        files.push_back({name, TextBytes(40 + seed * 7, seed), Section::kCompressed});
        ++seed;
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
