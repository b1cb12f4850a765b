#include "test_support/pychm.h"

#include <sstream>

#include "test_support/chm_readers.h"
#include "test_support/run_command.h"

#ifndef TEST_SUPPORT_PYCHM_PROBE
#error "TEST_SUPPORT_PYCHM_PROBE must name pychm_probe.py"
#endif

namespace test_support {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::string FromHex(const std::string& hex) {
    if (hex == "-") return {};
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string ToHex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 15]);
    }
    return hex;
}

// Runs the probe; nullopt with the reason when Python or pychm is missing or the probe fails.
std::optional<std::string> RunProbe(const std::string& arguments, const fs::path& scratch, const char* what,
                                    std::string* problem) {
    if (!fs::exists(kPython)) {
        *problem = std::string(kPython) + " is missing: install the Debian packages python3 and python3-chm";
        return std::nullopt;
    }
    const CommandResult run =
        RunCommand(std::string(kPython) + " " + Quote(TEST_SUPPORT_PYCHM_PROBE) + " " + arguments, scratch);
    if (run.exitCode != 0) {
        *problem = std::string(what) + ": " + run.errors.substr(0, 4000) +
                   " (is python3-chm installed for /usr/bin/python3?)";
        return std::nullopt;
    }
    return run.output;
}

}  // namespace

std::optional<PychmReport> ReadWithPychm(const fs::path& book, const fs::path& scratch, std::string* problem) {
    const auto output = RunProbe("info " + Quote(book), scratch, "pychm", problem);
    if (!output) return std::nullopt;
    PychmReport report;
    Problems problems;
    std::istringstream lines(*output);
    std::string key, first, second;
    while (lines >> key >> first) {
        if (key == "file" && lines >> second) report.files[FromHex(first)] = FromHex(second);
        else if (key == "problem") problems.push_back("pychm: " + FromHex(first));
        else if (key == "title") report.title = FromHex(first);
        else if (key == "home") report.home = FromHex(first);
        else if (key == "topics") report.topics = FromHex(first);
        else if (key == "index") report.index = FromHex(first);
        else if (key == "encoding") report.encoding = FromHex(first);
        else if (key == "searchable") report.searchable = first == "1";
    }
    if (!problems.empty()) {
        *problem = Joined(problems);
        return std::nullopt;
    }
    return report;
}

std::optional<BookFiles> ExtractWithPychm(const fs::path& book, const fs::path& scratch, std::string* problem) {
    auto report = ReadWithPychm(book, scratch, problem);
    if (!report) return std::nullopt;
    return std::move(report->files);
}

std::optional<std::map<std::string, std::string>> SearchWithPychm(const fs::path& book, const std::string& query,
                                                                  const fs::path& scratch, std::string* problem) {
    const auto output = RunProbe("search " + Quote(book) + " " + ToHex(query), scratch, "pychm search", problem);
    if (!output) return std::nullopt;
    std::map<std::string, std::string> hits;
    std::istringstream lines(*output);
    std::string key, first, second;
    while (lines >> key >> first) {
        if (key == "hit" && lines >> second) hits[FromHex(first)] = FromHex(second);
    }
    return hits;
}

}  // namespace test_support
