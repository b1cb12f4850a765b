// The Windows programs of the cross build (build-windows/), run under Wine
// from Linux: what they import, and the books they make, compared byte for
// byte with the Linux programs' and read back with the Linux CHM readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "test_support/chm_readers.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace {

namespace fs = std::filesystem;
using test_support::Quote;
using test_support::ReadBytes;
using test_support::RunCommand;
using test_support::ScratchFolder;
using test_support::ScratchUse;

const fs::path kWindowsBin = CHMBOOK_WINDOWS_BIN;
const fs::path kWinePrefix = CHMBOOK_WINE_PREFIX;
const fs::path kLinuxBin = CHMBOOK_LINUX_BIN;
const fs::path kExamples = CHMBOOK_EXAMPLES_DIR;
constexpr const char* kEpoch = "SOURCE_DATE_EPOCH=1700000000 ";
// "中文 Book" in code page 936, as the pages hold the title.
constexpr const char* kTitleGbk = "\xD6\xD0\xCE\xC4 Book";

// Runs a Windows program under Wine; `locale` sets the system's ANSI code
// page (zh_CN: 936, en_US: 1252).
test_support::CommandResult Wine(const std::string& locale, const std::string& arguments, const fs::path& scratch) {
    return RunCommand(std::string(kEpoch) + "WINEPREFIX=" + Quote(kWinePrefix) + " WINEDEBUG=-all LANG=" + locale +
                          " LC_ALL=" + locale + " wine " + arguments,
                      scratch);
}

// A program folder holding chmbook-cli and hhc from `bin`.
fs::path InstallPrograms(const fs::path& folder, const fs::path& bin, const char* suffix) {
    fs::create_directories(folder);
    for (const char* name : {"chmbook-cli", "hhc"})
        fs::copy_file(bin / (std::string(name) + suffix), folder / (std::string(name) + suffix));
    return folder;
}

std::set<std::string> ImportedDlls(const fs::path& program, const fs::path& scratch) {
    const auto run = RunCommand("x86_64-w64-mingw32-objdump -p " + Quote(program), scratch);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    std::set<std::string> dlls;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find("DLL Name: ");
        if (at == std::string::npos) continue;
        std::string name = line.substr(at + 10);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        dlls.insert(name);
    }
    return dlls;
}

// Without the runtime linked in, the programs need libstdc++-6.dll and
// friends, which no Windows has.
TEST(WindowsPrograms, ImportOnlyDllsThatWindowsShips) {
    ScratchFolder scratch;
    const std::set<std::string> shipped = {"kernel32.dll", "user32.dll", "shell32.dll", "advapi32.dll",
                                           "msvcrt.dll",   "ole32.dll",  "gdi32.dll",   "comdlg32.dll",
                                           "comctl32.dll"};
    for (const char* program : {"chmbook.exe", "chmbook-cli.exe", "hhc.exe"}) {
        const std::set<std::string> dlls = ImportedDlls(kWindowsBin / program, scratch.path());
        EXPECT_TRUE(dlls.count("kernel32.dll")) << program;
        for (const std::string& dll : dlls) EXPECT_TRUE(shipped.count(dll)) << program << " imports " << dll;
    }
}

// chmbook-cli.exe from a program folder with blanks and Chinese characters
// makes the same book as the Linux build, whatever the system's ANSI code
// page: the pages are always written in code page 936.
TEST(WindowsPrograms, CliBookIsTheLinuxBookWithEitherSystemCodePage) {
    ScratchFolder scratch("chmbook-wine", ScratchUse::kPrograms);
    const fs::path linuxApp = InstallPrograms(scratch / "linux", kLinuxBin, "");
    const auto linuxRun = RunCommand(std::string(kEpoch) + Quote(linuxApp / "chmbook-cli") + " --title " +
                                         Quote("中文 Book") + " " + Quote(kExamples),
                                     scratch.path());
    ASSERT_EQ(linuxRun.exitCode, 0) << linuxRun.output << linuxRun.errors;
    const std::string linuxBook = ReadBytes(linuxApp / "Release" / "中文 Book.chm");
    ASSERT_FALSE(linuxBook.empty());

    for (const std::string locale : {"zh_CN.UTF-8", "en_US.UTF-8"}) {
        const fs::path app = InstallPrograms(scratch / ("程序 folder " + locale), kWindowsBin, ".exe");
        const auto run = Wine(locale, Quote(app / "chmbook-cli.exe") + " --title " + Quote("中文 Book") + " " +
                                          Quote(kExamples),
                              scratch.path());
        ASSERT_EQ(run.exitCode, 0) << locale << "\n" << run.output << run.errors;
        EXPECT_NE(run.output.find("\\Release\\中文 Book.chm\n"), std::string::npos) << run.output;
        const fs::path book = app / "Release" / "中文 Book.chm";
        EXPECT_TRUE(ReadBytes(book) == linuxBook) << locale << ": the Windows book differs from the Linux one";
        EXPECT_TRUE(fs::is_empty(app / "Temp")) << locale;
        for (const auto& reader : test_support::kChmReaders) {
            const fs::path work = scratch / (locale + "-" + reader.name);
            fs::create_directories(work);
            std::string problem;
            const auto files = reader.extract(book, work, &problem);
            ASSERT_TRUE(files) << reader.name << ": " << problem;
            ASSERT_TRUE(files->count("/index.htm")) << reader.name;
            EXPECT_NE(files->at("/index.htm").find(kTitleGbk), std::string::npos) << reader.name;
        }
    }
}

// hhc.exe takes a project whose folder and pages have Chinese names, and
// makes the book the Linux hhc makes of it.
TEST(WindowsPrograms, HhcCompilesAProjectWithChineseNames) {
    ScratchFolder scratch("chmbook-wine", ScratchUse::kPrograms);
    const auto writeProject = [&](const fs::path& folder) {
        test_support::WriteBytes(folder / "项目.hhp",
                                 "[OPTIONS]\r\nCompatibility=1.1 Or later\r\nDefault topic=\xCA\xD7\xD2\xB3.htm\r\n"
                                 "Full-text search=Yes\r\nLanguage=0x804\r\n\r\n[FILES]\r\n\xCA\xD7\xD2\xB3.htm\r\n");
        test_support::WriteBytes(folder / "首页.htm",
                                 "<html><head><title>\xCA\xD7\xD2\xB3</title></head><body>"
                                 "<a href=\"\xB5\xDA\xB6\xFE\xD2\xB3.htm\">\xB5\xDA\xB6\xFE\xD2\xB3</a></body></html>");
        test_support::WriteBytes(folder / "第二页.htm", "<html><body>\xD6\xD0\xCE\xC4 text</body></html>");
    };
    const fs::path linuxProject = scratch / "linux 项目";
    const fs::path windowsProject = scratch / "windows 项目";
    writeProject(linuxProject);
    writeProject(windowsProject);
    const auto linuxRun = RunCommand(std::string(kEpoch) + Quote(kLinuxBin / "hhc") + " " +
                                         Quote(linuxProject / "项目.hhp"),
                                     scratch.path());
    ASSERT_EQ(linuxRun.exitCode, 0) << linuxRun.output << linuxRun.errors;
    const auto run = Wine("zh_CN.UTF-8", Quote(kWindowsBin / "hhc.exe") + " " + Quote(windowsProject / "项目.hhp"),
                          scratch.path());
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    const std::string book = ReadBytes(windowsProject / "项目.chm");
    ASSERT_FALSE(book.empty());
    EXPECT_TRUE(book == ReadBytes(linuxProject / "项目.chm")) << "the Windows book differs from the Linux one";
    std::string problem;
    fs::create_directories(scratch / "read");
    const auto files = test_support::ExtractWithChmLib(windowsProject / "项目.chm", scratch / "read", &problem);
    ASSERT_TRUE(files) << problem;
    EXPECT_TRUE(files->count("/首页.htm"));
    ASSERT_TRUE(files->count("/第二页.htm"));
    EXPECT_NE(files->at("/第二页.htm").find("\xD6\xD0\xCE\xC4 text"), std::string::npos);
}

}  // namespace
