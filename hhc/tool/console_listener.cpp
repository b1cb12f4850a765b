#include "tool/console_listener.h"

#include <cstdio>
#include <string>

#include "os/os.h"

namespace hhc::tool {
namespace {

// 20480000 -> "20,480,000"
std::string WithThousands(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), ",");
    return digits;
}

}  // namespace

void ConsoleListener::Progress(const std::string& line) {
    os::WriteStandardOutput(line + "\n");
}

void ConsoleListener::Warning(const std::string& message) {
    if (!said_.insert(message).second) return;
    os::WriteStandardError("hhc: warning: " + message + "\n");
}

std::string FormatSummary(const book::CompileSummary& summary, double seconds, std::size_t warnings) {
    char time[32];
    std::snprintf(time, sizeof time, "%.2f s", seconds);
    std::string text = "Compiled " + os::Utf8FromPath(summary.book) + ": " + WithThousands(summary.files) + " files, " +
                       WithThousands(summary.topics) + " topics, " + WithThousands(summary.bytesIn) +
                       " bytes in, " + WithThousands(summary.bytesOut) + " bytes out";
    if (summary.bytesIn > 0) {
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, " (%.1f%%)", 100.0 * static_cast<double>(summary.bytesOut) /
                                                          static_cast<double>(summary.bytesIn));
        text += ratio;
    }
    text += ", full-text search ";
    text += summary.fullTextSearch ? "on" : "off";
    text += ", " + std::string(time);
    if (summary.externalLinks > 0) {
        text += ", " + WithThousands(summary.externalLinks) +
                (summary.externalLinks == 1 ? " link" : " links") + " to other sites left as written";
    }
    if (warnings > 0) text += ", " + WithThousands(warnings) + (warnings == 1 ? " warning" : " warnings");
    return text;
}

}  // namespace hhc::tool
