// chmbook-cli: its arguments and exit statuses, the options reaching the
// build, and a build killed midway in the language of the user's locale. What
// the build itself does is the build's own test; the executable with the real
// compiler runs in the readers' suite.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>
#include <tuple>
#ifndef _WIN32
#include <signal.h>
#endif

#include "batch/book_inputs.h"
#include "book_fixture.h"
#include "cli/command_line.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

class CliTest : public BookTest {
protected:
    int Run(std::vector<std::u16string> arguments) {
        std::ostringstream out, err;
        const int status = cli::Run(arguments, {U16(app_), options_.openDocument}, out, err);
        out_ = out.str();
        err_ = err.str();
        return status;
    }
    fs::path Book() const { return app_ / "Release" / "T.chm"; }

    std::string out_, err_;
};

// Each usage error or failure names what is wrong and builds nothing; an
// unsafe title touches neither the sources nor the program folder (which
// titles are unsafe is the title check's own test). Help goes to standard
// output.
TEST_F(CliTest, UsageErrorsAndFailuresNameTheProblemAndTouchNothing) {
    const struct {
        std::vector<std::u16string> arguments;
        int status;
        std::string named;
    } cases[] = {
        {{}, cli::kExitUsage, "--title"},
        {{u"--title", u"", u"folder"}, cli::kExitUsage, ""},
        {{u"--title=T"}, cli::kExitUsage, "FOLDER"},
        {{u"--title", u"T", u"--colour", u"red", u"a"}, cli::kExitUsage, "--colour"},
        {{u"a", u"--title"}, cli::kExitUsage, "--title"},
        {{u"--open=yes", u"--title", u"T", u"a"}, cli::kExitUsage, "--open"},
        {{u"--title", u"T", U16(root_ / "nowhere")}, cli::kExitFailed, "nowhere"},
        {{u"--delete-sources", u"--title", u"../../evil", U16(sources_)}, cli::kExitUsage, "\"/\""},
    };
    AddSource("a.txt", "A");
    fs::remove_all(app_ / "Release");
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.arguments), c.status) << c.named;
        EXPECT_NE(err_.find(c.named), std::string::npos) << err_;
        EXPECT_TRUE(out_.empty());
    }
    EXPECT_EQ(FilesIn(sources_).size(), 1u);
    EXPECT_EQ(FilesIn(root_).size(), 0u);  // no evil.chm above the program folder
    EXPECT_FALSE(fs::exists(app_ / "Release"));
    EXPECT_FALSE(fs::exists(app_ / "Temp"));
    fs::remove(sources_ / "a.txt");
    EXPECT_EQ(Run({u"--title", u"T", U16(sources_)}), cli::kExitFailed);
    EXPECT_EQ(Run({u"-h"}), cli::kExitProduced);
    EXPECT_TRUE(out_.starts_with("Usage: chmbook-cli --title TITLE [options] FOLDER\n"));
}

// The notice and the statement are the window's defaults; given snippets
// replace theirs. The options (the source encoding too) reach the build, and
// the path of the book is printed; without them nothing is opened or deleted.
TEST_F(CliTest, BuildsWithTheWindowDefaultsAndTheGivenSnippetsThenPrintsThePath) {
    AddSource("a.txt", std::string("-NA\0", 4));
    ASSERT_EQ(cli::kExitProduced, Run({u"--title", u"T", u"--paper-top", u"a\nb", u"--foot-demo", u"<i>f</i>",
                                       u"--open", u"--delete-sources", u"--source-encoding", u"utf-16", U16(sources_)}))
        << err_;
    EXPECT_TRUE(out_.ends_with(Book().string() + "\n")) << out_;
    EXPECT_EQ(opened_, std::vector<std::u16string>{U16(Book())});
    EXPECT_TRUE(FilesIn(sources_).empty());
    const std::string index = ReadBytes(app_ / "seen" / "index.htm"), page = ReadBytes(app_ / "seen" / "0.htm");
    const std::string statement = platform::UnicodeToAnsi(StatementText());
    EXPECT_NE(index.find("'#FF0000'>" + platform::UnicodeToAnsi(NoticeText()) + "</font>"), std::string::npos);
    EXPECT_NE(index.find("class='TitleDemo'>" + statement + "</td>"), std::string::npos);
    EXPECT_NE(index.find("class='FootDemo'><i>f</i></td>"), std::string::npos);
    EXPECT_NE(page.find("class='TitleDemo'>a\r\nb</td>"), std::string::npos);
    EXPECT_NE(page.find("class='FootDemo'>" + statement + "</td>"), std::string::npos);
    EXPECT_NE(page.find("<p>\xD6\xD0" "A</P>"), std::string::npos);  // 中A in code page 936

    opened_.clear();
    AddSource("b.txt", "B");
    ASSERT_EQ(Run({u"--title=T", U16(sources_)}), cli::kExitProduced) << err_;
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(FilesIn(sources_).size(), 1u);
}

#ifndef _WIN32
// Whether the process has ended within three seconds (gone, or ended and not yet reaped).
bool EndsSoon(pid_t pid) {
    for (int tries = 0; tries < 150; ++tries, std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
        const std::string stat = ReadBytes(fs::path("/proc") / std::to_string(pid) / "stat");
        if (stat.empty() ? ::kill(pid, 0) != 0 : stat.substr(stat.rfind(')') + 2, 1) == "Z") return true;
    }
    return false;
}

// Killed while the compiler runs: the compiler ends with it, nothing is
// deleted, and the next build makes the right book and leaves no stale file.
// The executable speaks the language LC_ALL, LC_MESSAGES or LANG names (on
// Windows, the user's display language instead) from its first stage on.
TEST_F(CliTest, KilledBuildTakesItsCompilerAlongAndTheNextBuildIsRight) {
    fs::copy_file(CHMBOOK_CLI, app_ / "chmbook-cli");
    const std::vector<std::u16string> arguments = {u"--title", u"T", u"--delete-sources", U16(sources_)};
    const char* saved = std::getenv("LC_ALL");
    const std::string before = saved ? saved : "";
    for (const auto& [signal, locale, stage] : {std::tuple{SIGKILL, "zh_CN.UTF-8", "正在写入目录页"},
                                                std::tuple{SIGTERM, "C", "Writing the list page"}}) {
        SCOPED_TRACE(signal);
        ::setenv("LC_ALL", locale, 1);
        AddSource("a.txt", "A");
        AddSource("b.txt", "B");
        fs::remove(app_ / "hhc-pid.txt");
        SetCompilerMode(app_, "sleep");
        WriteBytes(app_ / "Release" / "T.chm.part-99999", "half a book");  // what a kill during the copy leaves
        auto child = platform::StartProcess(U16(app_ / "chmbook-cli"), arguments, U16(root_ / "log.txt"), nullptr);
        ASSERT_TRUE(child);
        for (int tries = 0; tries < 500 && !fs::exists(app_ / "hhc-pid.txt"); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ::kill(static_cast<pid_t>(child->handle), signal);
        EXPECT_NE(platform::WaitForExit(*child), 0);
        platform::ReleaseProcess(*child);
        EXPECT_NE(ReadBytes(root_ / "log.txt").find(stage), std::string::npos) << ReadBytes(root_ / "log.txt");
        EXPECT_TRUE(EndsSoon(static_cast<pid_t>(std::stol("0" + ReadBytes(app_ / "hhc-pid.txt")))));
        EXPECT_EQ(FilesIn(sources_).size(), 2u);
        EXPECT_FALSE(fs::exists(Book()));

        SetCompilerMode(app_, "ok");
        EXPECT_EQ(Run(arguments), cli::kExitProduced) << err_;
        EXPECT_TRUE(ReadBytes(Book()).ends_with("FAKE-CHM " + (app_ / "Temp" / "Temp.hhp").string()));
        EXPECT_EQ(FilesIn(app_ / "Release"), std::vector<std::string>{"T.chm"});
        fs::remove(Book());
    }
    saved ? ::setenv("LC_ALL", before.c_str(), 1) : ::unsetenv("LC_ALL");
}

#endif

}  // namespace
}  // namespace chmbook::testing
