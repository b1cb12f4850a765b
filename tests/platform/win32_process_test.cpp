// Starting, waiting for and releasing child processes through the Win32
// calls, with a small child program in place of a shell.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

using test_support::ScratchFolder;

const std::u16string kChild = std::filesystem::path(CHMBOOK_PLATFORM_CHILD).u16string();

// Runs the child to its end; its output goes to `log` when one is given.
int RunChild(const std::vector<std::u16string>& arguments, const std::u16string& log = u"") {
    std::u16string error;
    auto child = StartProcess(kChild, arguments, log, &error);
    EXPECT_TRUE(child.has_value()) << ToUtf8(error);
    if (!child) return -2;
    const int code = WaitForExit(*child);
    ReleaseProcess(*child);
    ReleaseProcess(*child);  // safe twice
    return code;
}

std::string Read(const std::u16string& path) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << ToUtf8(path);
    return bytes;
}

TEST(Win32Process, ExitCodesAndCrashes) {
    const struct {
        std::vector<std::u16string> arguments;
        int expected;
    } cases[] = {
        {{u"exit", u"0"}, 0},
        {{u"exit", u"3"}, 3},
        {{u"exit", u"255"}, 255},
        {{u"crash"}, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(RunChild(c.arguments), c.expected) << ToUtf8(c.arguments[0]);
}

TEST(Win32Process, MissingProgramOrFolderFailsToStart) {
    ScratchFolder dir;
    for (const std::u16string& program : {dir.u16("no-such-program.exe"), dir.u16()}) {
        std::u16string error;
        EXPECT_FALSE(StartProcess(program, {}, u"", &error).has_value());
        EXPECT_FALSE(error.empty());
    }
}

TEST(Win32Process, ArgumentsStayApart) {
    ScratchFolder dir;
    const std::u16string log = dir.u16() + u"\\\u65E5\u5FD7 log.txt";
    EXPECT_EQ(RunChild({u"args", u"a b", u"\"q\"", u"", u"\u4E2D;*", u"C:\\dir with blank\\", u"x\\\"y"}, log), 0);
    EXPECT_EQ(Read(log), "[a b][\"q\"][][\xE4\xB8\xAD;*][C:\\dir with blank\\][x\\\"y]");
}

// The compiler's log is emptied with the work folder right after the
// compiler ends; nothing may keep it from going.
TEST(Win32Process, OutputFileReplacedAndDeletableAtOnce) {
    ScratchFolder dir;
    const std::u16string work = dir.u16();
    const std::u16string log = work + u"\\Temp.log";
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(WriteWholeFile(log, "old text that must go away"));
        EXPECT_EQ(RunChild({u"print"}, log), 5);
        EXPECT_EQ(Read(log), "out\nerr\n");
        EXPECT_EQ(DeleteFilesIn(work), 0u) << "round " << round;
        EXPECT_EQ(LookUp(log), EntryKind::kNone) << "round " << round;
    }
}

TEST(Win32Process, UnwritableOutputFileFailsToStart) {
    ScratchFolder dir;
    std::u16string error;
    EXPECT_FALSE(StartProcess(kChild, {u"exit", u"0"}, dir.u16() + u"\\absent\\log.txt", &error).has_value());
    EXPECT_FALSE(error.empty());
}

// An inheritable handle of this process that the child has no use for must
// not reach it.
TEST(Win32Process, OnlyTheOutputHandlesAreInherited) {
    ScratchFolder dir;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE stray = CreateEventW(&inherit, TRUE, FALSE, nullptr);
    ASSERT_NE(stray, nullptr);
    const std::u16string value = FromUtf8(std::to_string(reinterpret_cast<std::intptr_t>(stray)));
    EXPECT_EQ(RunChild({u"handle", value}, dir.u16() + u"\\log.txt"), 0);
    CloseHandle(stray);
}

// A child outlives nothing: when the process that started it is killed, the
// child ends too.
TEST(Win32Process, ChildrenEndWithTheProcessThatStartedThem) {
    ScratchFolder dir;
    const std::u16string log = dir.u16() + u"\\pid.txt";
    EXPECT_EQ(RunChild({u"orphan"}, log), 9);
    const DWORD pid = std::stoul(Read(log));
    const HANDLE orphan = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (orphan == nullptr) return;  // already gone
    const DWORD waited = WaitForSingleObject(orphan, 10000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(orphan, 1);
    CloseHandle(orphan);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the child of a killed process still runs";
}

}  // namespace
}  // namespace chmbook::platform
