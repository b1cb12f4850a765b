// File system and process functions of the platform layer, against a scratch
// folder, with /bin/sh as the child process.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook::platform {
namespace {

using Names = std::vector<std::u16string>;
namespace fs = std::filesystem;

// Ordinary files only (no folders, no hidden files), matched without regard
// to case, in the order of their upper-cased names; a name that is not UTF-8
// still opens under the name given back.
TEST(FindFiles, MatchesOrdinaryFilesInUpperCaseOrdinalOrder) {
    test_support::ScratchFolder dir;
    for (const char* name : {"b.txt", "A.txt", "_x.txt", "a1.TXT", "Z.txt", "\xE4\xB8\xAD.txt", "notes.md",
                             ".hidden.txt", "keep.txt.bak", "keeptxt", "\xD6\xD0.txt"})
        dir.Write(name, name);
    fs::create_directory(dir / "folder.txt");
    const Names all = FindFiles(dir.u16(), u"*.txt");
    EXPECT_EQ(all, (Names{u"A.txt", u"a1.TXT", u"b.txt", u"Z.txt", u"_x.txt", u"\u4E2D.txt", u"\xDCD6\xDCD0.txt"}));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(dir.u16() + kPathSeparator + all.back(), bytes));
    EXPECT_EQ(bytes, "\xD6\xD0.txt");
    EXPECT_EQ(FindFiles(dir.u16(), u"?.TXT"), (Names{u"A.txt", u"b.txt", u"Z.txt", u"\u4E2D.txt"}));
    EXPECT_EQ(FindFiles(dir.u16(), u"*B*"), (Names{u"b.txt", u"keep.txt.bak"}));
    EXPECT_TRUE(FindFiles(dir.u16("absent"), u"*").empty());
}

TEST(Files, LookUpCreateReadWriteDeleteAndCopy) {
    test_support::ScratchFolder dir;
    dir.Write("a.txt", "x");
    dir.Write(".hidden", "x");
    EXPECT_EQ(LookUp(dir.u16("a.txt")), EntryKind::kFile);
    EXPECT_EQ(LookUp(dir.u16()), EntryKind::kFolder);
    EXPECT_EQ(LookUp(dir.u16("absent")), EntryKind::kNone);
    EXPECT_EQ(LookUp(u""), EntryKind::kNone);
    EXPECT_TRUE(IsOrdinaryFile(dir.u16("a.txt")));
    for (const std::u16string& path : {dir.u16(".hidden"), dir.u16(), dir.u16("absent")})
        EXPECT_FALSE(IsOrdinaryFile(path));
    EXPECT_TRUE(CreateFolder(dir.u16("sub")));
    EXPECT_FALSE(CreateFolder(dir.u16("sub")));
    EXPECT_FALSE(CreateFolder(dir.u16("absent/new")));

    std::string read = "stale";
    ASSERT_TRUE(WriteWholeFile(dir.u16("\xE4\xB8\xAD.txt"), std::string("\xD6\xD0\r\n\0end and more", 16)));
    ASSERT_TRUE(WriteWholeFile(dir.u16("\xE4\xB8\xAD.txt"), std::string("\xD6\xD0\r\n\0end", 7)));  // no leftovers
    ASSERT_TRUE(ReadWholeFile(dir.u16("\xE4\xB8\xAD.txt"), read));
    EXPECT_EQ(read, std::string("\xD6\xD0\r\n\0end", 7));
    EXPECT_FALSE(ReadWholeFile(dir.u16("absent"), read));
    EXPECT_EQ(read, "");
    read = "stale";
    EXPECT_FALSE(ReadWholeFile(dir.u16(), read));
    EXPECT_EQ(read, "");
    EXPECT_FALSE(WriteWholeFile(dir.u16("absent/x"), "x"));

    ASSERT_TRUE(CopyFileReplacing(dir.u16("a.txt"), dir.u16("\xE4\xB8\xAD.txt")));
    ASSERT_TRUE(ReadWholeFile(dir.u16("\xE4\xB8\xAD.txt"), read));
    EXPECT_EQ(read, "x");
    EXPECT_FALSE(CopyFileReplacing(dir.u16("absent"), dir.u16("a.txt")));
    EXPECT_FALSE(CopyFileReplacing(dir.u16("a.txt"), dir.u16("absent/x")));
    ASSERT_TRUE(ReadWholeFile(dir.u16("a.txt"), read));  // a failed copy leaves the target alone
    EXPECT_EQ(read, "x");

    dir.Write("sub/c", "x");
    EXPECT_TRUE(DeleteOneFile(dir.u16("a.txt")));
    EXPECT_FALSE(DeleteOneFile(dir.u16("a.txt")));
    EXPECT_FALSE(DeleteOneFile(dir.u16("sub")));
    EXPECT_EQ(DeleteFilesIn(dir.u16()), 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);  // sub stays
    EXPECT_TRUE(fs::exists(dir / "sub/c"));
}

TEST(Program, FolderHoldsTheRunningExecutable) {
    const std::u16string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder.size() == 1 || folder.back() != kPathSeparator);
    EXPECT_EQ(LookUp(folder + kPathSeparator + u"platform_tests"), EntryKind::kFile);
}

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
