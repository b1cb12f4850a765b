// chmbook-cli.exe started by a Windows program, from a program folder whose
// name has blanks and Chinese characters, without its compiler. Such a
// chmbook-cli has a (hidden) console of code page 936, so its redirected
// output is in that code page. The books of the Windows programs are checked
// from Linux (wine_programs_test.cpp).
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

// The message names the compiler by its path.
TEST(CliEndToEnd, MissingCompilerNamedInTheConsolesCodePage) {
    test_support::ScratchFolder scratch{"chmbook wine"};
    const std::u16string app = scratch.u16() + u"\\\u7A0B\u5E8F folder", sources = scratch.u16() + u"\\\u6765\u6E90";
    ASSERT_TRUE(CreateFolder(app) && CreateFolder(sources));
    ASSERT_TRUE(WriteWholeFile(sources + u"\\b.txt", "B"));
    const std::u16string cli = app + u"\\chmbook-cli.exe", log = scratch.u16() + u"\\cli.txt";
    ASSERT_TRUE(CopyFileReplacing(ProgramFolder() + u"\\chmbook-cli.exe", cli));  // every program goes to bin/
    auto child = StartProcess(cli, {u"--title", u"\u4E2D\u6587 Book", sources}, log, nullptr);
    ASSERT_TRUE(child);
    EXPECT_EQ(WaitForExit(*child), 1);
    ReleaseProcess(*child);
    std::string output;
    ReadWholeFile(log, output);
    const std::string path = ToUtf8(scratch.u16()) + "\\\xB3\xCC\xD0\xF2 folder\\hhc.exe";  // in code page 936
    EXPECT_NE(output.find(path), std::string::npos) << output;
}

}  // namespace
}  // namespace chmbook::platform
