// hhc PROJECT.hhp: compiles a help project into a .chm book beside it.
// Exit status 0 only when the book was written.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "book/book_compiler.h"
#include "project/text_util.h"
#include "tool/console_listener.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;

void PrintUsage(std::FILE* to) {
    std::fprintf(to,
                 "Usage: hhc PROJECT.hhp\n"
                 "Compiles the help project into a .chm book: the file named by its\n"
                 "\"Compiled file\" option, else PROJECT.chm beside the project.\n"
                 "SOURCE_DATE_EPOCH, when set, fixes the compile time stored in the book.\n");
}

std::optional<std::int64_t> CompileTimeFromEnvironment() {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (!value) return std::nullopt;
    const auto parsed = hhc::project::ParseNumber(value);
    if (!parsed || *parsed < 0) return std::nullopt;
    return *parsed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        PrintUsage(stdout);
        return 0;
    }
    if (argc != 2 || std::string_view(argv[1]).empty()) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    const auto start = std::chrono::steady_clock::now();
    hhc::tool::ConsoleListener listener;
    hhc::book::CompileSettings settings;
    settings.projectFile = argv[1];
    settings.compileTime = CompileTimeFromEnvironment();
    try {
        const hhc::book::CompileSummary summary = hhc::book::CompileBook(settings, listener);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        std::printf("%s\n", hhc::tool::FormatSummary(summary, elapsed.count(), listener.warnings()).c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "hhc: error: %s\n", error.what());
        std::fprintf(stderr, "hhc: no book was written\n");
        return kExitFailed;
    }
}
