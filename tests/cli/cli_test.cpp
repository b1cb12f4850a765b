// chmbook-cli: its arguments, what it prints, and one run of the real
// executable from a program folder of its own.
#include <gtest/gtest.h>

#include <sstream>

#include "book_fixture.h"
#include "batch/book_inputs.h"
#include "cli/command_line.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class CliTest : public BookTest {
protected:
    int Run(std::vector<std::u16string> arguments) {
        std::ostringstream out, err;
        const cli::Environment environment{U16(app_), [this](const std::u16string& path) { opened_.push_back(path); }};
        const int status = cli::Run(arguments, environment, out, err);
        out_ = out.str();
        err_ = err.str();
        return status;
    }
    std::u16string Folder() const { return U16(sources_); }

    std::string out_, err_;
};

TEST_F(CliTest, HelpDescribesEveryOption) {
    EXPECT_EQ(Run({u"--help"}), cli::kExitProduced);
    for (const char* option : {"--title TITLE", "--delete-sources", "--open", "--title-demo TEXT", "--foot-demo TEXT",
                               "--paper-top TEXT", "--paper-foot TEXT", "FOLDER"})
        EXPECT_NE(out_.find(option), std::string::npos) << option;
    EXPECT_TRUE(err_.empty());
    const std::string help = out_;
    EXPECT_EQ(Run({u"-h"}), cli::kExitProduced);
    EXPECT_EQ(out_, help);
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndSayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::u16string>, std::string>> cases = {
        {{}, "--title is required"},
        {{u"folder"}, "--title is required"},
        {{u"--title", u"", u"folder"}, "the title must not be empty"},
        {{u"--title=T"}, "FOLDER, the folder of the .txt files, is required"},
        {{u"--title", u"T", u"a", u"b"}, "only one FOLDER may be given"},
        {{u"--title", u"T", u"--colour", u"red", u"a"}, "unknown option \"--colour\""},
        {{u"a", u"--title"}, "--title needs a value"},
        {{u"--open=yes", u"--title", u"T", u"a"}, "--open takes no value"},
    };
    for (const auto& [arguments, expected] : cases) {
        EXPECT_EQ(Run(arguments), cli::kExitUsage) << expected;
        EXPECT_NE(err_.find("chmbook-cli: " + expected), std::string::npos) << err_;
        EXPECT_NE(err_.find("--help"), std::string::npos);
        EXPECT_TRUE(out_.empty());
    }
}

TEST_F(CliTest, MissingOrEmptyFolderIsReported) {
    EXPECT_EQ(Run({u"--title", u"T", U16(root_ / "nowhere")}), cli::kExitFailed);
    EXPECT_NE(err_.find("does not exist"), std::string::npos);
    EXPECT_EQ(Run({u"--title", u"T", Folder()}), cli::kExitFailed);
    EXPECT_NE(err_.find("holds no .txt file"), std::string::npos);
}

TEST_F(CliTest, BuildsTheBookAndPrintsEachStageThenThePath) {
    AddSource("a.txt", "A");
    AddSource("b.txt", "B");
    ASSERT_EQ(Run({u"--title", u"My Book", Folder()}), cli::kExitProduced) << err_;
    const std::u16string book = OutputPathForTitle(U16(app_), u"My Book");
    EXPECT_EQ(Lines(out_), (std::vector<std::string>{
                               "Preparing the work folder (0 pages written)",
                               "Writing the list page (0 pages written)",
                               "Writing the content pages (1 page written)",
                               "Writing the project files (3 pages written)",
                               "Running the help compiler (3 pages written)",
                               "Copying the book to its place (3 pages written)",
                               "Done (3 pages written)",
                               platform::ToUtf8(book),
                           }));
    EXPECT_TRUE(err_.empty());
    EXPECT_EQ(FakeBookMark(fs::path(book)), "FAKE-CHM " + (app_ / "Temp" / "Temp.hhp").string());
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(FilesIn(sources_).size(), 2u);
}

TEST_F(CliTest, OpensAndDeletesOnlyWhenAsked) {
    AddSource("a.txt", "A");
    ASSERT_EQ(Run({u"--open", u"--delete-sources", u"--title=T", Folder()}), cli::kExitProduced) << err_;
    EXPECT_EQ(opened_, std::vector<std::u16string>{OutputPathForTitle(U16(app_), u"T")});
    EXPECT_TRUE(FilesIn(sources_).empty());
}

TEST_F(CliTest, FillsTheWindowDefaultsAndTheGivenSnippets) {
    AddSource("a.txt", "A");
    SetCompilerMode(app_, "ok snapshot");
    ASSERT_EQ(Run({u"--title", u"T", u"--paper-top", u"top one\ntop two", u"--foot-demo", u"<i>foot</i>", Folder()}),
              cli::kExitProduced)
        << err_;
    const std::string index = ReadBytes(app_ / "seen" / "index.htm");
    const std::string page = ReadBytes(app_ / "seen" / "0.htm");
    EXPECT_NE(index.find("<font color='#FF0000'>" + platform::UnicodeToAnsi(NoticeText()) + "</font>"),
              std::string::npos);
    EXPECT_NE(index.find("class='TitleDemo'>" + platform::UnicodeToAnsi(StatementText()) + "</td>"),
              std::string::npos);
    EXPECT_NE(index.find("class='FootDemo'><i>foot</i></td>"), std::string::npos);
    EXPECT_NE(page.find("class='TitleDemo'>top one\r\ntop two</td>"), std::string::npos);
    EXPECT_NE(page.find("class='FootDemo'>" + platform::UnicodeToAnsi(StatementText()) + "</td>"),
              std::string::npos);
}

TEST_F(CliTest, FailedBuildExitsWithOneAndExplains) {
    AddSource("a.txt", "A");
    SetCompilerMode(app_, "fail");
    EXPECT_EQ(Run({u"--title", u"T", u"--delete-sources", Folder()}), cli::kExitFailed);
    EXPECT_NE(err_.find("chmbook-cli: The book was not made: could not find the compiled book"), std::string::npos)
        << err_;
    EXPECT_NE(err_.find("The source files were not deleted."), std::string::npos);
    EXPECT_EQ(out_.find(platform::ToUtf8(OutputPathForTitle(U16(app_), u"T"))), std::string::npos);
    EXPECT_EQ(FilesIn(sources_).size(), 1u);
}

// The executable itself, copied with the stand-in compiler into a program
// folder of its own: the work folder, Release and the compiler are found
// beside it.
TEST_F(CliTest, ExecutableBuildsABookEndToEnd) {
    const fs::path program = app_ / "chmbook-cli";
    fs::copy_file(CHMBOOK_CLI, program);
    fs::permissions(program, fs::perms::owner_all, fs::perm_options::replace);
    fs::remove_all(app_ / "Release");
    fs::remove_all(app_ / "Temp");
    AddSource("第一章.txt", "\xD6\xD0\xCE\xC4");
    AddSource("b.txt", "B");

    const fs::path log = root_ / "cli output.txt";
    std::u16string error;
    auto child = platform::StartProcess(U16(program), {u"--title", u"中文 Book", U16(sources_)}, U16(log), &error);
    ASSERT_TRUE(child) << platform::ToUtf8(error);
    const int status = platform::WaitForExit(*child);
    platform::ReleaseProcess(*child);
    const std::string output = ReadBytes(log);
    EXPECT_EQ(status, 0) << output;
    const fs::path book = app_ / "Release" / "中文 Book.chm";
    const std::vector<std::string> lines = Lines(output);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Preparing the work folder (0 pages written)");
    EXPECT_EQ(lines.back(), book.string());
    EXPECT_EQ(FakeBookMark(book), "FAKE-CHM " + (app_ / "Temp" / "Temp.hhp").string());
    EXPECT_TRUE(FilesIn(app_ / "Temp").empty());
}


}  // namespace
}  // namespace chmbook::testing
