// What hhc does when it cannot make a book: a non-zero exit status, an error
// naming the file, no partial book, an existing book untouched.
#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
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
using test_support::WriteBytes;

class CompileFailuresTest : public ::testing::Test {
protected:
    CommandResult Compile(const std::string& arguments, const std::string& prefix = "") {
        return test_support::RunCommand(prefix + Quote(HHC_EXECUTABLE) + " " + arguments, scratch_.path());
    }
    static std::set<std::string> FilesIn(const fs::path& folder) {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder)) found.insert(entry.path().filename().string());
        return found;
    }

    test_support::ScratchFolder scratch_{"hhc-test"};
};

TEST_F(CompileFailuresTest, WrongUsageExplainsItself) {
    const CommandResult none = Compile("");
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.errors.find("hhc"), std::string::npos);
    EXPECT_EQ(Compile("a.hhp b.hhp").exitCode, 2);
    EXPECT_EQ(Compile("--help").exitCode, 0);
    const fs::path missing = scratch_.path() / "nowhere" / "Temp.hhp";
    const CommandResult run = Compile(Quote(missing));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find(missing.string()), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists(scratch_.path() / "nowhere"));
}

// Each failure names the file concerned and leaves the folder as it was:
// no book, no temporary file, an older book or a folder in its place kept.
TEST_F(CompileFailuresTest, AFailedCompileLeavesTheFolderAsItWas) {
    const struct {
        const char* name;
        std::function<void(const fs::path&)> arrange;
        std::string mention;
    } cases[] = {
        {"missing [FILES] entry", [](const fs::path& f) { fs::remove(f / "index.htm"); }, "index.htm"},
        {"missing contents file", [](const fs::path& f) { fs::remove(f / "Temp.hhc"); }, "Temp.hhc"},
        {"no files", [](const fs::path& f) { WriteBytes(f / "Temp.hhp", "[OPTIONS]\nTitle=Nothing\n"); }, "Temp.hhp"},
        {"output folder blocked by a file",
         [](const fs::path& f) {
             WriteBytes(f / "blocker", "a file where the output folder should be");
             WriteBytes(f / "Temp.hhp", "[OPTIONS]\nCompiled file=blocker\\Book.chm\n[FILES]\nindex.htm\n");
         },
         "Book.chm"},
        {"folder in the book's place",
         [](const fs::path& f) {
             fs::remove(f / "Temp.chm");
             WriteBytes(f / "Temp.chm" / "inside.txt", "kept");
         },
         "Temp.chm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = scratch_.path() / c.name;
        const fs::path project = WriteBuildProject(folder, "Old", {{"a", "text"}});
        ASSERT_EQ(Compile(Quote(project)).exitCode, 0);
        c.arrange(folder);
        const std::set<std::string> before = FilesIn(folder);
        const std::string old = fs::is_regular_file(folder / "Temp.chm") ? ReadBytes(folder / "Temp.chm") : "";
        const CommandResult run = Compile(Quote(project));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.errors.find(c.mention), std::string::npos) << run.errors;
        EXPECT_EQ(run.output.find("Compiled "), std::string::npos) << "no summary of a book that was not written";
        EXPECT_EQ(FilesIn(folder), before);
        if (!old.empty()) {
            EXPECT_TRUE(ReadBytes(folder / "Temp.chm") == old);
        }
    }
    EXPECT_EQ(ReadBytes(scratch_.path() / "folder in the book's place" / "Temp.chm" / "inside.txt"), "kept");
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
    const CommandResult run = Compile(Quote(folder / "ro.hhp"), asUser);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(run.exitCode, 1) << run.output << run.errors;
    EXPECT_NE(run.errors.find("ro.chm"), std::string::npos) << run.errors;
    EXPECT_EQ(ReadBytes(folder / "ro.chm"), "an older book");
    EXPECT_EQ(FilesIn(folder), (std::set<std::string>{"a.htm", "ro.hhp", "ro.chm"}));
}

}  // namespace
}  // namespace hhc::testing
