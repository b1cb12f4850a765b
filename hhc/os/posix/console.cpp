#include <cstdio>

#include "os/os.h"

namespace hhc::os {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void WriteStandardOutput(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void WriteStandardError(std::string_view text) {
    std::fflush(stdout);
    std::fwrite(text.data(), 1, text.size(), stderr);
}

}  // namespace hhc::os
