// The Windows programs of the cross build (build-windows/), run under Wine
// from Linux in a program folder with blanks and Chinese characters: their
// books are the Linux programs' books byte for byte, whatever the system's
// ANSI code page, and every Linux CHM reader reads them.
#include <gtest/gtest.h>

#include <filesystem>
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

const fs::path kWindowsBin = CHMBOOK_WINDOWS_BIN;
const fs::path kLinuxBin = CHMBOOK_LINUX_BIN;

// chmbook-cli on the examples in the system's ANSI code pages 936 (zh_CN) and
// 1252 (en_US), then hhc on a project whose folder and page have Chinese names
// (in code page 936 in the project file; the other runs leave it alone).
TEST(WindowsPrograms, BooksAreTheLinuxBooksAndEveryReaderReadsThem) {
    const std::pair<const char*, bool> runs[] = {{"zh_CN.UTF-8", false}, {"en_US.UTF-8", false}, {"zh_CN.UTF-8", true}};
    for (const auto& [locale, project] : runs) {
        const std::string program = project ? "hhc" : "chmbook-cli";
        SCOPED_TRACE(program + " " + locale);
        test_support::ScratchFolder scratch("chmbook-wine", test_support::ScratchUse::kPrograms);
        std::string books[2];
        for (const bool windows : {false, true}) {
            const fs::path app = scratch / (windows ? "程序 folder" : "linux");
            const char* suffix = windows ? ".exe" : "";
            fs::create_directories(app);
            for (const std::string name : {"chmbook-cli", "hhc"})
                fs::copy_file((windows ? kWindowsBin : kLinuxBin) / (name + suffix), app / (name + suffix));
            test_support::WriteBytes(app / "项目" / "项目.hhp", "[OPTIONS]\r\nFull-text search=Yes\r\nLanguage=0x804\r\n"
                                                             "\r\n[FILES]\r\n\xB5\xDA\xB6\xFE\xD2\xB3.htm\r\n");
            test_support::WriteBytes(app / "项目" / "第二页.htm", "<html><body>\xD6\xD0\xCE\xC4 text</body></html>");
            const fs::path book = project ? app / "项目" / "项目.chm" : app / "Release" / "中文 Book.chm";
            std::string command = "SOURCE_DATE_EPOCH=1700000000 ";
            if (windows)
                command += "WINEPREFIX=" + Quote(fs::path(CHMBOOK_WINE_PREFIX)) + " WINEDEBUG=-all LANG=" + locale +
                           " LC_ALL=" + locale + " wine ";
            command += Quote(app / (program + suffix)) + " " +
                       (project ? Quote(app / "项目" / "项目.hhp")
                                : "--title " + Quote("中文 Book") + " " + Quote(fs::path(CHMBOOK_EXAMPLES_DIR)));
            const auto run = RunCommand(command, scratch.path());
            ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
            books[windows] = ReadBytes(book);
            if (!windows) continue;
            EXPECT_TRUE(project || run.output.find("\\Release\\中文 Book.chm\n") != std::string::npos) << run.output;
            const char* page = project ? "/第二页.htm" : "/index.htm";
            for (const auto& reader : test_support::kChmReaders) {
                fs::create_directories(scratch / reader.name);
                std::string problem;
                const auto files = reader.extract(book, scratch / reader.name, &problem);
                ASSERT_TRUE(files) << reader.name << ": " << problem;
                EXPECT_TRUE(files->count(page) && files->at(page).find("\xD6\xD0\xCE\xC4") != std::string::npos)
                    << reader.name << " reads 中文 from " << page;
            }
        }
        ASSERT_FALSE(books[0].empty());
        EXPECT_TRUE(books[0] == books[1]) << "the Windows book differs from the Linux one";
    }
}

}  // namespace
