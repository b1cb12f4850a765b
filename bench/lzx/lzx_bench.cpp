// hhc_lzx_bench [folder]
// Compresses sections the way a book holds them and prints size, ratio and
// speed: wall-clock MB/s with all threads, and MB/s per CPU second (what one
// core achieves). Without a folder it measures generated sections of about
// 20 MB: the benchmark corpus (1,000 pages of Chinese prose) as HTML pages;
// prose drawn from a small vocabulary, which has far more repeats; a
// bit-packed stream like a full-text index's, which LZX barely shrinks and
// which should take a fraction of the time of text; and the corpus pages
// followed by that stream, as a book with a full-text index holds them.
// With a folder, it measures the concatenation of the folder's files.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "lzx/lzx_compress.h"

#ifdef LZX_BENCH_HAVE_CORPUS
#include "test_data.h"
#endif

namespace {

constexpr std::size_t kPages = 1000;
constexpr std::size_t kPageTextBytes = 20000;

double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Wraps text lines into a page the way a book's pages look: one paragraph per line.
std::string AsHtmlPage(const std::string& text) {
    std::string html =
        "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
        "<title>page</title>\r\n</head>\r\n<body>\r\n";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        html += "<p>" + text.substr(start, end - start) + "</p>\r\n";
        start = end + 2;
    }
    return html + "</body>\r\n</html>\r\n";
}

#ifdef LZX_BENCH_HAVE_CORPUS
std::string CorpusPages() {
    std::string section;
    for (std::size_t i = 0; i < kPages; ++i) section += AsHtmlPage(test_data::CorpusText(i, kPageTextBytes));
    return section;
}
#endif

// Chinese prose from a vocabulary of 5,000 words with Zipf-like frequencies.
std::string VocabularyPages() {
    std::mt19937 random(7);
    std::vector<std::string> words;
    for (int i = 0; i < 5000; ++i) {
        std::string word;
        const unsigned chars = 1 + random() % 3;
        for (unsigned c = 0; c < chars; ++c) {
            word += static_cast<char>(0xB0 + random() % 39);
            word += static_cast<char>(0xA1 + random() % 94);
        }
        words.push_back(word);
    }
    std::vector<double> cumulative;
    double total = 0;
    for (std::size_t i = 0; i < words.size(); ++i) cumulative.push_back(total += 1.0 / static_cast<double>(i + 1));
    std::string section;
    for (std::size_t page = 0; page < kPages; ++page) {
        std::string text;
        while (text.size() < kPageTextBytes) {
            const unsigned count = 8 + random() % 40;
            for (unsigned w = 0; w < count; ++w) {
                const double pick = total * static_cast<double>(random()) / 4294967296.0;
                const auto it = std::lower_bound(cumulative.begin(), cumulative.end(), pick);
                text += words[std::min<std::size_t>(it - cumulative.begin(), words.size() - 1)];
            }
            text += "\xA1\xA3\r\n";  // full stop, line end
        }
        section += AsHtmlPage(text);
    }
    return section;
}

// Bytes whose bits are skewed towards zero (about 7.7 bits of entropy a
// byte) with a few short copies, some at the distance of the copy before:
// about what a full-text index's bitstream looks like to LZX.
std::string BitPackedStream(std::size_t size) {
    std::mt19937 random(11);
    std::string bytes;
    bytes.reserve(size);
    std::size_t lastDistance = 1000;
    while (bytes.size() < size) {
        if (bytes.size() > 60000 && random() % 100 < 2) {
            if (random() % 3 != 0) lastDistance = 1 + random() % 60000;
            const std::size_t length = 4 + random() % 8;
            for (std::size_t k = 0; k < length; ++k) bytes += bytes[bytes.size() - lastDistance];
            continue;
        }
        unsigned byte = 0;
        for (int bit = 0; bit < 8; ++bit) byte = byte << 1 | (random() % 100 < 35 ? 1u : 0u);
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

std::string FolderContents(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::string section;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        section.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return section;
}

void Measure(const char* label, const std::string& section) {
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(section.data()), section.size());
    const double cpuStart = CpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    const hhc::lzx::CompressedSection compressed = hhc::lzx::CompressSection(bytes);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = CpuSeconds() - cpuStart;
    const double megabytes = static_cast<double>(section.size()) / 1e6;
    std::printf("%-22s %12zu -> %12zu bytes  ratio %6.2f%%  %7.1f MB/s wall  %7.1f MB/s per CPU second\n", label,
                section.size(), compressed.data.size(),
                100.0 * static_cast<double>(compressed.data.size()) / static_cast<double>(std::max<std::size_t>(1, section.size())),
                megabytes / wall, megabytes / std::max(cpu, 1e-9));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "Usage: hhc_lzx_bench [folder]\n");
        return 2;
    }
    if (argc == 2) {
        std::error_code error;
        if (!std::filesystem::is_directory(argv[1], error)) {
            std::fprintf(stderr, "hhc_lzx_bench: %s is not a folder\n", argv[1]);
            return 1;
        }
        Measure(argv[1], FolderContents(argv[1]));
        return 0;
    }
    const std::string stream = BitPackedStream(kPages * kPageTextBytes);
#ifdef LZX_BENCH_HAVE_CORPUS
    const std::string pages = CorpusPages();
    Measure("benchmark corpus pages", pages);
#endif
    Measure("vocabulary prose pages", VocabularyPages());
    Measure("bit-packed stream", stream);
#ifdef LZX_BENCH_HAVE_CORPUS
    Measure("pages + bit-packed", pages + stream);
#endif
    return 0;
}
