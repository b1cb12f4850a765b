// chmbook-cli killed while the compiler runs: the compiler ends with it,
// nothing is deleted, and the next build makes the right book and leaves no
// stale file behind.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>

#include <chrono>
#include <thread>

#include "book_fixture.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

using std::chrono::steady_clock;

// Whether the process has ended (gone, or ended and not yet reaped).
bool Ended(pid_t pid) {
    const std::string stat = ReadBytes(fs::path("/proc") / std::to_string(pid) / "stat");
    if (stat.empty()) return ::kill(pid, 0) != 0;
    const std::size_t paren = stat.rfind(')');
    return paren != std::string::npos && paren + 2 < stat.size() && stat[paren + 2] == 'Z';
}

template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit) {
    const auto end = steady_clock::now() + limit;
    while (!condition()) {
        if (steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

class CliKillTest : public BookTest {
protected:
    int RunCli(const fs::path& log, pid_t* started = nullptr, int signal = 0) {
        std::u16string error;
        auto child = platform::StartProcess(U16(app_ / "chmbook-cli"), {u"--title", u"T", u"--delete-sources", U16(sources_)},
                                            U16(log), &error);
        EXPECT_TRUE(child) << platform::ToUtf8(error);
        if (!child) return -1;
        if (signal != 0) {
            EXPECT_TRUE(WaitUntil([&] { return fs::exists(app_ / "hhc-pid.txt"); }, std::chrono::seconds(10)));
            *started = static_cast<pid_t>(std::stol("0" + ReadBytes(app_ / "hhc-pid.txt")));
            ::kill(static_cast<pid_t>(child->handle), signal);
        }
        const int status = platform::WaitForExit(*child);
        platform::ReleaseProcess(*child);
        return status;
    }
};

TEST_F(CliKillTest, KilledBuildTakesItsCompilerAlongAndTheNextBuildIsRight) {
    fs::copy_file(CHMBOOK_CLI, app_ / "chmbook-cli");
    AddSource("a.txt", "A");
    AddSource("b.txt", "B");
    const fs::path book = app_ / "Release" / "T.chm";
    for (const int signal : {SIGKILL, SIGTERM}) {
        fs::remove(app_ / "hhc-pid.txt");
        SetCompilerMode(app_, "sleep 20000");
        // What a kill during the copy to Release leaves.
        WriteBytes(app_ / "Release" / "T.chm.part-99999", "half a book");
        pid_t compiler = 0;
        EXPECT_NE(RunCli(root_ / "killed.txt", &compiler, signal), 0) << signal;
        ASSERT_GT(compiler, 0);
        EXPECT_TRUE(WaitUntil([&] { return Ended(compiler); }, std::chrono::seconds(3))) << "signal " << signal;
        EXPECT_EQ(FilesIn(sources_).size(), 2u);
        EXPECT_FALSE(fs::exists(book));

        SetCompilerMode(app_, "ok");
        EXPECT_EQ(RunCli(root_ / "next.txt"), 0) << ReadBytes(root_ / "next.txt");
        EXPECT_EQ(FakeBookMark(book), "FAKE-CHM " + (app_ / "Temp" / "Temp.hhp").string());
        EXPECT_EQ(FilesIn(app_ / "Release"), std::vector<std::string>{"T.chm"});
        EXPECT_TRUE(FilesIn(app_ / "Temp").empty());
        EXPECT_TRUE(FilesIn(sources_).empty());
        fs::remove(book);
        AddSource("a.txt", "A");
        AddSource("b.txt", "B");
    }
}

}  // namespace
}  // namespace chmbook::testing
#endif
