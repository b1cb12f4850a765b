// Projects as help authors write them: escaped and UTF-8 titles, a stop list,
// options and sections the compiler does not honour. The books are read back
// with CHM readers we did not write.
#include <gtest/gtest.h>

#include "test_support/chm_readers.h"
#include "test_support/pychm.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace hhc::testing {
namespace {

namespace fs = std::filesystem;
using test_support::BookFiles;
using test_support::CommandResult;
using Hits = std::map<std::string, std::string>;

std::size_t CountLines(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; at = text.find('\n', at))
        ++count;
    return count;
}

const std::string kProject =
    "[OPTIONS]\r\n"
    "Compiled file=book.chm\r\n"
    "Default topic=A&B.htm\r\n"
    "Full-text search=Yes\r\n"
    "Full text search stop list file=STOPLIST\r\n"
    "Language=0x409\r\n"
    "Title=Titles\r\n"
    "Binary TOC=Yes\r\n"
    "Binary Index=No\r\n"
    "binary toc=Yes\r\n"
    "Error log file=log.txt\r\n"
    "Frobnicate=1\r\n"
    "\r\n"
    "[MAP]\r\n"
    "#define IDH_A 1\r\n"
    "#define IDH_B 2\r\n"
    "\r\n"
    "[FILES]\r\n"
    "A&B.htm\r\n"
    "utf8.htm\r\n";

// A page named "A&B" the way our own books escape it, and a UTF-8 page with
// a curly quote and a numeric reference in a code page 1252 book.
const BookFiles kPages = {
    {"/A&B.htm", "<HTML><HEAD><TITLE>A&amp;B</TITLE></HEAD><BODY>Common, the AND rare.</BODY></HTML>"},
    {"/utf8.htm", "<html><head><meta charset=\"utf-8\"><title>What\xE2\x80\x99s New &#8212; 3.12</title></head>"
                  "<body>Common words and THE others</body></html>"},
};
const Hits kCommonHits = {{"A&B", "A&B.htm"}, {"What\x92s New \x97 3.12", "utf8.htm"}};

class AuthoredProjectsTest : public ::testing::Test {
protected:
    // Writes the project with `stopList` named (and, when given, written) and
    // compiles it.
    CommandResult Compile(const std::string& stopListName, const std::string* stopList) {
        std::string project = kProject;
        project.replace(project.find("STOPLIST"), 8, stopListName);
        scratch_.Write("book/book.hhp", project);
        for (const auto& [name, bytes] : kPages) scratch_.Write("book" + name, bytes);
        if (stopList) scratch_.Write("book/" + stopListName, *stopList);
        return test_support::RunCommand(test_support::Quote(HHC_EXECUTABLE) + " " + test_support::Quote(scratch_ / "book/book.hhp"), scratch_.path());
    }

    Hits Search(const std::string& word) {
        std::string problem;
        const auto hits = test_support::SearchWithPychm(scratch_ / "book/book.chm", word, scratch_.path(), &problem);
        EXPECT_TRUE(hits) << problem;
        return hits.value_or(Hits{});
    }

    // Every reader finds the pages byte for byte beside the system files (the
    // stop list is read, not compiled).
    void ExpectEveryReaderFindsThePages() {
        for (const test_support::ChmReader& reader : test_support::kChmReaders) {
            std::string problem;
            const fs::path folder = scratch_ / (std::string(reader.name) + "-work");
            fs::create_directories(folder);
            std::optional<BookFiles> files = reader.extract(scratch_ / "book/book.chm", folder, &problem);
            ASSERT_TRUE(files) << reader.name << ": " << problem;
            std::erase_if(*files, [](const auto& file) { return file.first.starts_with("/#") || file.first.starts_with("/$"); });
            EXPECT_EQ(test_support::Joined(test_support::CompareWithExpected(reader.name, *files, kPages)), "");
        }
    }

    test_support::ScratchFolder scratch_{"hhc-test", test_support::ScratchUse::kPrograms};
};

TEST_F(AuthoredProjectsTest, TitlesAreDecodedStopWordsLeftOutAndUnhonouredOptionsNamedOnce) {
    const std::string stopList = "The\r\nand\r\n\r\n";
    const CommandResult run = Compile("book.stp", &stopList);
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    for (const char* named : {"\"Binary TOC=Yes\"", "\"Error log file=log.txt\"", "\"Frobnicate=1\"", "[MAP]"}) {
        EXPECT_EQ(CountLines(run.errors, named), 1u) << named << " in:\n" << run.errors;
    }
    EXPECT_EQ(CountLines(run.errors, "warning"), 4u) << run.errors;  // Binary Index=No asks for nothing

    ExpectEveryReaderFindsThePages();
    EXPECT_EQ(Search("common"), kCommonHits);
    EXPECT_EQ(Search("rare"), (Hits{{"A&B", "A&B.htm"}}));
    EXPECT_EQ(Search("the"), Hits{});
    EXPECT_EQ(Search("and"), Hits{});
    EXPECT_EQ(Search("others"), (Hits{{"What\x92s New \x97 3.12", "utf8.htm"}}));

    // A missing stop list is named, and every word indexed.
    const CommandResult missing = Compile("missing.stp", nullptr);
    ASSERT_EQ(missing.exitCode, 0) << missing.output << missing.errors;
    EXPECT_EQ(CountLines(missing.errors, "missing.stp"), 1u) << missing.errors;
    EXPECT_EQ(Search("the"), kCommonHits);
}

}  // namespace
}  // namespace hhc::testing
