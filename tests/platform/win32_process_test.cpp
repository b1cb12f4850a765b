// Starting, waiting for and releasing child processes through the Win32
// calls, with a small child program (win32_child.cpp) in place of a shell.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

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

TEST(Win32Process, ExitCodesCrashesAndArguments) {
    EXPECT_EQ(RunChild({u"exit", u"3"}), 3);
    EXPECT_EQ(RunChild({u"exit", u"255"}), 255);
    EXPECT_EQ(RunChild({u"crash"}), -1);
    test_support::ScratchFolder dir;
    const std::u16string log = dir.u16() + u"\\\u65E5\u5FD7 log.txt";
    EXPECT_EQ(RunChild({u"args", u"a b", u"\"q\"", u"", u"\u4E2D;*", u"C:\\dir with blank\\", u"x\\\"y"}, log), 0);
    EXPECT_EQ(Read(log), "[a b][\"q\"][][\xE4\xB8\xAD;*][C:\\dir with blank\\][x\\\"y]");
}

// A missing program, a folder and an output file that cannot be written fail
// to start, with a reason.
TEST(Win32Process, WhatCannotRunFailsToStart) {
    test_support::ScratchFolder dir;
    for (const auto& [program, log] : {std::pair{dir.u16() + u"\\no-such-program.exe", std::u16string()},
                                       {dir.u16(), u""},
                                       {kChild, dir.u16() + u"\\absent\\log.txt"}}) {
        std::u16string error;
        EXPECT_FALSE(StartProcess(program, {u"exit", u"0"}, log, &error).has_value()) << ToUtf8(program);
        EXPECT_FALSE(error.empty());
    }
}

// The compiler's log is emptied with the work folder right after the
// compiler ends; nothing may keep it from going.
TEST(Win32Process, OutputFileReplacedAndDeletableAtOnce) {
    test_support::ScratchFolder dir;
    const std::u16string log = dir.u16() + u"\\Temp.log";
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(WriteWholeFile(log, "old text that must go away"));
        EXPECT_EQ(RunChild({u"print"}, log), 5);
        EXPECT_EQ(Read(log), "out\nerr\n");
        EXPECT_EQ(DeleteFilesIn(dir.u16()), 0u) << "round " << round;
        EXPECT_EQ(LookUp(log), EntryKind::kNone) << "round " << round;
    }
}

// An inheritable handle of this process that the child has no use for must
// not reach it.
TEST(Win32Process, OnlyTheOutputHandlesAreInherited) {
    test_support::ScratchFolder dir;
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
    test_support::ScratchFolder dir;
    const std::u16string log = dir.u16() + u"\\pid.txt";
    EXPECT_EQ(RunChild({u"orphan"}, log), 9);
    const HANDLE orphan = OpenProcess(SYNCHRONIZE, FALSE, std::stoul(Read(log)));
    if (orphan == nullptr) return;  // already gone
    const DWORD waited = WaitForSingleObject(orphan, 10000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(orphan, 1);
    CloseHandle(orphan);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the child of a killed process still runs";
}

}  // namespace
}  // namespace chmbook::platform
