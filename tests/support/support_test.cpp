// The shared helpers themselves: a check that passes when it should fail
// would hide faults in every suite that uses it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "test_support/chm_readers.h"
#include "test_support/pychm.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

#ifdef TEST_SUPPORT_HAVE_CONTAINER
#include "container/itsf_writer.h"
#endif

namespace test_support {
namespace {

namespace fs = std::filesystem;

TEST(ScratchFolder, EachIsFreshAndGoneAfterwards) {
    fs::path first;
    {
        ScratchFolder a("support-test");
        ScratchFolder b("support-test");
        first = a.path();
        EXPECT_NE(a.path(), b.path());
        EXPECT_TRUE(fs::is_empty(a.path()));
        EXPECT_NE(a.path().filename().string().find("EachIsFreshAndGoneAfterwards"), std::string::npos);
        const fs::path file = a.Write("sub/deeper/f.txt", std::string("x\0y", 3));
        EXPECT_EQ(ReadBytes(file), std::string("x\0y", 3));
        EXPECT_EQ(a.u16("sub"), (a.path() / "sub").u16string());
    }
    EXPECT_FALSE(fs::exists(first));
}

TEST(ScratchFolder, LiesInTmpdirWhenThatIsSet) {
    ScratchFolder outer;
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", outer.path().c_str(), 1);
    {
        ScratchFolder inner("inner", ScratchUse::kPrograms);
        EXPECT_EQ(inner.path().parent_path(), outer.path());
    }
    if (old) ::setenv("TMPDIR", saved.c_str(), 1);
    else ::unsetenv("TMPDIR");
    EXPECT_TRUE(fs::is_empty(outer.path()));
}

TEST(TestFiles, FilesBelowNamesEveryFileFromTheRoot) {
    ScratchFolder dir;
    WriteBytes(dir / "a.htm", "A");
    WriteBytes(dir / "sub/b c.htm", "");
    fs::create_directories(dir / "empty");
    EXPECT_EQ(FilesBelow(dir.path()), (BookFiles{{"/a.htm", "A"}, {"/sub/b c.htm", ""}}));
    EXPECT_EQ(ReadBytes(dir / "missing"), "");
    EXPECT_THROW(WriteBytes(dir / "a.htm" / "below a file", "x"), std::exception);
}

TEST(RunCommand, KeepsOutputErrorsAndExitCodeApart) {
    ScratchFolder dir;
    const std::string awkward = "it's a \"test\" $HOME `x` \\ *";
    const CommandResult run = RunCommand("printf %s " + Quote(awkward) + "; echo oops >&2; exit 3", dir.path());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.output, awkward);
    EXPECT_EQ(run.errors, "oops\n");
    EXPECT_TRUE(fs::is_empty(dir.path())) << "capture files left behind";
    EXPECT_TRUE(IsOnPath("sh"));
    EXPECT_FALSE(IsOnPath("no-such-program-here"));
}

TEST(CompareWithExpected, ReportsMissingUnexpectedAndDifferentFiles) {
    const BookFiles expected = {{"/same", "1"}, {"/other", "abc"}, {"/longer", "ab"}, {"/gone", ""}};
    const BookFiles found = {{"/same", "1"}, {"/other", "abd"}, {"/longer", "abc"}, {"/extra", ""}};
    const Problems problems = CompareWithExpected("r", found, expected);
    EXPECT_EQ(problems.size(), 4u) << Joined(problems);
    const std::string all = Joined(problems);
    for (const char* name : {"/other", "/longer", "/extra", "/gone"})
        EXPECT_NE(all.find(name), std::string::npos) << name << all;
    EXPECT_TRUE(CompareWithExpected("r", expected, expected).empty());
}

TEST(CompareWithExpected, CutsALongListShort) {
    BookFiles expected;
    for (char c = 0; c < 100; ++c) expected.emplace(std::string(1, c), "x");
    EXPECT_LE(CompareWithExpected("r", {}, expected).size(), 31u);
}

TEST(ChmReaders, EveryReaderFailsOnAFileThatIsNoBook) {
    ScratchFolder dir;
    const fs::path book = dir.Write("not-a-book.chm", std::string(4096, 'z'));
    for (const ChmReader& reader : kChmReaders) {
        const Problems problems = CheckWithReader(reader, book, {{"/a.htm", "a"}}, dir.path());
        EXPECT_FALSE(problems.empty()) << reader.name;
    }
}

#ifdef TEST_SUPPORT_HAVE_CONTAINER

// A small book whose files every reader should give back exactly.
fs::path WriteSmallBook(const ScratchFolder& dir) {
    using hhc::container::Section;
    const std::vector<hhc::container::InternalFile> files = {
        {"/#SYSTEM", std::string("\x03\0\0\0", 4), Section::kUncompressed},
        {"/index.htm", "<html>hello</html>"},
        {"/Sub/Page.htm", std::string(5000, 'p')},
    };
    return dir.Write("small.chm", hhc::container::BuildContainer(files, {}));
}

const BookFiles kSmallBook = {{"/#ITBITS", ""},
                              {"/#SYSTEM", std::string("\x03\0\0\0", 4)},
                              {"/index.htm", "<html>hello</html>"},
                              {"/Sub/Page.htm", std::string(5000, 'p')}};

TEST(ChmReaders, EveryReaderGivesBackASmallBook) {
    ScratchFolder dir;
    const fs::path book = WriteSmallBook(dir);
    for (const ChmReader& reader : kChmReaders)
        EXPECT_TRUE(CheckWithReader(reader, book, kSmallBook, dir.path()).empty())
            << reader.name << Joined(CheckWithReader(reader, book, kSmallBook, dir.path()));
}

TEST(ChmReaders, EveryReaderNoticesOneChangedByteAndOneMissingFile) {
    ScratchFolder dir;
    const fs::path book = WriteSmallBook(dir);
    BookFiles changed = kSmallBook;
    changed["/Sub/Page.htm"][4000] = 'q';
    BookFiles more = kSmallBook;
    more["/missing.htm"] = "";
    for (const ChmReader& reader : kChmReaders) {
        EXPECT_EQ(CheckWithReader(reader, book, changed, dir.path()).size(), 1u) << reader.name;
        EXPECT_EQ(CheckWithReader(reader, book, more, dir.path()).size(), 1u) << reader.name;
    }
}

TEST(ChmReaders, PychmReportsWhatItCannotRead) {
    ScratchFolder dir;
    std::string problem;
    const auto report = ReadWithPychm(WriteSmallBook(dir), dir.path(), &problem);
    ASSERT_TRUE(report) << problem;
    EXPECT_EQ(report->files, kSmallBook);
    EXPECT_FALSE(ReadWithPychm(dir / "no such book.chm", dir.path(), &problem));
    EXPECT_FALSE(problem.empty());
}

#endif

}  // namespace
}  // namespace test_support
