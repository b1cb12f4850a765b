// chmbook-cli.exe with hhc.exe, run as Windows programs from a program
// folder whose name has blanks and Chinese characters, on sources with
// Chinese names: the book lands in Release, the work folder is emptied, and
// the book's path comes back on standard output. Started by a Windows
// program, chmbook-cli has a (hidden) console of code page 936, so its
// redirected output is in that code page.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;

struct ProgramRun {
    int status = -2;
    std::string output;
};

ProgramRun RunProgram(const std::u16string& program, const std::vector<std::u16string>& arguments,
               const std::u16string& log) {
    std::u16string error;
    auto child = StartProcess(program, arguments, log, &error);
    if (!child) {
        ADD_FAILURE() << "could not start " << ToUtf8(program) << ": " << ToUtf8(error);
        return {};
    }
    ProgramRun run;
    run.status = WaitForExit(*child);
    ReleaseProcess(*child);
    ReadWholeFile(log, run.output);
    return run;
}

class CliEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateFolder(app_));
        ASSERT_TRUE(CreateFolder(sources_));
        for (const char* name : {"chmbook-cli.exe", "hhc.exe"}) {
            const fs::path from = fs::path(CHMBOOK_PROGRAMS) / name;
            ASSERT_TRUE(CopyFileReplacing(from.u16string(), app_ + u"\\" + FromUtf8(name)));
        }
        ASSERT_TRUE(WriteWholeFile(sources_ + u"\\\u7B2C\u4E00\u7AE0.txt", "\xD6\xD0\xCE\xC4\r\n"));
        ASSERT_TRUE(WriteWholeFile(sources_ + u"\\b.txt", "B"));
    }

    ScratchFolder scratch_{"chmbook wine"};
    const std::u16string app_ = scratch_.u16() + u"\\\u7A0B\u5E8F folder";
    const std::u16string sources_ = scratch_.u16() + u"\\\u6765\u6E90";
    const std::u16string log_ = scratch_.u16() + u"\\cli.txt";
};

TEST_F(CliEndToEnd, BookLandsInReleaseAndThePathIsPrinted) {
    const std::u16string title = u"\u4E2D\u6587 Book";
    const ProgramRun run = RunProgram(app_ + u"\\chmbook-cli.exe", {u"--title", title, sources_}, log_);
    ASSERT_EQ(run.status, 0) << run.output;
    const std::u16string book = app_ + u"\\Release\\" + title + u".chm";
    const std::string printed = ToUtf8(scratch_.u16()) + "\\\xB3\xCC\xD0\xF2 folder\\Release\\\xD6\xD0\xCE\xC4 Book.chm\n";
    EXPECT_NE(run.output.find(printed), std::string::npos) << run.output;
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(book, bytes));
    EXPECT_EQ(bytes.substr(0, 4), "ITSF");
    EXPECT_TRUE(FindFiles(app_ + u"\\Temp", u"*").empty());
}

TEST_F(CliEndToEnd, MissingCompilerIsNamedWithItsWindowsName) {
    ASSERT_TRUE(DeleteOneFile(app_ + u"\\hhc.exe"));
    const ProgramRun run = RunProgram(app_ + u"\\chmbook-cli.exe", {u"--title", u"T", u"--delete-sources", sources_}, log_);
    EXPECT_EQ(run.status, 1);
    // The message is in the user's language; it names the missing compiler
    // by its path, then by its name in what to do.
    const std::string compiler = ToUtf8(scratch_.u16()) + "\\\xB3\xCC\xD0\xF2 folder\\hhc.exe";
    const std::size_t named = run.output.find(compiler);
    ASSERT_NE(named, std::string::npos) << run.output;
    EXPECT_NE(run.output.find("hhc.exe", named + compiler.size()), std::string::npos) << run.output;
    EXPECT_EQ(FindFiles(sources_, u"*.txt").size(), 2u);
}

}  // namespace
}  // namespace chmbook::platform
