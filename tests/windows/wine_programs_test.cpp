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

// A project whose folder and pages have Chinese names, for hhc.
void WriteProject(const fs::path& folder) {
    test_support::WriteBytes(folder / "项目.hhp",
                             "[OPTIONS]\r\nCompatibility=1.1 Or later\r\nDefault topic=\xCA\xD7\xD2\xB3.htm\r\n"
                             "Full-text search=Yes\r\nLanguage=0x804\r\n\r\n[FILES]\r\n\xCA\xD7\xD2\xB3.htm\r\n");
    test_support::WriteBytes(folder / "首页.htm",
                             "<html><head><title>\xCA\xD7\xD2\xB3</title></head><body>"
                             "<a href=\"\xB5\xDA\xB6\xFE\xD2\xB3.htm\">\xB5\xDA\xB6\xFE\xD2\xB3</a></body></html>");
    test_support::WriteBytes(folder / "第二页.htm", "<html><body>\xD6\xD0\xCE\xC4 text</body></html>");
}

TEST(WindowsPrograms, BooksAreTheLinuxBooksAndEveryReaderReadsThem) {
    const struct {
        const char* locale;  // the system's ANSI code page: zh_CN 936, en_US 1252
        const char* program;
        bool project;        // hhc on the project above, else chmbook-cli on the examples
        const char* printed;  // on the Windows program's standard output
        const char* page;     // a page of the book and text in it, in code page 936
        const char* text;
    } cases[] = {
        {"zh_CN.UTF-8", "chmbook-cli", false, "\\Release\\中文 Book.chm\n", "/index.htm", "\xD6\xD0\xCE\xC4 Book"},
        {"en_US.UTF-8", "chmbook-cli", false, "\\Release\\中文 Book.chm\n", "/index.htm", "\xD6\xD0\xCE\xC4 Book"},
        {"zh_CN.UTF-8", "hhc", true, "", "/第二页.htm", "\xD6\xD0\xCE\xC4 text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + c.locale);
        test_support::ScratchFolder scratch("chmbook-wine", test_support::ScratchUse::kPrograms);
        std::string books[2];
        for (const bool windows : {false, true}) {
            const fs::path app = scratch / (windows ? "程序 folder" : "linux");
            const char* suffix = windows ? ".exe" : "";
            fs::create_directories(app);
            for (const std::string name : {"chmbook-cli", "hhc"})
                fs::copy_file((windows ? kWindowsBin : kLinuxBin) / (name + suffix), app / (name + suffix));
            if (c.project) WriteProject(app / "项目");
            const fs::path book = c.project ? app / "项目" / "项目.chm" : app / "Release" / "中文 Book.chm";
            std::string command = "SOURCE_DATE_EPOCH=1700000000 ";
            if (windows)
                command += "WINEPREFIX=" + Quote(fs::path(CHMBOOK_WINE_PREFIX)) + " WINEDEBUG=-all LANG=" + c.locale +
                           " LC_ALL=" + c.locale + " wine ";
            command += Quote(app / (c.program + std::string(suffix))) + " " +
                       (c.project ? Quote(app / "项目" / "项目.hhp")
                                  : "--title " + Quote("中文 Book") + " " + Quote(fs::path(CHMBOOK_EXAMPLES_DIR)));
            const auto run = RunCommand(command, scratch.path());
            ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
            books[windows] = ReadBytes(book);
            if (!windows) continue;
            EXPECT_NE(run.output.find(c.printed), std::string::npos) << run.output;
            EXPECT_FALSE(fs::exists(app / "Temp") && !fs::is_empty(app / "Temp"));
            for (const auto& reader : test_support::kChmReaders) {
                const fs::path work = scratch / reader.name;
                fs::create_directories(work);
                std::string problem;
                const auto files = reader.extract(book, work, &problem);
                ASSERT_TRUE(files) << reader.name << ": " << problem;
                ASSERT_TRUE(files->count(c.page)) << reader.name;
                EXPECT_NE(files->at(c.page).find(c.text), std::string::npos) << reader.name;
            }
        }
        ASSERT_FALSE(books[0].empty());
        EXPECT_TRUE(books[0] == books[1]) << "the Windows book differs from the Linux one";
    }
}

}  // namespace
