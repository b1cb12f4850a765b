// chmbook-cli refuses a title that cannot name the book's file before it
// touches anything, and speaks the language of the user's locale.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "book_fixture.h"
#include "cli/command_line.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

class CliTitleTest : public BookTest {};

TEST_F(CliTitleTest, UnsafeTitleIsAUsageErrorNamingTheCharacterAndNothingIsTouched) {
    AddSource("a.txt", "A");
    fs::remove_all(app_ / "Release");
    fs::remove_all(app_ / "Temp");
    const std::vector<std::pair<std::u16string, std::string>> cases = {
        {u"../../evil", "\"/\""}, {u"a/b", "\"/\""}, {u"..", "\"..\""}, {u"two\nlines", "U+000A"}};
    for (const auto& [title, named] : cases) {
        std::ostringstream out, err;
        const cli::Environment environment{U16(app_), {}, Language::kEnglish};
        EXPECT_EQ(cli::Run({u"--delete-sources", u"--title", title, U16(sources_)}, environment, out, err),
                  cli::kExitUsage);
        EXPECT_NE(err.str().find(named), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty());
    }
    EXPECT_EQ(FilesIn(sources_).size(), 1u);
    EXPECT_EQ(FilesIn(root_).size(), 0u);  // no evil.chm above the program folder
    EXPECT_FALSE(fs::exists(app_ / "Release"));
    EXPECT_FALSE(fs::exists(app_ / "Temp"));
}

// The executable reads LC_ALL, LC_MESSAGES and LANG.
TEST_F(CliTitleTest, ExecutableSpeaksChineseWhenTheLocaleIsChinese) {
    fs::copy_file(CHMBOOK_CLI, app_ / "chmbook-cli");
    AddSource("a.txt", "A");
    SetCompilerMode(app_, "fail");
    const char* saved = std::getenv("LC_ALL");
    const std::string before = saved ? saved : "";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"zh_CN.UTF-8", "电子书没有生成：无法找到编译生成的电子书“"}, {"C", "The book was not made: could not find"}};
    for (const auto& [locale, expected] : cases) {
        ::setenv("LC_ALL", locale.c_str(), 1);
        std::u16string error;
        auto child = platform::StartProcess(U16(app_ / "chmbook-cli"), {u"--title", u"T", U16(sources_)},
                                            U16(root_ / "log.txt"), &error);
        ASSERT_TRUE(child) << platform::ToUtf8(error);
        EXPECT_EQ(platform::WaitForExit(*child), 1);
        platform::ReleaseProcess(*child);
        EXPECT_NE(ReadBytes(root_ / "log.txt").find(expected), std::string::npos) << ReadBytes(root_ / "log.txt");
    }
    if (saved)
        ::setenv("LC_ALL", before.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
}

}  // namespace
}  // namespace chmbook::testing
