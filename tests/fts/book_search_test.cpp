// Books compiled by hhc from generated pages, searched through readers we did
// not write: pychm (chmlib's full-text search) for single words, and the
// index taken out of the book by chmlib, decoded by this folder's reader, for
// phrases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include <sys/wait.h>
#include <unistd.h>

#include "fts_reader.h"
#include "page_corpus.h"

namespace {

namespace fs = std::filesystem;
using fts_test::Block;
using fts_test::GeneratedPage;
using fts_test::PageCorpus;

constexpr const char* kPython = "/usr/bin/python3";

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int RunCommand(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class BookSearch : public ::testing::Test {
protected:
    void SetUp() override {
        if (RunCommand(std::string(kPython) + " -c 'import chm.chm' 2>/dev/null") != 0)
            GTEST_SKIP() << "pychm (package python3-chm) is not installed for " << kPython;
        std::random_device seed;
        dir_ = fs::temp_directory_path() /
               ("fts-book-" + std::to_string(::getpid()) + "-" + std::to_string(seed()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (!dir_.empty() && !HasFailure() && !std::getenv("FTS_KEEP")) fs::remove_all(dir_);
    }

    // Writes the pages, a list page linking them all and the project the book
    // build writes, then compiles it. Returns the book's path.
    fs::path Compile(const PageCorpus& corpus) {
        std::string list =
            "<HTML>\r\n<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n"
            "<TITLE>list</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<table>\r\n";
        for (std::size_t i = 0; i < corpus.pages().size(); ++i) {
            WriteFile(dir_ / (std::to_string(i) + ".htm"), corpus.pages()[i].html);
            list += "<tr><td>" + std::to_string(i + 1) + "</td><td><a href='" + std::to_string(i) + ".htm'>" +
                    corpus.pages()[i].title + "</a></td></tr>\r\n";
        }
        WriteFile(dir_ / "index.htm", list + "</table>\r\n</body>\r\n</html>\r\n");
        WriteFile(dir_ / "Temp.hhc",
                  "<html><head></head><body>\r\n<OBJECT type=\"text/site properties\"><param name=\"Window "
                  "Styles\" value=\"0x227\"></OBJECT>\r\n<UL></UL></body></html>");
        WriteFile(dir_ / "Temp.hhk", "<HTML><HEAD>\r\n</HEAD><BODY><UL>\r\n</UL></BODY></HTML>\r\n");
        WriteFile(dir_ / "Temp.hhp",
                  "[OPTIONS]\r\nCompatibility=1.1 Or later\r\nDefault Window=Main\r\nDefault topic=index.htm\r\n"
                  "Default font=Tahoma,8,1\r\nContents file=Temp.hhc\r\nIndex file=Temp.hhk\r\n"
                  "Display compile progress=Yes\r\nFull-text search=Yes\r\n"
                  "Language=0x804 \xD6\xD0\xCE\xC4(\xD6\xD0\xB9\xFA)\r\n\r\n[WINDOWS]\r\n"
                  "Main=\"Search\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\",,,,,0x20,180,0x10387C,"
                  "[80,60,720,540],0x0,0x0,,1,,,0\r\n\r\n[FILES]\r\nindex.htm");
        std::string command = std::string("'") + HHC_EXE + "' '" + (dir_ / "Temp.hhp").string() + "' > '" +
                              (dir_ / "hhc.log").string() + "' 2>&1";
        EXPECT_EQ(RunCommand(command), 0) << ReadFile(dir_ / "hhc.log");
        return dir_ / "Temp.chm";
    }

    // Every single word (Latin word or one character) of the pages, with the
    // pages pychm must return for it: those holding it and the list page when a
    // title holds it.
    // Page-number words ("p17") are checked for every `pageWordStride`-th page.
    void CheckWordsWithPychm(const PageCorpus& corpus, const fs::path& book, std::size_t pageWordStride = 1) {
        std::set<std::string> words(corpus.alphabet().begin(), corpus.alphabet().end());
        words.insert(corpus.latinWords().begin(), corpus.latinWords().end());
        for (std::size_t i = 0; i < corpus.pages().size(); i += pageWordStride)
            for (const Block& b : corpus.pages()[i].blocks) words.insert(b.begin(), b.end());
        std::string expectations;
        for (const std::string& word : words) {
            std::string line = Hex(word) + "\t";
            for (std::uint32_t page : corpus.PagesHolding({word}))
                line += Hex(corpus.pages()[page].title) + "=" + std::to_string(page) + ".htm,";
            bool inTitle = false;
            for (const GeneratedPage& page : corpus.pages())
                for (const std::string& w : page.blocks[0]) inTitle = inTitle || w == word;
            if (inTitle) line += Hex("list") + "=index.htm,";
            expectations += line + "\n";
            // Queries in upper case find the same pages.
            if (word[0] >= 'a' && word[0] <= 'z' && word[0] != 'p') {
                std::string upper = word;
                upper[0] = static_cast<char>(upper[0] - 32);
                expectations += Hex(upper) + line.substr(Hex(word).size()) + "\n";
            }
        }
        WriteFile(dir_ / "expected.txt", expectations);
        std::string command = std::string(kPython) + " '" + PYCHM_CHECK + "' search '" + book.string() + "' '" +
                              (dir_ / "expected.txt").string() + "' > '" + (dir_ / "pychm.log").string() + "' 2>&1";
        EXPECT_EQ(RunCommand(command), 0) << ReadFile(dir_ / "pychm.log");
    }

    fts_test::FtsReader IndexOf(const fs::path& book) {
        std::string command = std::string(kPython) + " '" + PYCHM_CHECK + "' dump '" + book.string() +
                              "' '/$FIftiMain' '" + (dir_ / "fifti.bin").string() + "'";
        EXPECT_EQ(RunCommand(command), 0);
        return fts_test::FtsReader(ReadFile(dir_ / "fifti.bin"));
    }

    fs::path dir_;
};

TEST_F(BookSearch, PychmFindsEveryLatinWordAndChineseCharacterInExactlyItsPages) {
    // Characters whose trail byte is an ASCII letter code are left out here:
    // pychm compares words with strcasecmp and cannot tell them apart.
    PageCorpus corpus({.pages = 80, .letterTrailBytes = false, .seed = 11});
    fs::path book = Compile(corpus);
    ASSERT_TRUE(fs::exists(book));
    CheckWordsWithPychm(corpus, book);
}

TEST_F(BookSearch, PhrasesInTheCompiledBookFindExactlyThePagesHoldingThem) {
    PageCorpus corpus({.pages = 40, .seed = 12});
    fs::path book = Compile(corpus);
    ASSERT_TRUE(fs::exists(book));
    fts_test::FtsReader reader = IndexOf(book);
    // Topic 0 is the list page (first in [FILES]); page i is topic i + 1.
    for (const Block& phrase : corpus.SamplePhrases(6, 5)) {
        if (phrase.size() < 2) continue;
        std::set<std::uint32_t> expected;
        for (std::uint32_t page : corpus.PagesHolding(phrase)) expected.insert(page + 1);
        for (const GeneratedPage& page : corpus.pages()) {  // the list page shows every title
            const Block& title = page.blocks[0];
            if (std::search(title.begin(), title.end(), phrase.begin(), phrase.end()) != title.end()) expected.insert(0);
        }
        std::vector<std::uint32_t> got = reader.PhraseDocuments(phrase);
        EXPECT_EQ(std::set<std::uint32_t>(got.begin(), got.end()), expected);
    }
}

TEST_F(BookSearch, AThreeThousandPageBookStillSearchesCorrectly) {
    PageCorpus corpus({.pages = 3000, .paragraphs = 1, .paragraphWords = 30, .letterTrailBytes = false, .seed = 13});
    fs::path book = Compile(corpus);
    ASSERT_TRUE(fs::exists(book));
    fts_test::FtsReader reader = IndexOf(book);
    EXPECT_EQ(reader.header().documentCount, 3001u);
    EXPECT_EQ(reader.header().depth, 2);
    CheckWordsWithPychm(corpus, book, 20);
}

}  // namespace
