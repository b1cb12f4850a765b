// Starting, waiting for and releasing child processes, with /bin/sh as the child.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

// Runs the shell to its end; its output goes to `log` when one is given.
int RunShell(const std::vector<std::u16string>& arguments, const std::u16string& log = u"") {
    std::u16string error;
    auto child = StartProcess(u"/bin/sh", arguments, log, &error);
    EXPECT_TRUE(child.has_value()) << ToUtf8(error);
    if (!child) return -2;
    const int code = WaitForExit(*child);
    EXPECT_EQ(WaitForExit(*child), -1);  // waiting twice is harmless
    ReleaseProcess(*child);
    ReleaseProcess(*child);  // and so is releasing twice
    return code;
}

TEST(Process, ExitCodesArgumentsAndOutput) {
    test_support::ScratchFolder dir;
    EXPECT_EQ(RunShell({u"-c", u"exit 0"}), 0);
    EXPECT_EQ(RunShell({u"-c", u"kill -9 $$"}), -1);
    dir.Write("log.txt", "old text that must go away");
    EXPECT_EQ(
        RunShell({u"-c", u"printf '[%s]' \"$@\"; echo err >&2; exit 5", u"sh", u"a b", u"\"q\"", u"", u"\u4E2D;*"},
                 dir.u16("log.txt")),
        5);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(dir.u16("log.txt"), bytes));
    EXPECT_EQ(bytes, "[a b][\"q\"][][\xE4\xB8\xAD;*]err\n");
    std::u16string error;  // a program without a folder is searched along PATH
    auto child = StartProcess(u"sh", {u"-c", u"exit 4"}, u"", &error);
    ASSERT_TRUE(child.has_value()) << ToUtf8(error);
    EXPECT_EQ(WaitForExit(*child), 4);
    ReleaseProcess(*child);
}

// Missing programs, files that are not executable, folders, and an output
// file that cannot be written fail to start, with a reason.
TEST(Process, WhatCannotRunFailsToStart) {
    test_support::ScratchFolder dir;
    dir.Write("plain", "#!/bin/sh\nexit 0\n");
    for (const auto& [program, log] : {std::pair{dir.u16("no-such-program"), std::u16string()},
                                       {dir.u16("plain"), u""},
                                       {dir.u16(), u""},
                                       {u"/bin/sh", dir.u16("absent/log")}}) {
        std::u16string error;
        EXPECT_FALSE(StartProcess(program, {u"-c", u"exit 0"}, log, &error).has_value()) << ToUtf8(program);
        EXPECT_FALSE(error.empty()) << ToUtf8(program);
    }
}

}  // namespace
}  // namespace chmbook::platform
