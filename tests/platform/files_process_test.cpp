// File system and process functions of the platform layer on each system,
// against a scratch folder, with a small child program (child.cpp) in place
// of a shell.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

using Names = std::vector<std::u16string>;
using test_support::ScratchFolder;

const std::u16string kChild = std::filesystem::path(CHMBOOK_PLATFORM_CHILD).u16string();

std::u16string In(const ScratchFolder& dir, std::u16string_view name) {
    return dir.u16() + kPathSeparator + std::u16string(name);
}

// A dot file, which Windows hides by its attribute alone.
void WriteHidden(const std::u16string& path) {
    ASSERT_TRUE(WriteWholeFile(path, "x"));
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<const wchar_t*>(path.c_str()), FILE_ATTRIBUTE_HIDDEN));
#endif
}

std::string Read(const std::u16string& path) {
    std::string bytes = "stale";
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << ToUtf8(path);
    return bytes;
}

// Ordinary files only (no folders, no hidden files), matched on their long
// names without regard to case ("a.txt1" and "long name.txt.bak" have 8.3
// aliases ending in ".TXT"), in the order of their upper-cased names.
TEST(FindFiles, MatchesOrdinaryFilesInUpperCaseOrdinalOrder) {
    ScratchFolder dir;
    for (const char16_t* name : {u"b.txt", u"A.txt", u"_x.txt", u"a1.TXT", u"Z.txt", u"\u4E2D.txt", u"notes.md",
                                 u"keeptxt", u"a.txt1", u"long name.txt.bak"})
        ASSERT_TRUE(WriteWholeFile(In(dir, name), "x"));
    WriteHidden(In(dir, u".hidden.txt"));
    ASSERT_TRUE(CreateFolder(In(dir, u"folder.txt")));
    EXPECT_EQ(FindFiles(dir.u16(), u"*.txt"),
              (Names{u"A.txt", u"a1.TXT", u"b.txt", u"Z.txt", u"_x.txt", u"\u4E2D.txt"}));
    EXPECT_EQ(FindFiles(dir.u16(), u"?.TXT"), (Names{u"A.txt", u"b.txt", u"Z.txt", u"\u4E2D.txt"}));
    EXPECT_EQ(FindFiles(dir.u16(), u"*B*"), (Names{u"b.txt", u"long name.txt.bak"}));
    EXPECT_TRUE(FindFiles(In(dir, u"absent"), u"*").empty());
#ifndef _WIN32
    dir.Write("\xD6\xD0.gbk", "gbk");  // a name that is not UTF-8 opens under the name given back
    ASSERT_EQ(FindFiles(dir.u16(), u"*.gbk"), Names{u"\xDCD6\xDCD0.gbk"});
    EXPECT_EQ(Read(In(dir, u"\xDCD6\xDCD0.gbk")), "gbk");
#endif
}

TEST(Files, LookUpCreateReadWriteCopyAndDelete) {
    ScratchFolder dir;
    const std::u16string folder = In(dir, u"\u4E66 folder"), from = folder + kPathSeparator + u"\u7B2C\u4E00\u7AE0.txt",
                         to = folder + kPathSeparator + u"\u526F\u672C.chm", sub = folder + kPathSeparator + u"sub",
                         hidden = folder + kPathSeparator + u".hidden", absent = In(dir, u"absent");
    const std::string bytes("\xD6\xD0\r\n\0end", 7);
    ASSERT_TRUE(CreateFolder(folder) && CreateFolder(sub));
    ASSERT_TRUE(WriteWholeFile(from, bytes + " and more") && WriteWholeFile(from, bytes));  // replaced, no leftovers
    ASSERT_TRUE(WriteWholeFile(to, "old and longer") && CopyFileReplacing(from, to));
    WriteHidden(hidden);
    EXPECT_EQ((std::vector{LookUp(from), LookUp(folder), LookUp(absent), LookUp(u"")}),
              (std::vector{EntryKind::kFile, EntryKind::kFolder, EntryKind::kNone, EntryKind::kNone}));
    EXPECT_EQ((std::vector{IsOrdinaryFile(from), IsOrdinaryFile(hidden), IsOrdinaryFile(folder),
                           IsOrdinaryFile(absent)}),
              (std::vector{true, false, false, false}));
    // What must fail, leaving the target of a failed copy alone and a failed
    // read's buffer empty.
    std::string stale = "stale", staleToo = "stale";
    EXPECT_EQ((std::vector{CreateFolder(folder), CreateFolder(absent + u"/new"), CopyFileReplacing(absent, to),
                           CopyFileReplacing(from, absent + u"/x"), WriteWholeFile(absent + u"/x", "x"),
                           DeleteOneFile(sub), ReadWholeFile(absent, stale), ReadWholeFile(folder, staleToo)}),
              std::vector<bool>(8, false));
    EXPECT_EQ(Read(to), bytes);
    EXPECT_EQ(stale + staleToo, "");
    EXPECT_TRUE(DeleteOneFile(to));
    EXPECT_FALSE(DeleteOneFile(to));
    ASSERT_TRUE(WriteWholeFile(to, "x"));
    EXPECT_EQ(DeleteFilesIn(folder), 0u);  // files, hidden ones too; the subfolder stays
    EXPECT_EQ((std::vector{LookUp(from), LookUp(hidden), LookUp(to), LookUp(sub)}),
              (std::vector{EntryKind::kNone, EntryKind::kNone, EntryKind::kNone, EntryKind::kFolder}));
}

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

// Exit codes and arguments as given; the log is replaced, and can be deleted
// right after the child ends, as the compiler's log is with the work folder.
TEST(Process, ExitCodesArgumentsAndALogDeletableAtOnce) {
    EXPECT_EQ((std::vector{RunChild({u"exit", u"3"}), RunChild({u"exit", u"255"}), RunChild({u"crash"})}),
              (std::vector{3, 255, -1}));
    ScratchFolder dir;
    const std::u16string log = In(dir, u"\u65E5\u5FD7 log.txt");
    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(WriteWholeFile(log, "old text that must go away"));
        EXPECT_EQ(RunChild({u"args", u"a b", u"\"q\"", u"", u"\u4E2D;*", u"C:\\dir with blank\\", u"x\\\"y"}, log), 0);
        EXPECT_EQ(Read(log), "[a b][\"q\"][][\xE4\xB8\xAD;*][C:\\dir with blank\\][x\\\"y]!");
        EXPECT_EQ(DeleteFilesIn(dir.u16()), 0u) << "round " << round;
        EXPECT_EQ(LookUp(log), EntryKind::kNone) << "round " << round;
    }
}

// A missing program, a folder, a file that is no program and an output file
// that cannot be written fail to start, with a reason.
TEST(Process, WhatCannotRunFailsToStart) {
    ScratchFolder dir;
    ASSERT_TRUE(WriteWholeFile(In(dir, u"plain"), "#!/bin/sh\nexit 0\n"));
    for (const auto& [program, log] : {std::pair{In(dir, u"no-such-program.exe"), std::u16string()},
                                       {dir.u16(), u""}, {In(dir, u"plain"), u""}, {kChild, In(dir, u"absent/log")}}) {
        std::u16string error;
        EXPECT_FALSE(StartProcess(program, {u"exit", u"0"}, log, &error).has_value()) << ToUtf8(program);
        EXPECT_FALSE(error.empty()) << ToUtf8(program);
    }
}

#ifdef _WIN32
// An inheritable handle of this process that the child has no use for must
// not reach it.
TEST(Process, OnlyTheOutputHandlesAreInherited) {
    ScratchFolder dir;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE stray = CreateEventW(&inherit, TRUE, FALSE, nullptr);
    ASSERT_NE(stray, nullptr);
    const std::u16string number = FromUtf8(std::to_string(reinterpret_cast<std::intptr_t>(stray)));
    EXPECT_EQ(RunChild({u"handle", number}, In(dir, u"log")), 0);
    CloseHandle(stray);
}

// A child outlives nothing: when the process that started it is killed, the
// child ends too.
TEST(Process, ChildrenEndWithTheProcessThatStartedThem) {
    ScratchFolder dir;
    EXPECT_EQ(RunChild({u"orphan"}, In(dir, u"pid.txt")), 9);
    const HANDLE orphan = OpenProcess(SYNCHRONIZE, FALSE, std::stoul(Read(In(dir, u"pid.txt"))));
    if (orphan == nullptr) return;  // already gone
    const DWORD waited = WaitForSingleObject(orphan, 10000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(orphan, 1);
    CloseHandle(orphan);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the child of a killed process still runs";
}
#endif

}  // namespace
}  // namespace chmbook::platform
