#include "book_readers.h"

#include <mspack.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace hhc::testing {
namespace fs = std::filesystem;
namespace {

std::string FromHex(const std::string& hex) {
    if (hex == "-") return {};
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
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

bool ProgramExists(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

fs::path FreshFolder(const fs::path& scratch, const std::string& name) {
    fs::path folder = scratch / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

constexpr const char* kPython = "/usr/bin/python3";

}  // namespace

std::string Quote(const fs::path& path) {
    std::string quoted = "'";
    for (char c : path.string()) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted.push_back(c);
        }
    }
    return quoted + "'";
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

CommandResult RunCommand(const std::string& commandLine, const fs::path& scratch) {
    static int counter = 0;
    const std::string tag = std::to_string(++counter);
    const fs::path out = scratch / ("command-" + tag + ".out");
    const fs::path err = scratch / ("command-" + tag + ".err");
    const int status = std::system((commandLine + " >" + Quote(out) + " 2>" + Quote(err)).c_str());
    CommandResult result;
    result.exitCode = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    result.output = ReadFileBytes(out);
    result.errors = ReadFileBytes(err);
    fs::remove(out);
    fs::remove(err);
    return result;
}

BookFiles FilesBelow(const fs::path& folder) {
    BookFiles files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        files["/" + fs::relative(entry.path(), folder).generic_string()] = ReadFileBytes(entry.path());
    }
    return files;
}

std::optional<BookFiles> ExtractWithChmLib(const fs::path& book, const fs::path& scratch, std::string* problem) {
    if (!ProgramExists("extract_chmLib")) {
        *problem = "extract_chmLib is not installed (package libchm-bin)";
        return std::nullopt;
    }
    const fs::path folder = FreshFolder(scratch, "chmlib");
    const CommandResult run = RunCommand("extract_chmLib " + Quote(book) + " " + Quote(folder), scratch);
    if (run.exitCode != 0) {
        *problem = "extract_chmLib failed: " + run.output + run.errors;
        return std::nullopt;
    }
    // extract_chmLib reports a file it cannot decompress but goes on.
    if (run.output.find("failed") != std::string::npos) {
        *problem = "extract_chmLib: " + run.output;
        return std::nullopt;
    }
    return FilesBelow(folder);
}

std::optional<BookFiles> ExtractWith7Zip(const fs::path& book, const fs::path& scratch, std::string* problem) {
    if (!ProgramExists("7z")) {
        *problem = "7z is not installed (package p7zip-full)";
        return std::nullopt;
    }
    const fs::path folder = FreshFolder(scratch, "7zip");
    const CommandResult run = RunCommand("7z x -y -o" + Quote(folder) + " " + Quote(book), scratch);
    if (run.exitCode != 0) {
        *problem = "7z failed: " + run.output + run.errors;
        return std::nullopt;
    }
    return FilesBelow(folder);
}

std::optional<BookFiles> ExtractWithMspack(const fs::path& book, const fs::path& scratch, std::string* problem) {
    mschm_decompressor* chm = mspack_create_chm_decompressor(nullptr);
    if (!chm) {
        *problem = "libmspack: no CHM decompressor";
        return std::nullopt;
    }
    const std::string bookName = book.string();
    const fs::path target = scratch / "mspack.out";
    BookFiles files;
    std::vector<std::string> names;
    mschmd_header* header = chm->open(chm, bookName.c_str());
    if (!header) {
        *problem = "libmspack cannot open the book, error " + std::to_string(chm->last_error(chm));
        mspack_destroy_chm_decompressor(chm);
        return std::nullopt;
    }
    for (mschmd_file* file = header->files; file && problem->empty(); file = file->next) {
        if (file->length == 0 && std::string(file->filename).ends_with("/")) continue;
        if (chm->extract(chm, file, target.c_str()) != MSPACK_ERR_OK) {
            *problem = std::string("libmspack cannot extract ") + file->filename;
        }
        files[file->filename] = ReadFileBytes(target);
        names.push_back(file->filename);
    }
    chm->close(chm, header);

    // The fast lookup walks the index chunks and the quickref words.
    if (problem->empty() && (header = chm->fast_open(chm, bookName.c_str())) != nullptr) {
        for (const std::string& name : names) {
            mschmd_file found{};
            if (chm->fast_find(chm, header, name.c_str(), &found, sizeof found) != MSPACK_ERR_OK || !found.section) {
                *problem = "libmspack fast_find misses " + name;
                break;
            }
            if (found.length != static_cast<off_t>(files[name].size())) {
                *problem = "libmspack fast_find gives the wrong length for " + name;
                break;
            }
        }
        chm->close(chm, header);
    } else if (problem->empty()) {
        *problem = "libmspack fast_open fails";
    }
    mspack_destroy_chm_decompressor(chm);
    fs::remove(target);
    if (!problem->empty()) return std::nullopt;
    return files;
}

std::optional<PychmReport> ReadWithPychm(const fs::path& book, const fs::path& scratch, std::string* problem) {
    const CommandResult run =
        RunCommand(std::string(kPython) + " " + Quote(HHC_PYCHM_PROBE) + " info " + Quote(book), scratch);
    if (run.exitCode != 0) {
        *problem = "pychm: " + run.errors + " (is python3-chm installed for /usr/bin/python3?)";
        return std::nullopt;
    }
    PychmReport report;
    std::istringstream lines(run.output);
    std::string key, first, second;
    while (lines >> key >> first) {
        if (key == "file") {
            lines >> second;
            report.files[FromHex(first)] = FromHex(second);
        } else if (key == "title") {
            report.title = FromHex(first);
        } else if (key == "home") {
            report.home = FromHex(first);
        } else if (key == "topics") {
            report.topics = FromHex(first);
        } else if (key == "index") {
            report.index = FromHex(first);
        } else if (key == "encoding") {
            report.encoding = FromHex(first);
        } else if (key == "searchable") {
            report.searchable = first == "1";
        }
    }
    return report;
}

std::optional<std::map<std::string, std::string>> SearchWithPychm(const fs::path& book, const std::string& query,
                                                                  const fs::path& scratch, std::string* problem) {
    const CommandResult run = RunCommand(std::string(kPython) + " " + Quote(HHC_PYCHM_PROBE) + " search " +
                                             Quote(book) + " " + ToHex(query),
                                         scratch);
    if (run.exitCode != 0) {
        *problem = "pychm search: " + run.errors;
        return std::nullopt;
    }
    std::map<std::string, std::string> hits;
    std::istringstream lines(run.output);
    std::string key, first, second;
    while (lines >> key >> first) {
        if (key == "hit" && lines >> second) hits[FromHex(first)] = FromHex(second);
    }
    return hits;
}

}  // namespace hhc::testing
