// The reader checks themselves, where one could pass while it should fail and
// so hide faults in every suite that uses it (the round trips of the
// container and LZX suites show that each reader reads a good book).
#include <gtest/gtest.h>

#include "test_support/chm_readers.h"
#include "test_support/scratch_folder.h"

namespace test_support {
namespace {

// A reader that cannot read the book fails rather than finding nothing; the
// comparison finds one problem for a byte that differs, a file missing, a
// file not expected.
TEST(ChmReaders, NoticeABadBookAndEachDifference) {
    ScratchFolder dir;
    const auto book = dir.Write("not-a-book.chm", std::string(4096, 'z'));
    for (const ChmReader& reader : kChmReaders) {
        std::string problem;
        EXPECT_FALSE(reader.extract(book, dir.path(), &problem)) << reader.name;
        EXPECT_NE(problem, "") << reader.name;
    }
    const BookFiles exact = {{"/index.htm", "<html>"}, {"/Sub/Page.htm", std::string(5000, 'p')}};
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
