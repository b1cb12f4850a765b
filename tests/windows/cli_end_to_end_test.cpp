// chmbook-cli.exe with hhc.exe, started by a Windows program from a program
// folder whose name has blanks and Chinese characters, on sources with
// Chinese names. Such a chmbook-cli has a (hidden) console of code page 936,
// so its redirected output is in that code page.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

namespace fs = std::filesystem;

// With the compiler: the book lands in Release, the work folder is emptied
// and the book's path is printed. Without it: the message names the
// compiler by its path, then by its Windows name in what to do, and the
// sources stay although their deletion was asked for.
TEST(CliEndToEnd, BookOrMissingCompilerNamedInTheConsolesCodePage) {
    const struct {
        const char* name;
        bool compiler;
        int status;
        std::string printed;  // below the scratch folder, in code page 936
        const char* after;    // printed after it
    } cases[] = {
        {"book", true, 0, "\\\xB3\xCC\xD0\xF2 folder\\Release\\\xD6\xD0\xCE\xC4 Book.chm\n", ""},
        {"missing compiler", false, 1, "\\\xB3\xCC\xD0\xF2 folder\\hhc.exe", "hhc.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test_support::ScratchFolder scratch{"chmbook wine"};
        const std::u16string app = scratch.u16() + u"\\\u7A0B\u5E8F folder";
        const std::u16string sources = scratch.u16() + u"\\\u6765\u6E90";
        ASSERT_TRUE(CreateFolder(app) && CreateFolder(sources));
        ASSERT_TRUE(WriteWholeFile(sources + u"\\\u7B2C\u4E00\u7AE0.txt", "\xD6\xD0\xCE\xC4\r\n"));
        ASSERT_TRUE(WriteWholeFile(sources + u"\\b.txt", "B"));
        for (const char* name : {"chmbook-cli.exe", "hhc.exe"}) {
            const std::u16string to = app + u"\\" + FromUtf8(name);
            const bool copy = c.compiler || name[0] == 'c';
            ASSERT_TRUE(!copy || CopyFileReplacing((fs::path(CHMBOOK_PROGRAMS) / name).u16string(), to));
        }

        const std::u16string log = scratch.u16() + u"\\cli.txt";
        std::u16string error;
        auto child = StartProcess(app + u"\\chmbook-cli.exe",
                                  {u"--title", u"\u4E2D\u6587 Book", u"--delete-sources", sources}, log, &error);
        ASSERT_TRUE(child) << ToUtf8(error);
        EXPECT_EQ(WaitForExit(*child), c.status);
        ReleaseProcess(*child);
        std::string output;
        ReadWholeFile(log, output);
        const std::size_t named = output.find(ToUtf8(scratch.u16()) + c.printed);
        ASSERT_NE(named, std::string::npos) << output;
        EXPECT_NE(output.find(c.after, named + c.printed.size()), std::string::npos) << output;
        EXPECT_EQ(FindFiles(sources, u"*.txt").size(), c.compiler ? 0u : 2u);
        EXPECT_TRUE(FindFiles(app + u"\\Temp", u"*").empty());
        std::string book;
        ReadWholeFile(app + u"\\Release\\\u4E2D\u6587 Book.chm", book);
        EXPECT_EQ(book.substr(0, 4) == "ITSF", c.compiler);
    }
}

}  // namespace
}  // namespace chmbook::platform
