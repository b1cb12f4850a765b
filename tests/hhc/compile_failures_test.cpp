// What hhc does when it cannot make a book: a non-zero exit status, an error
// naming the file and the problem, no partial book, an existing book untouched.
#include <gtest/gtest.h>

#include <unistd.h>

#include <set>

#include "sample_projects.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace hhc::testing {
namespace {
namespace fs = std::filesystem;
using test_support::CommandResult;
using test_support::Quote;
using test_support::ReadBytes;
using test_support::RunCommand;
using test_support::ScratchFolder;
using test_support::WriteBytes;

class CompileFailuresTest : public ::testing::Test {
protected:
    CommandResult Compile(const std::string& arguments) {
        return RunCommand(Quote(HHC_EXECUTABLE) + " " + arguments, scratch_.path());
    }

    // Only the files that were there before: no book, no temporary file.
    static void ExpectFolderHoldsOnly(const fs::path& folder, const std::set<std::string>& names) {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename().string());
        EXPECT_EQ(found, names);
    }

    ScratchFolder scratch_{"hhc-test"};
};

TEST_F(CompileFailuresTest, WrongUsageExplainsItself) {
    const CommandResult none = Compile("");
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.errors.find("Usage: hhc PROJECT.hhp"), std::string::npos);
    EXPECT_EQ(Compile("a.hhp b.hhp").exitCode, 2);
    EXPECT_EQ(Compile("--help").exitCode, 0);
}

TEST_F(CompileFailuresTest, AMissingProjectIsNamed) {
    const fs::path project = scratch_.path() / "nowhere" / "Temp.hhp";
    const CommandResult run = Compile(Quote(project));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find(project.string()), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("cannot open the project file"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(scratch_.path() / "nowhere"));
}

TEST_F(CompileFailuresTest, AMissingFilesEntryLeavesTheExistingBookAlone) {
    const fs::path folder = scratch_.path() / "Temp";
    const fs::path project = WriteBuildProject(folder, "Old", {{"a", "text"}});
    ASSERT_EQ(Compile(Quote(project)).exitCode, 0);
    const std::string oldBook = ReadBytes(folder / "Temp.chm");

    fs::remove(folder / "index.htm");
    const CommandResult run = Compile(Quote(project));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("Temp.hhp: [FILES] entry \"index.htm\" not found"), std::string::npos) << run.errors;
    EXPECT_EQ(run.output.find("Compiled "), std::string::npos) << "no summary of a book that was not written";
    EXPECT_TRUE(ReadBytes(folder / "Temp.chm") == oldBook);
    ExpectFolderHoldsOnly(folder, {"0.htm", "Temp.hhc", "Temp.hhk", "Temp.hhp", "Temp.chm"});
}

TEST_F(CompileFailuresTest, AMissingContentsFileIsAnError) {
    const fs::path folder = scratch_.path() / "Temp";
    const fs::path project = WriteBuildProject(folder, "T", {{"a", "text"}});
    fs::remove(folder / "Temp.hhc");
    const CommandResult run = Compile(Quote(project));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("Contents file \"Temp.hhc\" not found"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(folder / "Temp.chm"));
}

TEST_F(CompileFailuresTest, AnUnwritableOutputFolderLeavesNothingBehind) {
    const fs::path folder = scratch_.path() / "p";
    WriteBytes(folder / "a.htm", "<title>a</title>");
    WriteBytes(folder / "blocker", "a file where the output folder should be");
    WriteBytes(folder / "p.hhp", "[OPTIONS]\nCompiled file=blocker\\Book.chm\n[FILES]\na.htm\n");
    const CommandResult run = Compile(Quote(folder / "p.hhp"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("Book.chm"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("cannot create the book"), std::string::npos) << run.errors;
    ExpectFolderHoldsOnly(folder, {"a.htm", "blocker", "p.hhp"});
}

TEST_F(CompileFailuresTest, AReadOnlyFolderKeepsTheExistingBook) {
    const fs::path folder = scratch_.path() / "ro";
    WriteBytes(folder / "a.htm", "<title>a</title>");
    WriteBytes(folder / "ro.hhp", "[FILES]\na.htm\n");
    WriteBytes(folder / "ro.chm", "an older book");
    // The superuser writes anywhere: run the compiler as "nobody" then.
    std::string asUser;
    if (geteuid() == 0) {
        if (access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "running as root without setpriv";
        asUser = "/usr/bin/setpriv --reuid=nobody --regid=nogroup --clear-groups ";
        fs::permissions(scratch_.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                             fs::perms::others_read | fs::perms::others_exec);
    }
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    const CommandResult run = RunCommand(asUser + Quote(HHC_EXECUTABLE) + " " + Quote(folder / "ro.hhp"), scratch_.path());
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(run.exitCode, 1) << run.output << run.errors;
    EXPECT_NE(run.errors.find("cannot create the book"), std::string::npos) << run.errors;
    EXPECT_EQ(ReadBytes(folder / "ro.chm"), "an older book");
    ExpectFolderHoldsOnly(folder, {"a.htm", "ro.hhp", "ro.chm"});
}

TEST_F(CompileFailuresTest, AFolderInTheBooksPlaceIsNotReplaced) {
    const fs::path folder = scratch_.path() / "d";
    WriteBytes(folder / "a.htm", "<title>a</title>");
    WriteBytes(folder / "d.hhp", "[FILES]\na.htm\n");
    WriteBytes(folder / "d.chm" / "inside.txt", "kept");
    const CommandResult run = Compile(Quote(folder / "d.hhp"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("a folder of that name is in the way"), std::string::npos) << run.errors;
    EXPECT_EQ(ReadBytes(folder / "d.chm" / "inside.txt"), "kept");
    ExpectFolderHoldsOnly(folder, {"a.htm", "d.hhp", "d.chm"});
}

TEST_F(CompileFailuresTest, AProjectWithoutFilesIsAnError) {
    const fs::path folder = scratch_.path() / "e";
    WriteBytes(folder / "e.hhp", "[OPTIONS]\nTitle=Nothing\n");
    const CommandResult run = Compile(Quote(folder / "e.hhp"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("names no file"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(folder / "e.chm"));
}

}  // namespace
}  // namespace hhc::testing
