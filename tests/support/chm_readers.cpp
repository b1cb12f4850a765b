#include "test_support/chm_readers.h"

#include "test_support/run_command.h"

namespace test_support {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxReported = 30;

void Report(Problems& problems, std::string problem) {
    if (problems.size() < kMaxReported) problems.push_back(std::move(problem));
    else if (problems.size() == kMaxReported) problems.push_back("... more problems left out");
}

// An empty folder `name` below `scratch`, for one reader's output.
fs::path FreshFolder(const fs::path& scratch, const std::string& name) {
    const fs::path folder = scratch / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

}  // namespace

const ChmReader kChmReaders[4] = {
    {"extract_chmLib", ExtractWithChmLib},
    {"7-Zip", ExtractWith7Zip},
    {"libmspack", ExtractWithMspack},
    {"pychm", ExtractWithPychm},
};

std::optional<BookFiles> ExtractWithChmLib(const fs::path& book, const fs::path& scratch, std::string* problem) {
    if (!IsOnPath("extract_chmLib")) {
        *problem = "extract_chmLib is not installed: install the Debian package libchm-bin";
        return std::nullopt;
    }
    const fs::path folder = FreshFolder(scratch, "chmlib-extracted");
    const CommandResult run = RunCommand("extract_chmLib " + Quote(book) + " " + Quote(folder), scratch);
    if (run.exitCode != 0 || !fs::exists(folder)) {
        *problem = "extract_chmLib failed: " + (run.output + run.errors).substr(0, 2000);
        return std::nullopt;
    }
    // extract_chmLib reports a file it cannot decompress but goes on.
    if (run.output.find("failed") != std::string::npos) {
        *problem = "extract_chmLib: " + run.output.substr(0, 2000);
        return std::nullopt;
    }
    return FilesBelow(folder);
}

std::optional<BookFiles> ExtractWith7Zip(const fs::path& book, const fs::path& scratch, std::string* problem) {
    if (!IsOnPath("7z")) {
        *problem = "7z is not installed: install the Debian package p7zip-full";
        return std::nullopt;
    }
    const fs::path folder = FreshFolder(scratch, "7z-extracted");
    // A UTF-8 locale, so that 7-Zip writes non-ASCII names as they are.
    const CommandResult run =
        RunCommand("LC_ALL=C.UTF-8 7z x -y -bd " + Quote("-o" + folder.string()) + " " + Quote(book), scratch);
    if (run.exitCode != 0) {
        *problem = "7z x failed: " + (run.output + run.errors).substr(0, 2000);
        return std::nullopt;
    }
    return FilesBelow(folder);
}

Problems CompareWithExpected(const std::string& reader, const BookFiles& files, const BookFiles& expected) {
    Problems problems;
    for (const auto& [name, got] : files) {
        const auto it = expected.find(name);
        if (it == expected.end()) {
            Report(problems, reader + " found unexpected \"" + name + "\"");
        } else if (got != it->second) {
            Report(problems, reader + ": \"" + name + "\" has " + std::to_string(got.size()) + " bytes, expected " +
                                 std::to_string(it->second.size()) +
                                 (got.size() == it->second.size() ? " (different bytes)" : ""));
        }
    }
    for (const auto& [name, data] : expected)
        if (!files.count(name)) Report(problems, reader + " did not find \"" + name + "\"");
    return problems;
}

Problems CheckWithReader(const ChmReader& reader, const fs::path& book, const BookFiles& expected,
                         const fs::path& scratch) {
    const fs::path folder = FreshFolder(scratch, std::string(reader.name) + "-work");
    std::string problem;
    const std::optional<BookFiles> files = reader.extract(book, folder, &problem);
    Problems problems = files ? CompareWithExpected(reader.name, *files, expected) : Problems{problem};
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return problems;
}

std::string Joined(const Problems& problems) {
    std::string out;
    for (const std::string& p : problems) out += "\n  " + p;
    return out;
}

}  // namespace test_support
