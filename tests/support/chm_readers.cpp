// The four CHM readers: extract_chmLib and 7-Zip run as programs, libmspack
// is linked in, pychm answers through pychm_probe.py.
#include "test_support/chm_readers.h"

#include <sstream>

#include "test_support/pychm.h"
#include "test_support/run_command.h"

#ifdef TEST_SUPPORT_HAVE_MSPACK
#include <mspack.h>
#endif

namespace test_support {

namespace fs = std::filesystem;

namespace {

// The output of a reader run as a program; nullopt, with what it said and
// the package that provides it, when it fails or is missing.
std::optional<std::string> Run(const char* reader, const std::string& command, const fs::path& scratch,
                               const char* package, std::string* problem) {
    const CommandResult run = RunCommand(command, scratch);
    if (run.exitCode == 0) return run.output;
    *problem = std::string(reader) + " failed (if it is missing, install the Debian package " + package +
               "): " + (run.output + run.errors).substr(0, 2000);
    return std::nullopt;
}

std::optional<BookFiles> ExtractWithChmLib(const fs::path& book, const fs::path& scratch, std::string* problem) {
    const fs::path folder = scratch / "chmlib-extracted";
    const auto output =
        Run("extract_chmLib", "extract_chmLib " + Quote(book) + " " + Quote(folder), scratch, "libchm-bin", problem);
    // extract_chmLib reports a file it cannot decompress but goes on.
    if (output && output->find("failed") == std::string::npos) return FilesBelow(folder);
    if (output) *problem = "extract_chmLib: " + output->substr(0, 2000);
    return std::nullopt;
}

std::optional<BookFiles> ExtractWith7Zip(const fs::path& book, const fs::path& scratch, std::string* problem) {
    const fs::path folder = scratch / "7z-extracted";
    // A UTF-8 locale, so that 7-Zip writes non-ASCII names as they are.
    const auto output = Run("7z", "LC_ALL=C.UTF-8 7z x -y -bd " + Quote("-o" + folder.string()) + " " + Quote(book),
                            scratch, "p7zip-full", problem);
    return output ? std::optional(FilesBelow(folder)) : std::nullopt;
}

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// pychm as installed for the system's Python (package python3-chm).
std::optional<std::string> RunProbe(const std::string& arguments, const fs::path& scratch, std::string* problem) {
    return Run("pychm", "/usr/bin/python3 " + Quote(TEST_SUPPORT_PYCHM_PROBE) + " " + arguments, scratch, "python3-chm",
               problem);
}

std::optional<BookFiles> ExtractWithPychm(const fs::path& book, const fs::path& scratch, std::string* problem) {
    auto report = ReadWithPychm(book, scratch, problem);
    return report ? std::optional(std::move(report->files)) : std::nullopt;
}

#ifdef TEST_SUPPORT_HAVE_MSPACK
// Every listed file extracted; then the fast open, which finds names through
// the index chunks and the quick-reference words (a path the full open never
// takes), looks each name up to the same place. Upper-cased and made-up names
// are left to pychm's lookups.
std::optional<BookFiles> ExtractWithMspack(const fs::path& book, const fs::path& scratch, std::string* problem) {
    mschm_decompressor* chmd = mspack_create_chm_decompressor(nullptr);
    mschmd_header* chm = chmd ? chmd->open(chmd, book.c_str()) : nullptr;
    mschmd_header* fast = chm ? chmd->fast_open(chmd, book.c_str()) : nullptr;
    if (!fast)
        *problem = "libmspack cannot open the book (error " + std::to_string(chmd ? chmd->last_error(chmd) : -1) + ")";
    BookFiles files;
    Problems problems;
    const fs::path target = scratch / "mspack-extracted";
    for (mschmd_file* f = fast ? chm->files : nullptr; f; f = f->next) {
        const std::string name = f->filename;
        if (f->length == 0 && !name.empty() && name.back() == '/') continue;  // a folder
        if (const int err = chmd->extract(chmd, f, target.c_str()); err != MSPACK_ERR_OK)
            problems.push_back("libmspack cannot extract \"" + name + "\" (error " + std::to_string(err) + ")");
        else files[name] = ReadBytes(target);
        mschmd_file found{};
        if (chmd->fast_find(chmd, fast, name.c_str(), &found, sizeof found) != MSPACK_ERR_OK || !found.section ||
            found.section->id != f->section->id || found.offset != f->offset || found.length != f->length)
            problems.push_back("libmspack fast_find of \"" + name + "\" fails");
    }
    if (fast) chmd->close(chmd, fast);
    if (chm) chmd->close(chmd, chm);
    if (chmd) mspack_destroy_chm_decompressor(chmd);
    if (!problems.empty()) *problem = Joined(problems);
    return fast && problems.empty() ? std::optional(files) : std::nullopt;
}
#else
std::optional<BookFiles> ExtractWithMspack(const fs::path&, const fs::path&, std::string* problem) {
    *problem = "libmspack was not found when the tests were built: install the Debian package libmspack-dev";
    return std::nullopt;
}
#endif

}  // namespace

const ChmReader kChmReaders[4] = {
    {"extract_chmLib", ExtractWithChmLib},
    {"7-Zip", ExtractWith7Zip},
    {"libmspack", ExtractWithMspack},
    {"pychm", ExtractWithPychm},
};

std::optional<PychmReport> ReadWithPychm(const fs::path& book, const fs::path& scratch, std::string* problem) {
    const auto output = RunProbe("info " + Quote(book), scratch, problem);
    if (!output) return std::nullopt;
    PychmReport report;
    const std::map<std::string, std::string*> fields = {{"title", &report.title},   {"home", &report.home},
                                                        {"topics", &report.topics}, {"index", &report.index},
                                                        {"encoding", &report.encoding}};
    Problems problems;
    std::istringstream lines(*output);
    std::string key, first, second;
    while (lines >> key >> first) {
        if (key == "file" && lines >> second) report.files[FromHex(first)] = FromHex(second);
        else if (key == "problem") problems.push_back("pychm: " + FromHex(first));
        else if (fields.count(key)) *fields.at(key) = FromHex(first);
        report.searchable |= key == "searchable" && first == "1";
    }
    if (problems.empty()) return report;
    *problem = Joined(problems);
    return std::nullopt;
}

std::optional<std::map<std::string, std::string>> SearchWithPychm(const fs::path& book, const std::string& query,
                                                                  const fs::path& scratch, std::string* problem) {
    const auto output = RunProbe("search " + Quote(book) + " " + Quote(query), scratch, problem);
    if (!output) return std::nullopt;
    std::map<std::string, std::string> hits;
    std::istringstream lines(*output);
    std::string key, title, url;
    while (lines >> key >> title >> url) hits[FromHex(title)] = FromHex(url);
    return hits;
}

Problems CompareWithExpected(const std::string& reader, const BookFiles& files, const BookFiles& expected) {
    Problems problems;
    for (const auto& [name, got] : files) {
        const auto it = expected.find(name);
        if (it == expected.end()) problems.push_back(reader + " found unexpected \"" + name + "\"");
        else if (got != it->second) problems.push_back(reader + ": \"" + name + "\" has other bytes");
    }
    for (const auto& [name, data] : expected)
        if (!files.count(name)) problems.push_back(reader + " did not find \"" + name + "\"");
    return problems;
}

Problems CheckWithReader(const ChmReader& reader, const fs::path& book, const BookFiles& expected,
                         const fs::path& scratch, Compared compared) {
    // A fresh folder for each reader: the extractors write below it.
    const fs::path folder = scratch / (std::string(reader.name) + "-work");
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::string problem;
    std::optional<BookFiles> files = reader.extract(book, folder, &problem);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    if (!files) return Problems{problem};
    if (compared == Compared::kAllButSystemFiles)
        std::erase_if(*files, [](const auto& file) {
            return file.first.starts_with("/#") || file.first.starts_with("/$");
        });
    return CompareWithExpected(reader.name, *files, expected);
}

// At most 30 problems, then how many more there were.
std::string Joined(const Problems& problems) {
    std::string out;
    for (std::size_t i = 0; i < problems.size() && i < 30; ++i) out += "\n  " + problems[i];
    if (problems.size() > 30) out += "\n  ... " + std::to_string(problems.size() - 30) + " more problems left out";
    return out;
}

}  // namespace test_support
