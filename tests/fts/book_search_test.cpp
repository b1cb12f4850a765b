// Books compiled by hhc from generated pages, searched through readers we did
// not write: pychm (chmlib's full-text search) for single words, and the
// index taken out of the book by chmlib, decoded by this folder's reader, for
// phrases.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "fts_reader.h"
#include "page_corpus.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace {

namespace fs = std::filesystem;
using fts_test::Block;
using fts_test::PageCorpus;
using test_support::Quote;

std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) out += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
    return out;
}

class BookSearch : public ::testing::Test {
protected:
    void SetUp() override {
        if (Python("-c 'import chm.chm'").exitCode != 0) GTEST_SKIP() << "pychm (package python3-chm) is not installed";
    }
    test_support::CommandResult Python(const std::string& arguments) {
        return test_support::RunCommand("/usr/bin/python3 " + arguments, dir_.path());
    }

    // Writes the pages, a list page linking them all and the project the book
    // build writes, then compiles it. Topic 0 is the list page; page i is topic i + 1.
    fs::path Compile(const PageCorpus& corpus) {
        std::string list = "<HTML>\r\n<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n<TITLE>list</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<table>\r\n";
        for (std::size_t i = 0; i < corpus.pages().size(); ++i) {
            dir_.Write(std::to_string(i) + ".htm", corpus.pages()[i].html);
            list += "<tr><td><a href='" + std::to_string(i) + ".htm'>" + corpus.pages()[i].title + "</a></td></tr>\r\n";
        }
        dir_.Write("index.htm", list + "</table>\r\n</body>\r\n</html>\r\n");
        dir_.Write("Temp.hhp",
                   "[OPTIONS]\r\nCompatibility=1.1 Or later\r\nDefault topic=index.htm\r\n"
                   "Full-text search=Yes\r\nLanguage=0x804 \xD6\xD0\xCE\xC4(\xD6\xD0\xB9\xFA)\r\n\r\n[FILES]\r\nindex.htm");
        const auto result = test_support::RunCommand(Quote(HHC_EXE) + " " + Quote(dir_ / "Temp.hhp"), dir_.path());
        EXPECT_EQ(result.exitCode, 0) << result.output << result.errors;
        return dir_ / "Temp.chm";
    }

    // Every single word (Latin word or one character) of the pages, with the
    // pages pychm must return for it: those holding it, and the list page when
    // a title holds it. Page-number words ("p17") of every `stride`-th page only.
    void CheckWordsWithPychm(const PageCorpus& corpus, const fs::path& book, std::size_t stride = 1) {
        std::set<std::string> words(corpus.alphabet().begin(), corpus.alphabet().end());
        words.insert(corpus.latinWords().begin(), corpus.latinWords().end());
        for (std::size_t i = 0; i < corpus.pages().size(); i += stride)
            for (const Block& b : corpus.pages()[i].blocks) words.insert(b.begin(), b.end());
        std::string expectations;
        for (const std::string& word : words) {
            std::string pages;
            for (std::uint32_t page : corpus.PagesHolding({word}))
                pages += Hex(corpus.pages()[page].title) + "=" + std::to_string(page) + ".htm,";
            if (std::any_of(corpus.pages().begin(), corpus.pages().end(), [&](const auto& page) {
                    return std::count(page.blocks[0].begin(), page.blocks[0].end(), word) > 0;
                }))
                pages += Hex("list") + "=index.htm,";
            expectations += Hex(word) + "\t" + pages + "\n";
            if (word[0] >= 'a' && word[0] <= 'z' && word[0] != 'p')  // queries in upper case find the same pages
                expectations += Hex(std::string(1, static_cast<char>(word[0] - 32)) + word.substr(1)) + "\t" + pages + "\n";
        }
        const fs::path file = dir_.Write("expected.txt", expectations);
        const auto result = Python(Quote(PYCHM_CHECK) + " search " + Quote(book) + " " + Quote(file));
        EXPECT_EQ(result.exitCode, 0) << result.output;
    }

    fts_test::FtsReader IndexOf(const fs::path& book) {
        EXPECT_EQ(Python(Quote(PYCHM_CHECK) + " dump " + Quote(book) + " '/$FIftiMain' " + Quote(dir_ / "fifti.bin")).exitCode, 0);
        return fts_test::FtsReader(test_support::ReadBytes(dir_ / "fifti.bin"));
    }

    test_support::ScratchFolder dir_{"fts-book"};
};

// Characters whose trail byte is an ASCII letter code are left out of word
// searches: pychm compares words with strcasecmp and cannot tell them apart.
TEST_F(BookSearch, PychmFindsEveryWordAndTheIndexEveryPhraseInExactlyItsPages) {
    PageCorpus words({.pages = 80, .letterTrailBytes = false, .seed = 11});
    CheckWordsWithPychm(words, Compile(words));

    PageCorpus corpus({.pages = 40, .seed = 12});
    fts_test::FtsReader reader = IndexOf(Compile(corpus));
    for (const Block& phrase : corpus.SamplePhrases(6, 5)) {
        if (phrase.size() < 2) continue;
        std::set<std::uint32_t> expected;
        for (std::uint32_t page : corpus.PagesHolding(phrase)) expected.insert(page + 1);
        for (const auto& page : corpus.pages())  // the list page shows every title
            if (std::search(page.blocks[0].begin(), page.blocks[0].end(), phrase.begin(), phrase.end()) != page.blocks[0].end())
                expected.insert(0);
        const std::vector<std::uint32_t> got = reader.PhraseDocuments(phrase);
        EXPECT_EQ(std::set<std::uint32_t>(got.begin(), got.end()), expected);
    }
}

TEST_F(BookSearch, AThreeThousandPageBookStillSearchesCorrectly) {
    PageCorpus corpus({.pages = 3000, .paragraphs = 1, .paragraphWords = 30, .letterTrailBytes = false, .seed = 13});
    const fs::path book = Compile(corpus);
    fts_test::FtsReader reader = IndexOf(book);
    EXPECT_EQ(reader.header().documentCount, 3001u);
    EXPECT_EQ(reader.header().depth, 2);
    CheckWordsWithPychm(corpus, book, 20);
}

}  // namespace
