// Scratch folders, whole-file reads and writes, and running shell commands.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace test_support {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
fs::path ScratchBase(ScratchUse) {
    if (const wchar_t* tmp = _wgetenv(L"TMPDIR"); tmp && *tmp) return tmp;
    return fs::temp_directory_path();
}

// The command line is UTF-8; cmd.exe gets it as wide characters. The extra
// outer quotation marks are the ones cmd.exe strips from a line that starts
// with one. Exit codes from 0xC0000000 up are crashes.
int RunRedirected(const std::string& commandLine, const fs::path& out, const fs::path& err) {
    const std::wstring line = L"\"" + fs::path(std::u8string(commandLine.begin(), commandLine.end())).wstring() +
                              L" >\"" + out.wstring() + L"\" 2>\"" + err.wstring() + L"\"\"";
    const int status = _wsystem(line.c_str());
    return (status == -1 || static_cast<unsigned>(status) >= 0xC0000000u) ? -1 : status;
}
#else
// Reader checks extract thousands of small files: a memory-backed folder
// keeps that fast when the disk is busy, if it has room (some suites write
// over a hundred megabytes) and, for programs, is not mounted noexec.
fs::path ScratchBase(ScratchUse use) {
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) return tmp;
    struct statvfs shm {};
    if (access("/dev/shm", W_OK) == 0 && statvfs("/dev/shm", &shm) == 0 &&
        static_cast<unsigned long long>(shm.f_bavail) * shm.f_frsize >= (1ull << 30) &&
        (use == ScratchUse::kFiles || !(shm.f_flag & ST_NOEXEC)))
        return "/dev/shm";
    return fs::temp_directory_path();
}

// Braces, so that the output of every command of a list is captured, not just the last one's.
int RunRedirected(const std::string& commandLine, const fs::path& out, const fs::path& err) {
    const int status = std::system(("{ " + commandLine + "\n} >" + Quote(out) + " 2>" + Quote(err)).c_str());
    return (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace

// "<base>/<prefix>-<suite>-<test>-" and six random letters; '/' of
// parameterised tests' names replaced.
ScratchFolder::ScratchFolder(std::string_view prefix, ScratchUse use) {
    std::string name(prefix);
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
        name += std::string("-") + info->test_suite_name() + "-" + info->name();
    for (char& c : name)
        if (c == '/' || c == '\\') c = '_';
    const fs::path base = ScratchBase(use);
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        std::string folder = name + "-";
        for (int i = 0; i < 6; ++i) folder += static_cast<char>('a' + random() % 26);
        std::error_code ec;
        if (fs::create_directory(base / folder, ec)) path_ = base / folder;
    }
    if (path_.empty()) throw std::runtime_error("cannot create a scratch folder for " + name);
}

ScratchFolder::~ScratchFolder() {
    if (std::getenv("CHMBOOK_KEEP_SCRATCH")) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path ScratchFolder::Write(std::string_view name, std::string_view bytes) const {
    WriteBytes(path_ / name, bytes);
    return path_ / name;
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& file, std::string_view bytes) {
    if (file.has_parent_path()) fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

BookFiles FilesBelow(const fs::path& folder) {
    BookFiles files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files["/" + fs::relative(entry.path(), folder).generic_string()] = ReadBytes(entry);
    return files;
}

#ifdef _WIN32
// For cmd.exe and the C runtime's parser; a path's text is UTF-8 (see RunCommand).
std::string Quote(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Quote(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return Quote(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}
#else
std::string Quote(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
#endif

CommandResult RunCommand(const std::string& commandLine, const fs::path& scratch) {
    static std::atomic<unsigned> counter{0};
    const std::string tag = std::to_string(++counter);
    const fs::path out = scratch / ("command-" + tag + ".out"), err = scratch / ("command-" + tag + ".err");
    CommandResult result{RunRedirected(commandLine, out, err), ReadBytes(out), ReadBytes(err)};
    std::error_code ignored;
    fs::remove(out, ignored);
    fs::remove(err, ignored);
    return result;
}

}  // namespace test_support
