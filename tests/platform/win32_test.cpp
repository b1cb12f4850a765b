// File system and process functions through the Win32 calls: wide names,
// attributes, the pattern matching that the system's own search does not get
// right, and child processes, with a small child program (win32_child.cpp) in
// place of a shell.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

using Names = std::vector<std::u16string>;

TEST(Win32Files, FindFilesMatchesLongNamesOnlyInUpperCaseOrdinalOrder) {
    test_support::ScratchFolder dir;
    // "a.txt1" and "long name.txt.bak" have 8.3 aliases ending in ".TXT".
    for (const char16_t* name : {u"b.txt", u"A.txt", u"a1.TXT", u"\u4E2D\u6587.txt", u"_x.txt", u"a.txt1",
                                 u"long name.txt.bak", u"notes.md", u"hidden.txt"})
        ASSERT_TRUE(WriteWholeFile(dir.u16() + u"\\" + name, "x"));
    const std::u16string hidden = dir.u16() + u"\\hidden.txt";
    ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<const wchar_t*>(hidden.c_str()), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateFolder(dir.u16() + u"\\folder.txt"));
    EXPECT_EQ(FindFiles(dir.u16(), u"*.txt"), (Names{u"A.txt", u"a1.TXT", u"b.txt", u"_x.txt", u"\u4E2D\u6587.txt"}));
    EXPECT_EQ(FindFiles(dir.u16(), u"?.TXT"), (Names{u"A.txt", u"b.txt"}));
}

TEST(Win32Files, WideNamesReadWriteCopyAndDelete) {
    test_support::ScratchFolder dir;
    const std::u16string folder = dir.u16() + u"\\\u4E66 folder";
    const std::u16string from = folder + u"\\\u7B2C\u4E00\u7AE0.txt", to = folder + u"\\\u526F\u672C.chm";
    ASSERT_TRUE(CreateFolder(folder));
    EXPECT_FALSE(CreateFolder(folder));
    ASSERT_TRUE(WriteWholeFile(from, "\xD6\xD0"));
    ASSERT_TRUE(WriteWholeFile(to, "old and longer"));
    EXPECT_TRUE(IsOrdinaryFile(from));
    ASSERT_TRUE(CopyFileReplacing(from, to));
    EXPECT_FALSE(CopyFileReplacing(folder + u"\\absent", to));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(to, bytes));
    EXPECT_EQ(bytes, "\xD6\xD0");
    ASSERT_TRUE(CreateFolder(folder + u"\\sub"));
    EXPECT_EQ(DeleteFilesIn(folder), 0u);
    EXPECT_EQ(LookUp(from), EntryKind::kNone);
    EXPECT_EQ(LookUp(folder + u"\\sub"), EntryKind::kFolder);
    EXPECT_FALSE(ReadWholeFile(from, bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(LookUp(ProgramFolder() + u"\\platform_tests.exe"), EntryKind::kFile);
}

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
