// The shared helpers themselves, where a check could pass while it should
// fail and so hide faults in every suite that uses it.
#include <gtest/gtest.h>

#include "test_support/chm_readers.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"

namespace test_support {
namespace {

namespace fs = std::filesystem;

TEST(RunCommand, KeepsOutputErrorsAndExitCodeApart) {
    ScratchFolder dir;
    const std::string awkward = "it's a \"test\" $HOME `x` \\ *";
    const CommandResult run = RunCommand("printf %s " + Quote(awkward) + "; echo oops >&2; exit 3", dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.output, awkward);
    EXPECT_EQ(run.errors, "oops\n");
    EXPECT_TRUE(fs::is_empty(dir.path())) << "capture files left behind";
}

// A reader that cannot read the book fails rather than finding nothing (the
// round trips of the container and LZX suites show each reads a good one).
TEST(ChmReaders, EveryReaderFailsOnAFileThatIsNoBook) {
    ScratchFolder dir;
    const fs::path book = dir.Write("not-a-book.chm", std::string(4096, 'z'));
    for (const ChmReader& reader : kChmReaders) {
        std::string problem;
        EXPECT_FALSE(reader.extract(book, dir.path(), &problem)) << reader.name;
        EXPECT_NE(problem, "") << reader.name;
    }
}

// One problem for a byte that differs, a file missing, a file not expected.
TEST(ChmReaders, ComparisonReportsEachDifference) {
    const BookFiles exact = {{"/#ITBITS", ""}, {"/index.htm", "<html>"}, {"/Sub/Page.htm", std::string(5000, 'p')}};
    BookFiles changed = exact, more = exact, fewer = exact;
    changed["/Sub/Page.htm"][4000] = 'q';
    more["/missing.htm"] = "";
    fewer.erase("/index.htm");
    EXPECT_EQ(Joined(CompareWithExpected("reader", exact, exact)), "");
    for (const BookFiles* wrong : {&changed, &more, &fewer})
        EXPECT_EQ(CompareWithExpected("reader", exact, *wrong).size(), 1u);
}

}  // namespace
}  // namespace test_support
