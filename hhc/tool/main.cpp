// hhc PROJECT.hhp: compiles a help project into a .chm book beside it.
// Exit status 0 only when the book was written.
#include <chrono>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/book_compiler.h"
#include "os/os.h"
#include "project/text_util.h"
#include "tool/console_listener.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailed = 1;

constexpr std::string_view kUsage =
    "Usage: hhc PROJECT.hhp\n"
    "Compiles the help project into a .chm book: the file named by its\n"
    "\"Compiled file\" option, else PROJECT.chm beside the project.\n"
    "SOURCE_DATE_EPOCH, when set, fixes the compile time stored in the book.\n";

std::optional<std::int64_t> CompileTimeFromEnvironment() {
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (!value) return std::nullopt;
    const auto parsed = hhc::project::ParseNumber(value);
    if (!parsed || *parsed < 0) return std::nullopt;
    return *parsed;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = hhc::os::CommandLineArguments(argc, argv);
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        hhc::os::WriteStandardOutput(kUsage);
        return 0;
    }
    if (arguments.size() != 1 || arguments[0].empty()) {
        hhc::os::WriteStandardError(kUsage);
        return kExitUsage;
    }
    const auto start = std::chrono::steady_clock::now();
    hhc::tool::ConsoleListener listener;
    hhc::book::CompileSettings settings;
    settings.projectFile = hhc::os::PathFromUtf8(arguments[0]);
    settings.compileTime = CompileTimeFromEnvironment();
    try {
        const hhc::book::CompileSummary summary = hhc::book::CompileBook(settings, listener);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        hhc::os::WriteStandardOutput(hhc::tool::FormatSummary(summary, elapsed.count(), listener.warnings()) + "\n");
        return 0;
    } catch (const std::exception& error) {
        hhc::os::WriteStandardError("hhc: error: " + std::string(error.what()) + "\nhhc: no book was written\n");
        return kExitFailed;
    }
}
