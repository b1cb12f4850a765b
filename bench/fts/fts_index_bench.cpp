// fts_index_bench <folder> [runs=3] [threads=0]
// Builds the full-text index over every *.htm page of a folder (the work
// folder of a book build) the way hhc does, and prints the best time, the
// index's size and what it is made of.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "fts/search_index.h"

namespace {

std::uint32_t Dword(const std::string& s, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8 |
                                      static_cast<unsigned char>(s[at + 2]) << 16 |
                                      static_cast<unsigned char>(s[at + 3]) << 24);
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc < 2 || argc > 4) {
        std::cerr << "Usage: fts_index_bench <folder of .htm pages> [runs=3] [threads=0 (one per core)]\n";
        return 2;
    }
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    unsigned threads = argc > 3 ? static_cast<unsigned>(std::max(0, std::atoi(argv[3]))) : 0;
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(argv[1]))
        if (entry.path().extension() == ".htm") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> pages;
    std::uint64_t pageBytes = 0;
    for (const fs::path& p : paths) {
        std::ifstream in(p, std::ios::binary);
        pages.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        pageBytes += pages.back().size();
    }
    std::vector<hhc::fts::SearchTopic> topics;
    for (std::size_t i = 0; i < pages.size(); ++i) topics.push_back({static_cast<std::uint32_t>(i), pages[i]});

    double best = 1e30;
    double bestCpu = 1e30;
    hhc::fts::SearchFiles files;
    for (int r = 0; r < runs; ++r) {
        auto start = std::chrono::steady_clock::now();
        std::clock_t cpuStart = std::clock();
        files = hhc::fts::BuildSearchIndex(topics, 936, 0x804, threads);
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::min(best, s);
        bestCpu = std::min(bestCpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    const std::string& f = files.fiftiMain;
    std::uint32_t occurrences = Dword(f, 0x42);
    std::printf("pages            %zu (%llu bytes)\n", pages.size(), static_cast<unsigned long long>(pageBytes));
    std::printf("index time       %.3f s wall, %.3f s CPU (best of %d, %u threads)\n", best, bestCpu, runs,
                threads == 0 ? std::max(1u, std::min(8u, std::thread::hardware_concurrency())) : threads);
    std::printf("$FIftiMain       %zu bytes, %u leaves, depth %u, roots %u/%u/%u\n", f.size(), Dword(f, 0x10),
                static_cast<unsigned>(static_cast<unsigned char>(f[0x18])), static_cast<unsigned char>(f[0x1F]),
                static_cast<unsigned char>(f[0x21]), static_cast<unsigned char>(f[0x23]));
    std::printf("words            %u distinct, %u occurrences, %.2f bits per occurrence\n", Dword(f, 0x46),
                occurrences, occurrences ? 8.0 * static_cast<double>(f.size()) / occurrences : 0.0);
    std::printf("$OBJINST         %zu bytes\n", files.objInst.size());
    return 0;
}
