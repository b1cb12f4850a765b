// The shared helpers themselves: a check that passes when it should fail
// would hide faults in every suite that uses it.
#include <gtest/gtest.h>

#include "test_support/chm_readers.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"

#ifdef TEST_SUPPORT_HAVE_CONTAINER
#include "container/itsf_writer.h"
#endif

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

TEST(ChmReaders, EveryReaderFailsOnAFileThatIsNoBook) {
    ScratchFolder dir;
    const fs::path book = dir.Write("not-a-book.chm", std::string(4096, 'z'));
    for (const ChmReader& reader : kChmReaders)
        EXPECT_FALSE(CheckWithReader(reader, book, {{"/a.htm", "a"}}, dir.path()).empty()) << reader.name;
}

#ifdef TEST_SUPPORT_HAVE_CONTAINER
// Every reader gives back a small book exactly, and reports one problem when
// a byte differs, a file is missing or a file is not expected.
TEST(ChmReaders, EveryReaderGivesBackASmallBookAndNoticesEachDifference) {
    ScratchFolder dir;
    using hhc::container::Section;
    const fs::path book = dir.Write(
        "small.chm", hhc::container::BuildContainer({{"/#SYSTEM", std::string("\x03\0\0\0", 4), Section::kUncompressed},
                                                     {"/index.htm", "<html>hello</html>"},
                                                     {"/Sub/Page.htm", std::string(5000, 'p')}},
                                                    {}));
    const BookFiles exact = {{"/#ITBITS", ""},
                             {"/#SYSTEM", std::string("\x03\0\0\0", 4)},
                             {"/index.htm", "<html>hello</html>"},
                             {"/Sub/Page.htm", std::string(5000, 'p')}};
    BookFiles changed = exact, more = exact, fewer = exact;
    changed["/Sub/Page.htm"][4000] = 'q';
    more["/missing.htm"] = "";
    fewer.erase("/index.htm");
    for (const ChmReader& reader : kChmReaders) {
        EXPECT_EQ(Joined(CheckWithReader(reader, book, exact, dir.path())), "") << reader.name;
        for (const BookFiles* wrong : {&changed, &more, &fewer})
            EXPECT_EQ(CheckWithReader(reader, book, *wrong, dir.path()).size(), 1u) << reader.name;
    }
}
#endif

}  // namespace
}  // namespace test_support
