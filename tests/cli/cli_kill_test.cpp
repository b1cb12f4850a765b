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

// Whether `condition` holds within `seconds`.
template <typename Condition>
bool WaitUntil(Condition condition, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (; !condition(); std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (std::chrono::steady_clock::now() > end) return false;
    return true;
}

// Whether the process has ended (gone, or ended and not yet reaped).
bool Ended(pid_t pid) {
    const std::string stat = ReadBytes(fs::path("/proc") / std::to_string(pid) / "stat");
    if (stat.empty()) return ::kill(pid, 0) != 0;
    const std::size_t paren = stat.rfind(')');
    return paren != std::string::npos && paren + 2 < stat.size() && stat[paren + 2] == 'Z';
}

TEST_F(BookTest, KilledBuildTakesItsCompilerAlongAndTheNextBuildIsRight) {
    fs::copy_file(CHMBOOK_CLI, app_ / "chmbook-cli");
    const fs::path book = app_ / "Release" / "T.chm";
    // Runs a build that deletes its sources; with a signal, sent once the compiler runs.
    const auto run = [&](int signal) {
        std::u16string error;
        auto child = platform::StartProcess(U16(app_ / "chmbook-cli"), {u"--title", u"T", u"--delete-sources", U16(sources_)},
                                            U16(root_ / "log.txt"), &error);
        EXPECT_TRUE(child) << platform::ToUtf8(error);
        if (!child) return -1;
        if (signal != 0) {
            EXPECT_TRUE(WaitUntil([&] { return fs::exists(app_ / "hhc-pid.txt"); }, 10));
            ::kill(static_cast<pid_t>(child->handle), signal);
        }
        const int status = platform::WaitForExit(*child);
        platform::ReleaseProcess(*child);
        return status;
    };
    for (const int signal : {SIGKILL, SIGTERM}) {
        SCOPED_TRACE(signal);
        AddSource("a.txt", "A");
        AddSource("b.txt", "B");
        fs::remove(app_ / "hhc-pid.txt");
        SetCompilerMode(app_, "sleep 20000");
        WriteBytes(app_ / "Release" / "T.chm.part-99999", "half a book");  // what a kill during the copy leaves
        EXPECT_NE(run(signal), 0);
        const pid_t compiler = static_cast<pid_t>(std::stol("0" + ReadBytes(app_ / "hhc-pid.txt")));
        ASSERT_GT(compiler, 0);
        EXPECT_TRUE(WaitUntil([&] { return Ended(compiler); }, 3));
        EXPECT_EQ(FilesIn(sources_).size(), 2u);
        EXPECT_FALSE(fs::exists(book));

        SetCompilerMode(app_, "ok");
        EXPECT_EQ(run(0), 0) << ReadBytes(root_ / "log.txt");
        EXPECT_EQ(FakeBookMark(book), "FAKE-CHM " + (app_ / "Temp" / "Temp.hhp").string());
        EXPECT_EQ(FilesIn(app_ / "Release"), std::vector<std::string>{"T.chm"});
        EXPECT_TRUE(FilesIn(app_ / "Temp").empty());
        EXPECT_TRUE(FilesIn(sources_).empty());
        fs::remove(book);
    }
}

}  // namespace
}  // namespace chmbook::testing
#endif
