// A book compiled by hhc from generated pages, searched with pychm (chmlib's
// full-text search): every word finds exactly the pages that show it.
#include <gtest/gtest.h>

#include <algorithm>

#include "page_corpus.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace {

using fts_test::Block;
using test_support::Quote;

std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) out += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15]};
    return out;
}

// Characters whose trail byte is an ASCII letter code are not searched: pychm
// compares words with strcasecmp and cannot tell them apart. Three thousand
// pages give a two-level tree and document counts of several bytes.
TEST(BookSearch, PychmFindsEveryWordInExactlyItsPages) {
    test_support::ScratchFolder dir("fts-book");
    const auto python = [&](const std::string& arguments) {
        return test_support::RunCommand("/usr/bin/python3 " + Quote(PYCHM_CHECK) + " " + arguments, dir.path());
    };
    if (python("").exitCode == 77) GTEST_SKIP() << "pychm (package python3-chm) is not installed";
    const fts_test::PageCorpus corpus(3000, 1);
    const auto& pages = corpus.pages;

    // The pages, a list page linking them all and the project the book build
    // writes. Topic 0 is the list page; page i is topic i + 1.
    std::string list =
        "<HTML>\r\n<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n"
        "<TITLE>list</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<table>\r\n";
    for (std::size_t i = 0; i < pages.size(); ++i) {
        dir.Write(std::to_string(i) + ".htm", pages[i].html);
        list += "<tr><td><a href='" + std::to_string(i) + ".htm'>" + pages[i].title + "</a></td></tr>\r\n";
    }
    dir.Write("index.htm", list + "</table>\r\n</body>\r\n</html>\r\n");
    dir.Write("Temp.hhp",
              "[OPTIONS]\r\nDefault topic=index.htm\r\nFull-text search=Yes\r\nLanguage=0x804\r\n[FILES]\r\nindex.htm");
    const auto compiled = test_support::RunCommand(Quote(HHC_EXE) + " " + Quote(dir / "Temp.hhp"), dir.path());
    ASSERT_EQ(compiled.exitCode, 0) << compiled.output << compiled.errors;

    // Every single word (and upper-cased Latin words) with the pages pychm must
    // return: those holding it, and the list page when a title holds it.
    // Page-number words ("p17") of every 20th page only.
    std::set<std::string> words(corpus.alphabet.begin(), corpus.alphabet.end());
    for (std::size_t i = 0; i < pages.size(); i += 20)
        for (const Block& b : pages[i].blocks) words.insert(b.begin(), b.end());
    std::erase_if(words,
                  [](const std::string& w) { return w[0] & 0x80 && std::isalpha(static_cast<unsigned char>(w[1])); });
    std::set<std::string> titleWords;
    for (const auto& page : pages) titleWords.insert(page.blocks[0].begin(), page.blocks[0].end());
    std::string expectations;
    for (const std::string& word : words) {
        std::string hits = titleWords.count(word) ? Hex("list") + "=index.htm," : "";
        for (std::uint32_t page : corpus.PagesHolding({word}))
            hits += Hex(pages[page].title) + "=" + std::to_string(page) + ".htm,";
        expectations += Hex(word) + "\t" + hits + "\n";
        if (word[0] >= 'a' && word[0] <= 'z' && word[0] != 'p')
            expectations += Hex(static_cast<char>(word[0] - 32) + word.substr(1)) + "\t" + hits + "\n";
    }
    const auto searched =
        python("search " + Quote(dir / "Temp.chm") + " " + Quote(dir.Write("expected.txt", expectations)));
    EXPECT_EQ(searched.exitCode, 0) << searched.output;
}

}  // namespace
