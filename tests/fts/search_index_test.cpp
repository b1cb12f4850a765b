// The index as a whole, decoded by the independent reader in this folder and
// checked against the generated pages' known answers.
#include "fts/search_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "fts_reader.h"
#include "page_corpus.h"

namespace {

using fts_test::Block;
using fts_test::FtsReader;
using fts_test::PageCorpus;
using Topics = std::vector<hhc::fts::SearchTopic>;

std::string Index(const Topics& topics, unsigned threads = 0) {
    return hhc::fts::BuildSearchIndex(topics, 936, 0x804, threads).fiftiMain;
}

// Phrases of one to four characters, Latin words in any case, title words:
// each finds exactly the pages that show it; stylesheet and script text is not
// indexed. The header gives the topic count, code page and language.
TEST(SearchIndex, EveryPhraseAndWordFindsExactlyThePagesHoldingIt) {
    PageCorpus corpus(60, 4);
    Topics topics;
    for (std::uint32_t i = 0; i < corpus.pages.size(); ++i) topics.push_back({i == 3 ? 250 : i, corpus.pages[i].html});
    topics.push_back({300, ""});  // a page without text still counts
    FtsReader reader(Index(topics));
    const auto renumbered = [](std::set<std::uint32_t> pages) {
        if (pages.erase(3)) pages.insert(250);
        return pages;
    };
    std::vector<Block> phrases = corpus.SamplePhrases(8);
    for (const std::string& word : corpus.latinWords) phrases.push_back({word});
    std::size_t found = 0;
    for (const Block& phrase : phrases) {
        const std::set<std::uint32_t> expected = renumbered(corpus.PagesHolding(phrase));
        EXPECT_EQ(reader.PhraseDocuments(phrase), std::vector(expected.begin(), expected.end())) << phrase.size();
        found += !expected.empty();
    }
    EXPECT_GT(found, phrases.size() / 2);
    for (const char* hidden : {"font", "size", "charset", "var"}) EXPECT_FALSE(reader.Lookup(hidden, 0)) << hidden;
    const auto title = reader.Lookup("p7", 1);  // the title's third word
    ASSERT_TRUE(title && title->documents.size() == 1);
    EXPECT_EQ(std::pair(title->documents[0].document, title->documents[0].positions),
              std::pair(7u, std::vector<std::uint32_t>{2}));
    EXPECT_EQ(reader.PhraseDocuments({"p3"}), std::vector<std::uint32_t>{250});

    // Every title word also shows in the page's heading: its body entry comes first, in the same leaf.
    const auto& entries = reader.entries();
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (entries[i].context != 1) continue;
        EXPECT_EQ(std::tuple(entries[i - 1].word, entries[i - 1].context, entries[i - 1].leafOffset),
                  std::tuple(entries[i].word, 0, entries[i].leafOffset));
    }
    const fts_test::Header& h = reader.header();
    EXPECT_EQ((std::vector<std::uint32_t>{h.documentCount, h.codePage, h.lcid, h.depth}),
              (std::vector<std::uint32_t>{61, 936, 0x804, 1}));
}

// Many distinct words: several leaves under an index node. Every word is found
// by a descent from the root, also by the case-insensitive descent of
// chmlib-family readers (which folds trail bytes 0x41-0x5A); the index does
// not depend on the number of threads nor on the order of the topics. (The
// pychm book has a two-level tree with document counts of several bytes.)
TEST(SearchIndex, LargeVocabularyBuildsATwoLevelTreeThatFindsEveryWord) {
    std::vector<std::string> pages;
    for (std::size_t p = 0; p < 400; ++p) {
        std::string html = "<html><head><title>t" + std::to_string(p) + "</title></head><body><p>";
        for (std::size_t w = 0; w < 60; ++w) html += "w" + std::to_string(p * 60 + w) + " common ";
        // Every GBK character of three lead bytes, letter trail bytes included.
        for (unsigned lead : {0x81u, 0x9Au, 0xB0u})
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                if (trail != 0x7F && (trail + p) % 7 == 0) html += {static_cast<char>(lead), static_cast<char>(trail)};
        pages.push_back(html + "</p></body></html>");
    }
    Topics topics;
    for (std::uint32_t p = 0; p < pages.size(); ++p) topics.push_back({p, pages[p]});
    FtsReader reader(Index(topics));
    EXPECT_EQ(reader.header().depth, 2u);
    EXPECT_EQ(reader.entries().size(), 24000u + 1 + 400 + 3 * 190);
    for (const auto& e : reader.entries()) {
        EXPECT_EQ(reader.Descend(e.word, false), e.leafOffset) << e.word;
        const bool doubleByte = e.word.size() == 2 && static_cast<unsigned char>(e.word[0]) >= 0x80;
        EXPECT_TRUE(!doubleByte || reader.Descend(e.word, true) == e.leafOffset) << e.word;
    }
    // Topic numbers out of order and given twice.
    for (auto& topic : topics) topic.topicNumber = topic.topicNumber * 37 % 150;
    std::reverse(topics.begin(), topics.end());
    const std::string one = Index(topics, 1);
    for (unsigned threads : {3u, 8u}) EXPECT_TRUE(Index(topics, threads) == one) << threads;
}

// No pages give a valid empty index; the object file carries the book's code
// page and language in both its objects.
TEST(SearchIndex, EmptyIndexAndObjInstCarryTheCodePageAndLanguage) {
    EXPECT_TRUE(FtsReader(Index({})).entries().empty());
    for (const auto& [codePage, lcid] : {std::pair<std::uint32_t, std::uint32_t>{936, 0x804}, {1252, 0x409}}) {
        const std::string objInst = hhc::fts::BuildSearchIndex({}, codePage, lcid).objInst;
        for (std::size_t at : {0x30, 0xA8B})
            EXPECT_EQ(objInst.substr(at, 8), std::string(reinterpret_cast<const char*>(&codePage), 4) +
                                                 std::string(reinterpret_cast<const char*>(&lcid), 4));
    }
}

}  // namespace
