// Runs the fuzz target without libFuzzer: on every seed file, on inputs made
// by mutating and splicing the seeds (a fixed pseudo-random sequence, so a
// failure repeats), and on large inputs built to expose quadratic behaviour.
// Fails when one input takes longer than three seconds: room for a loaded
// machine, while quadratic work on the 1 MiB inputs takes minutes.
//
//   hhc_project_fuzz_driver CORPUS_FOLDER [MUTATIONS]
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

constexpr double kSecondsPerInput = 3.0;

// Pieces of the syntax the readers care about, spliced into inputs.
const char* const kTokens[] = {
    "[OPTIONS]\r\n", "[WINDOWS]\n", "[FILES]\n", "=", "\"", "'", ",", "[", "]", "\r\n", "\n", "\r",
    "Language=0x804 ", "Compiled file=", "Default Window=", "Title=", "Main=\"", ",,,,,0x20,180,",
    "[80,60,720,540]", "0x", "-", "<", ">", "<a href='", "<img src=", "<title>", "</title>", "<!--", "-->",
    "<script>", "</script>", "<style>", "url(", "@import '", "&amp;", "&#x", "&#", ";", "%", "%2F", "../",
    "./", "/", "\\", "#", "?", "http://", "mailto:", "<param name=\"Local\" value=\"",
    "<OBJECT type=\"text/site properties\">", "\xD5\x5C", "\xB5\xDA", "\xFF",
};

bool RunOne(const std::string& input, const std::string& label) {
    const auto start = std::chrono::steady_clock::now();
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() > kSecondsPerInput) {
        std::fprintf(stderr, "%s (%zu bytes) took %.2f s\n", label.c_str(), input.size(), took.count());
        return false;
    }
    return true;
}

std::string Mutate(const std::vector<std::string>& seeds, std::mt19937& random) {
    std::string input = seeds[random() % seeds.size()];
    const int steps = 1 + static_cast<int>(random() % 8);
    for (int step = 0; step < steps; ++step) {
        const std::size_t at = input.empty() ? 0 : random() % (input.size() + 1);
        switch (random() % 6) {
            case 0:  // flip a byte
                if (!input.empty()) input[at % input.size()] = static_cast<char>(random());
                break;
            case 1:  // insert a token
                input.insert(at, kTokens[random() % std::size(kTokens)]);
                break;
            case 2:  // cut
                input.erase(at, random() % 64);
                break;
            case 3: {  // splice in part of another seed
                const std::string& other = seeds[random() % seeds.size()];
                const std::size_t from = other.empty() ? 0 : random() % other.size();
                input.insert(at, other.substr(from, random() % 256));
                break;
            }
            case 4:  // duplicate a stretch
                input.insert(at, input.substr(at, random() % 128));
                break;
            default:  // truncate
                input.resize(at);
                break;
        }
    }
    return input;
}

std::string Repeat(const std::string& piece, std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) text += piece;
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER [MUTATIONS]\n", argv[0]);
        return 2;
    }
    const long mutations = argc > 2 ? std::atol(argv[2]) : 5000;
    std::vector<std::string> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        seeds.push_back(bytes.str());
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "no seed files in %s\n", argv[1]);
        return 2;
    }
    bool ok = true;
    for (std::size_t i = 0; i < seeds.size(); ++i) ok &= RunOne(seeds[i], "seed " + std::to_string(i));

    std::mt19937 random(20261206);
    for (long i = 0; i < mutations; ++i) ok &= RunOne(Mutate(seeds, random), "mutation " + std::to_string(i));

    constexpr std::size_t kLarge = 1 << 20;
    for (const char* piece : {"<a href=", "<", "url(", "@import", "<title", "&#", "\"", ",", "[", "=\n",
                              "<script>", "<!--", "../", "%", "<param name=Local value=x>", "\xB5"}) {
        ok &= RunOne(Repeat(piece, kLarge), std::string("1 MiB of \"") + piece + "\"");
    }
    std::printf("%zu seeds, %ld mutations, %s\n", seeds.size(), mutations, ok ? "no failure" : "FAILED");
    return ok ? 0 : 1;
}
