// Starting, waiting for and releasing child processes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

using test_support::ScratchFolder;

constexpr const char16_t* kShell = u"/bin/sh";

int RunShell(const std::vector<std::u16string>& arguments, const std::u16string& outputFile = u"") {
    std::u16string error;
    auto child = StartProcess(kShell, arguments, outputFile, &error);
    EXPECT_TRUE(child.has_value()) << ToUtf8(error);
    if (!child) return -2;
    const int code = WaitForExit(*child);
    ReleaseProcess(*child);
    ReleaseProcess(*child);  // safe twice
    return code;
}

TEST(Process, MissingProgramFailsToStart) {
    ScratchFolder dir;
    std::u16string error;
    EXPECT_FALSE(StartProcess(dir.u16("no-such-program"), {}, u"", &error).has_value());
    EXPECT_FALSE(error.empty());
}

TEST(Process, NonExecutableFileAndFolderFailToStart) {
    ScratchFolder dir;
    dir.Write("plain", "#!/bin/sh\nexit 0\n");
    std::u16string error;
    EXPECT_FALSE(StartProcess(dir.u16("plain"), {}, u"", &error).has_value());
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(StartProcess(dir.u16(), {}, u"", &error).has_value());
    EXPECT_FALSE(error.empty());
}

TEST(Process, ExitCodeComesBack) {
    EXPECT_EQ(RunShell({u"-c", u"exit 0"}), 0);
    EXPECT_EQ(RunShell({u"-c", u"exit 3"}), 3);
    EXPECT_EQ(RunShell({u"-c", u"kill -9 $$"}), -1);
}

TEST(Process, ArgumentsStayApart) {
    ScratchFolder dir;
    const std::u16string out = dir.u16("out.txt");
    EXPECT_EQ(RunShell({u"-c", u"printf '[%s]' \"$@\"", u"sh", u"a b", u"\"q\"", u"", u"\u4E2D;*"}, out), 0);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(out, bytes));
    EXPECT_EQ(bytes, "[a b][\"q\"][][\xE4\xB8\xAD;*]");
}

TEST(Process, OutputAndErrorGoToTheOutputFile) {
    ScratchFolder dir;
    const std::u16string out = dir.u16("log.txt");
    dir.Write("log.txt", "old text that must go away");
    EXPECT_EQ(RunShell({u"-c", u"echo out; echo err >&2; exit 5"}, out), 5);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(out, bytes));
    EXPECT_EQ(bytes, "out\nerr\n");
}

TEST(Process, UnwritableOutputFileFailsToStart) {
    ScratchFolder dir;
    std::u16string error;
    EXPECT_FALSE(StartProcess(kShell, {u"-c", u"exit 0"}, dir.u16("absent/log.txt"), &error).has_value());
    EXPECT_FALSE(error.empty());
}

TEST(Process, WaitingTwiceIsHarmless) {
    std::u16string error;
    auto child = StartProcess(kShell, {u"-c", u"exit 7"}, u"", &error);
    ASSERT_TRUE(child.has_value());
    EXPECT_EQ(WaitForExit(*child), 7);
    EXPECT_EQ(WaitForExit(*child), -1);
    ReleaseProcess(*child);
}

TEST(Process, ProgramWithoutFolderIsSearchedAlongPath) {
    std::u16string error;
    auto child = StartProcess(u"sh", {u"-c", u"exit 4"}, u"", &error);
    ASSERT_TRUE(child.has_value()) << ToUtf8(error);
    EXPECT_EQ(WaitForExit(*child), 4);
    ReleaseProcess(*child);
}

}  // namespace
}  // namespace chmbook::platform
