// Runs the fuzz target without libFuzzer: on every seed file, on inputs made
// by mutating and splicing the seeds (a fixed pseudo-random sequence, so a
// failure repeats), and on large inputs built to expose quadratic behaviour.
// Fails when one input takes longer than three seconds: room for a loaded
// machine, while quadratic work on the 1 MiB inputs takes minutes.
//
//   hhc_project_fuzz_driver CORPUS_FOLDER MUTATIONS
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Pieces of the syntax the readers care about: spliced into inputs, and
// repeated to 1 MiB.
const char* const kTokens[] = {
    "[OPTIONS]\r\n", "[WINDOWS]\n", "[FILES]\n", "=", "\"", "'", ",", "[", "]", "\r\n", "\n", "\r", "Language=0x804 ",
    "Compiled file=", "Default Window=", "Main=\"", ",,,,,0x20,180,", "0x", "-", "<", ">", "<a href=", "<img src=",
    "<title", "=\n", "<!--", "-->", "<script>", "<style>", "url(", "@import '", "&amp;", "&#x", "&#", ";", "%", "%2F",
    "../", "/", "\\", "#", "?", "http://", "<param name=Local value=x>", "<OBJECT type=\"text/site properties\">",
    "\xD5\x5C", "\xB5\xDA", "\xB5", "\xFF",
};

bool RunOne(const std::string& input, const std::string& label) {
    const auto start = std::chrono::steady_clock::now();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() <= 3.0) return true;
    std::fprintf(stderr, "%s (%zu bytes) took %.2f s\n", label.c_str(), input.size(), took.count());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return std::fprintf(stderr, "usage: %s CORPUS_FOLDER MUTATIONS\n", argv[0]), 2;
    std::vector<std::string> seeds;
    bool ok = true;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ostringstream bytes;
        bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        seeds.push_back(bytes.str());
        ok &= RunOne(seeds.back(), entry.path().string());
    }
    std::mt19937 random(20261206);
    for (long i = 0; i < std::atol(argv[2]); ++i) {
        std::string input = seeds.at(random() % seeds.size());
        for (int step = 1 + static_cast<int>(random() % 8); step > 0; --step) {
            const std::size_t at = random() % (input.size() + 1);
            const std::string& other = seeds[random() % seeds.size()];
            const unsigned operation = random() % 5;
            if (operation == 0) input.insert(at, 1, static_cast<char>(random()));
            if (operation == 1) input.insert(at, kTokens[random() % std::size(kTokens)]);
            if (operation == 2) input.erase(at, random() % 64);
            if (operation == 3) input.insert(at, other.substr(random() % (other.size() + 1), random() % 256));
            if (operation == 4) input.insert(at, input.substr(at, random() % 128));  // a stretch twice
        }
        ok &= RunOne(input, "mutation " + std::to_string(i));
    }
    for (const char* piece : kTokens) {
        std::string large;
        while (large.size() < (1 << 20)) large += piece;
        ok &= RunOne(large, std::string("1 MiB of \"") + piece + "\"");
    }
    std::printf("%zu seeds, %s mutations, %s\n", seeds.size(), argv[2], ok ? "no failure" : "FAILED");
    return ok ? 0 : 1;
}
