// chmbook-cli: its arguments and what it reports. The executable itself runs
// in the compiler's suite, with the real compiler.
#include <gtest/gtest.h>

#include <sstream>

#include "book_fixture.h"
#include "batch/book_inputs.h"
#include "cli/command_line.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

class CliTest : public BookTest {
protected:
    int Run(std::vector<std::u16string> arguments) {
        std::ostringstream out, err;
        const cli::Environment environment{U16(app_), [this](const std::u16string& path) {
                                               opened_.push_back(path);
                                               return true;
                                           }};
        const int status = cli::Run(arguments, environment, out, err);
        out_ = out.str();
        err_ = err.str();
        return status;
    }
    std::u16string Folder() const { return U16(sources_); }
    std::string Book(const std::u16string& title) const { return platform::ToUtf8(OutputPathForTitle(U16(app_), title)); }

    std::string out_, err_;
};

TEST_F(CliTest, HelpNamesEveryOption) {
    for (const char16_t* flag : {u"--help", u"-h"}) {
        EXPECT_EQ(Run({flag}), cli::kExitProduced);
        for (const char* option : {"--title", "--delete-sources", "--open", "--title-demo", "--foot-demo",
                                   "--paper-top", "--paper-foot", "FOLDER"})
            EXPECT_NE(out_.find(option), std::string::npos) << option;
    }
}

// Each usage error names what is wrong and builds nothing.
TEST_F(CliTest, UsageErrorsExitWithTwo) {
    const std::vector<std::pair<std::vector<std::u16string>, std::string>> cases = {
        {{}, "--title"},
        {{u"--title", u"", u"folder"}, ""},
        {{u"--title=T"}, "FOLDER"},
        {{u"--title", u"T", u"a", u"b"}, "FOLDER"},
        {{u"--title", u"T", u"--colour", u"red", u"a"}, "--colour"},
        {{u"a", u"--title"}, "--title"},
        {{u"--open=yes", u"--title", u"T", u"a"}, "--open"},
    };
    for (const auto& [arguments, named] : cases) {
        EXPECT_EQ(Run(arguments), cli::kExitUsage) << named;
        EXPECT_NE(err_.find(named), std::string::npos) << err_;
        EXPECT_TRUE(out_.empty());
    }
}

TEST_F(CliTest, MissingOrEmptyFolderFails) {
    EXPECT_EQ(Run({u"--title", u"T", U16(root_ / "nowhere")}), cli::kExitFailed);
    EXPECT_NE(err_.find("nowhere"), std::string::npos);
    EXPECT_EQ(Run({u"--title", u"T", Folder()}), cli::kExitFailed);
    EXPECT_FALSE(fs::exists(Book(u"T")));
}

TEST_F(CliTest, BuildsWithTheWindowDefaultsAndTheGivenSnippetsThenPrintsThePath) {
    AddSource("a.txt", "A");
    SetCompilerMode(app_, "ok snapshot");
    ASSERT_EQ(Run({u"--title", u"T", u"--paper-top", u"top one\ntop two", u"--foot-demo", u"<i>foot</i>", Folder()}),
              cli::kExitProduced)
        << err_;
    EXPECT_TRUE(out_.ends_with(Book(u"T") + "\n")) << out_;
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(FilesIn(sources_).size(), 1u);
    const std::string index = ReadBytes(app_ / "seen" / "index.htm"), page = ReadBytes(app_ / "seen" / "0.htm");
    const std::string statement = platform::UnicodeToAnsi(StatementText());
    EXPECT_NE(index.find("<font color='#FF0000'>" + platform::UnicodeToAnsi(NoticeText()) + "</font>"),
              std::string::npos);
    EXPECT_NE(index.find("class='TitleDemo'>" + statement + "</td>"), std::string::npos);
    EXPECT_NE(index.find("class='FootDemo'><i>foot</i></td>"), std::string::npos);
    EXPECT_NE(page.find("class='TitleDemo'>top one\r\ntop two</td>"), std::string::npos);
    EXPECT_NE(page.find("class='FootDemo'>" + statement + "</td>"), std::string::npos);
}

// The options reach the build; that it keeps the sources of a failed build is
// the build's own test.
TEST_F(CliTest, OpensAndDeletesWhenAsked) {
    AddSource("a.txt", "A");
    ASSERT_EQ(Run({u"--open", u"--delete-sources", u"--title=T", Folder()}), cli::kExitProduced) << err_;
    EXPECT_EQ(opened_, std::vector<std::u16string>{OutputPathForTitle(U16(app_), u"T")});
    EXPECT_TRUE(FilesIn(sources_).empty());
    SetCompilerMode(app_, "fail");
    AddSource("b.txt", "B");
    EXPECT_EQ(Run({u"--title=T", Folder()}), cli::kExitFailed);
    EXPECT_FALSE(err_.empty());
    EXPECT_EQ(out_.find(Book(u"T")), std::string::npos);
}

}  // namespace
}  // namespace chmbook::testing
