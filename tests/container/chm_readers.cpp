#include "chm_readers.h"

#include <cstdlib>
#include <string_view>

#include "scratch_dir.h"

#ifdef CONTAINER_TESTS_HAVE_MSPACK
#include <mspack.h>
#endif

namespace container_test {

namespace fs = std::filesystem;
using hhc::container::InternalFile;

namespace {

constexpr std::size_t kMaxReported = 30;

void Report(Problems& problems, std::string problem) {
    if (problems.size() < kMaxReported) problems.push_back(std::move(problem));
    else if (problems.size() == kMaxReported) problems.push_back("... more problems left out");
}

bool IsFolder(std::string_view name) { return !name.empty() && name.back() == '/'; }

std::string ShellQuoted(std::string_view s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

// Runs a shell command with its output captured in `log`; returns the exit status.
int Run(const std::string& command, const fs::path& log, std::string* output) {
    const int status = std::system((command + " >" + ShellQuoted(log.string()) + " 2>&1").c_str());
    *output = fs::exists(log) ? ReadBytes(log) : std::string();
    return status;
}

bool OnPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string_view rest(path);
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        if (!dir.empty() && fs::exists(fs::path(dir) / program)) return true;
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return false;
}

std::string Mismatch(std::string_view reader, const std::string& name, const std::string& got,
                     const std::string& want) {
    return std::string(reader) + ": \"" + name + "\" has " + std::to_string(got.size()) + " bytes, expected " +
           std::to_string(want.size()) + (got.size() == want.size() ? " (different bytes)" : "");
}

// Compares every regular file under `root` with the expected files.
Problems CompareTree(std::string_view reader, const fs::path& root, const ExpectedFiles& expected) {
    Problems problems;
    std::map<std::string, bool> seen;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        if (!item.is_regular_file()) continue;
        const std::string name = "/" + fs::relative(item.path(), root).generic_string();
        const auto it = expected.find(name);
        if (it == expected.end()) {
            Report(problems, std::string(reader) + " extracted unexpected \"" + name + "\"");
            continue;
        }
        seen[name] = true;
        const std::string got = ReadBytes(item.path());
        if (got != it->second) Report(problems, Mismatch(reader, name, got, it->second));
    }
    for (const auto& [name, data] : expected)
        if (!seen.count(name)) Report(problems, std::string(reader) + " did not extract \"" + name + "\"");
    return problems;
}

std::string AsciiUpper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

ExpectedFiles ExpectedFrom(const std::vector<InternalFile>& files) {
    ExpectedFiles expected;
    expected["/#ITBITS"] = "";
    for (const InternalFile& f : files)
        if (!IsFolder(f.name)) expected[f.name] = f.data;
    return expected;
}

#ifdef CONTAINER_TESTS_HAVE_MSPACK

namespace {

struct MspackLocation {
    unsigned section;
    std::int64_t offset;
    std::int64_t length;
};

void CheckFastFind(mschm_decompressor* chmd, const fs::path& book, const ExpectedFiles& expected,
                   const std::map<std::string, MspackLocation>& listed, Problems& problems) {
    mschmd_header* fast = chmd->fast_open(chmd, book.c_str());
    if (!fast) {
        Report(problems, "libmspack fast_open fails (error " + std::to_string(chmd->last_error(chmd)) + ")");
        return;
    }
    for (const auto& [name, data] : expected) {
        for (const std::string& lookup : {name, AsciiUpper(name)}) {
            mschmd_file found{};
            if (chmd->fast_find(chmd, fast, lookup.c_str(), &found, sizeof found) != MSPACK_ERR_OK ||
                !found.section) {
                Report(problems, "libmspack fast_find misses \"" + lookup + "\"");
                continue;
            }
            const auto it = listed.find(name);
            if (it != listed.end() && (found.section->id != it->second.section ||
                                       found.offset != it->second.offset || found.length != it->second.length))
                Report(problems, "libmspack fast_find of \"" + lookup + "\" gives another entry than the listing");
        }
        mschmd_file absent{};
        const std::string missing = name + "~absent";
        if (!expected.count(missing) &&
            chmd->fast_find(chmd, fast, missing.c_str(), &absent, sizeof absent) == MSPACK_ERR_OK && absent.section)
            Report(problems, "libmspack fast_find finds absent \"" + missing + "\"");
    }
    chmd->close(chmd, fast);
}

}  // namespace

Problems CheckWithLibmspack(const fs::path& book, const ExpectedFiles& expected, const fs::path& scratch) {
    Problems problems;
    mschm_decompressor* chmd = mspack_create_chm_decompressor(nullptr);
    if (!chmd) return {"libmspack: cannot create a CHM decompressor"};
    mschmd_header* chm = chmd->open(chmd, book.c_str());
    if (!chm) {
        problems.push_back("libmspack cannot open the book (error " + std::to_string(chmd->last_error(chmd)) + ")");
        mspack_destroy_chm_decompressor(chmd);
        return problems;
    }
    const fs::path out = scratch / "mspack-extracted";
    std::map<std::string, MspackLocation> listed;
    for (mschmd_file* f = chm->files; f; f = f->next) {
        const std::string name = f->filename;
        if (IsFolder(name) && f->length == 0) continue;
        listed[name] = {f->section->id, f->offset, f->length};
        const auto it = expected.find(name);
        if (it == expected.end()) {
            Report(problems, "libmspack lists unexpected \"" + name + "\"");
            continue;
        }
        if (const int err = chmd->extract(chmd, f, out.c_str()); err != MSPACK_ERR_OK) {
            Report(problems, "libmspack cannot extract \"" + name + "\" (error " + std::to_string(err) + ")");
            continue;
        }
        const std::string got = ReadBytes(out);
        if (got != it->second) Report(problems, Mismatch("libmspack", name, got, it->second));
    }
    for (const auto& [name, data] : expected)
        if (!listed.count(name)) Report(problems, "libmspack does not list \"" + name + "\"");
    chmd->close(chmd, chm);
    CheckFastFind(chmd, book, expected, listed, problems);
    mspack_destroy_chm_decompressor(chmd);
    return problems;
}

#else

Problems CheckWithLibmspack(const fs::path&, const ExpectedFiles&, const fs::path&) {
    return {"libmspack was not found when the tests were built: install the Debian package libmspack-dev"};
}

#endif

Problems CheckWithChmlibExtract(const fs::path& book, const ExpectedFiles& expected, const fs::path& scratch) {
    if (!OnPath("extract_chmLib"))
        return {"extract_chmLib is not installed: install the Debian package libchm-bin"};
    const fs::path out = scratch / "chmlib-extracted";
    std::string output;
    const int status =
        Run("extract_chmLib " + ShellQuoted(book.string()) + " " + ShellQuoted(out.string()), scratch / "chmlib.log",
            &output);
    if (status != 0 || !fs::exists(out)) return {"extract_chmLib failed: " + output.substr(0, 2000)};
    return CompareTree("extract_chmLib", out, expected);
}

Problems CheckWith7zip(const fs::path& book, const ExpectedFiles& expected, const fs::path& scratch) {
    if (!OnPath("7z")) return {"7z is not installed: install the Debian package p7zip-full"};
    const fs::path out = scratch / "7z-extracted";
    std::string output;
    // A UTF-8 locale, so that 7-Zip writes non-ASCII names as they are.
    const int status = Run("LC_ALL=C.UTF-8 7z x -y -bd " + ShellQuoted("-o" + out.string()) + " " +
                               ShellQuoted(book.string()),
                           scratch / "7z.log", &output);
    if (status != 0) return {"7z x failed: " + output.substr(0, 2000)};
    if (!fs::exists(out)) fs::create_directories(out);
    return CompareTree("7z", out, expected);
}

Problems CheckWithPychm(const fs::path& book, const ExpectedFiles& expected, const fs::path& scratch) {
    const fs::path python = "/usr/bin/python3";
    if (!fs::exists(python)) return {"/usr/bin/python3 is missing: install the Debian packages python3 and python3-chm"};
    std::string listing, blob;
    for (const auto& [name, data] : expected) {
        listing += std::to_string(blob.size()) + "\t" + std::to_string(data.size()) + "\t" + name + "\n";
        blob += data;
    }
    WriteBytes(scratch / "pychm-listing.txt", listing);
    WriteBytes(scratch / "pychm-blob.bin", blob);
    std::string output;
    const int status = Run(python.string() + " " + ShellQuoted(CONTAINER_PYCHM_SCRIPT) + " " +
                               ShellQuoted(book.string()) + " " +
                               ShellQuoted((scratch / "pychm-listing.txt").string()) + " " +
                               ShellQuoted((scratch / "pychm-blob.bin").string()),
                           scratch / "pychm.log", &output);
    if (status == 0) return {};
    return {"pychm: " + output.substr(0, 4000)};
}

}  // namespace container_test
