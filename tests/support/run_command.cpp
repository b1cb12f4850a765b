#include "test_support/run_command.h"

#include <sys/wait.h>

#include <atomic>
#include <cstdlib>

#include "test_support/test_files.h"

namespace test_support {

namespace fs = std::filesystem;

std::string Quote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

CommandResult RunCommand(const std::string& commandLine, const fs::path& scratch) {
    static std::atomic<unsigned> counter{0};
    const std::string tag = std::to_string(++counter);
    const fs::path out = scratch / ("command-" + tag + ".out");
    const fs::path err = scratch / ("command-" + tag + ".err");
    // Braces, so that the output of every command of a list is captured, not just the last one's.
    const int status = std::system(("{ " + commandLine + "\n} >" + Quote(out) + " 2>" + Quote(err)).c_str());
    CommandResult result;
    result.exitCode = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    result.output = ReadBytes(out);
    result.errors = ReadBytes(err);
    std::error_code ignored;
    fs::remove(out, ignored);
    fs::remove(err, ignored);
    return result;
}

bool IsOnPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string_view rest(path);
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        std::error_code ec;
        if (!dir.empty() && fs::exists(fs::path(dir) / program, ec)) return true;
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return false;
}

}  // namespace test_support
