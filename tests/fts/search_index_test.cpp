// The index as a whole, decoded by the independent reader in this folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "fts/search_index.h"
#include "fts_reader.h"
#include "page_corpus.h"

namespace {

using fts_test::Block;
using fts_test::FtsReader;
using fts_test::PageCorpus;

constexpr std::uint32_t kCodePage = 936;
constexpr std::uint32_t kLcid = 0x804;

hhc::fts::SearchFiles IndexCorpus(const PageCorpus& corpus, std::uint32_t firstTopic = 0) {
    std::vector<hhc::fts::SearchTopic> topics;
    for (std::uint32_t i = 0; i < corpus.pages().size(); ++i)
        topics.push_back({firstTopic + i, corpus.pages()[i].html});
    return hhc::fts::BuildSearchIndex(topics, kCodePage, kLcid);
}

std::string Show(const Block& phrase) {
    std::string s;
    for (const std::string& w : phrase) {
        for (unsigned char c : w) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X", c);
            s += hex;
        }
        s += ' ';
    }
    return s;
}

TEST(SearchIndex, PhrasesOfOneToFourCharactersFindExactlyThePagesHoldingThem) {
    PageCorpus corpus({});
    FtsReader reader(IndexCorpus(corpus).fiftiMain);
    std::vector<Block> phrases = corpus.SamplePhrases(8, 7);
    ASSERT_GT(phrases.size(), 800u);
    std::size_t crossingLineBreaks = 0;
    for (const auto& page : corpus.pages()) crossingLineBreaks += page.lineBreaks.size();
    ASSERT_GT(crossingLineBreaks, 50u);
    std::size_t found = 0;
    for (const Block& phrase : phrases) {
        std::set<std::uint32_t> expected = corpus.PagesHolding(phrase);
        std::vector<std::uint32_t> got = reader.PhraseDocuments(phrase);
        EXPECT_EQ(std::set<std::uint32_t>(got.begin(), got.end()), expected) << "phrase " << Show(phrase);
        found += expected.empty() ? 0 : 1;
    }
    EXPECT_GT(found, phrases.size() / 2);
}

TEST(SearchIndex, LatinWordsAreStoredLowerCaseAndFoundInEveryPageUsingThem) {
    PageCorpus corpus({});
    FtsReader reader(IndexCorpus(corpus).fiftiMain);
    for (const std::string& word : corpus.latinWords()) {
        std::set<std::uint32_t> expected = corpus.PagesHolding({word});
        std::optional<fts_test::Entry> entry = reader.Lookup(word, 0);
        ASSERT_TRUE(entry.has_value()) << word;
        std::set<std::uint32_t> got;
        for (const auto& d : entry->documents) got.insert(d.document);
        EXPECT_EQ(got, expected) << word;
    }
    for (const auto& e : reader.entries()) {
        if (static_cast<unsigned char>(e.word[0]) >= 0x80) continue;  // trail bytes may be letter codes
        for (char c : e.word) ASSERT_FALSE(c >= 'A' && c <= 'Z') << e.word;
    }
}

TEST(SearchIndex, StylesheetTextInTheHeadIsNotIndexed) {
    PageCorpus corpus({});
    FtsReader reader(IndexCorpus(corpus).fiftiMain);
    EXPECT_FALSE(reader.Lookup("font", 0).has_value());
    EXPECT_FALSE(reader.Lookup("size", 0).has_value());
    EXPECT_FALSE(reader.Lookup("charset", 0).has_value());
    EXPECT_FALSE(reader.Lookup("var", 0).has_value());  // from the scripts
}

TEST(SearchIndex, TitleWordsHaveTitleEntriesAfterTheirBodyEntries) {
    PageCorpus corpus({});
    FtsReader reader(IndexCorpus(corpus).fiftiMain);
    std::optional<fts_test::Entry> title = reader.Lookup("p7", 1);
    ASSERT_TRUE(title.has_value());
    ASSERT_EQ(title->documents.size(), 1u);
    EXPECT_EQ(title->documents[0].document, 7u);
    EXPECT_EQ(title->documents[0].positions, (std::vector<std::uint32_t>{2}));
    const auto& entries = reader.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].context != 1) continue;
        // Every title word also shows in the page's heading, so its body entry precedes it.
        ASSERT_GT(i, 0u);
        EXPECT_EQ(entries[i - 1].word, entries[i].word);
        EXPECT_EQ(entries[i - 1].context, 0);
        EXPECT_EQ(entries[i - 1].leafOffset, entries[i].leafOffset) << "a word's entries share a leaf";
    }
}

TEST(SearchIndex, DocumentIndicesAreTheTopicNumbersGiven) {
    PageCorpus corpus({.pages = 5});
    std::vector<hhc::fts::SearchTopic> topics;
    const std::uint32_t numbers[] = {40, 3, 17, 9, 250};
    for (std::size_t i = 0; i < 5; ++i) topics.push_back({numbers[i], corpus.pages()[i].html});
    FtsReader reader(hhc::fts::BuildSearchIndex(topics, kCodePage, kLcid).fiftiMain);
    for (std::size_t i = 0; i < 5; ++i) {
        std::optional<fts_test::Entry> e = reader.Lookup("p" + std::to_string(i), 1);
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->documents.at(0).document, numbers[i]);
    }
    EXPECT_EQ(reader.header().documentCount, 5u);
    EXPECT_EQ(reader.header().highestDocument, 250u);
}

TEST(SearchIndex, HeaderStatisticsMatchTheDecodedEntries) {
    PageCorpus corpus({});
    hhc::fts::SearchFiles files = IndexCorpus(corpus);
    FtsReader reader(files.fiftiMain);
    const fts_test::Header& h = reader.header();
    EXPECT_EQ(h.documentCount, corpus.pages().size());
    EXPECT_EQ(h.codePage, 936u);
    EXPECT_EQ(h.lcid, 0x804u);
    std::set<std::string> distinct;
    std::size_t longest = 0;
    std::uint64_t occurrences = 0;
    std::uint64_t entryBytes = 0;
    std::uint32_t highest = 0;
    for (const auto& e : reader.entries()) {
        distinct.insert(e.word);
        longest = std::max(longest, e.word.size());
        entryBytes += e.word.size();
        for (const auto& d : e.documents) {
            occurrences += d.positions.size();
            highest = std::max(highest, d.document);
        }
    }
    EXPECT_EQ(h.distinctWords, distinct.size());
    EXPECT_EQ(h.longestWord, longest);
    EXPECT_EQ(h.occurrences, occurrences);
    EXPECT_EQ(h.entryWordBytes, entryBytes);
    EXPECT_EQ(h.highestDocument, highest);
    EXPECT_EQ(h.freeBytes, reader.nodeFreeBytes());
    EXPECT_EQ(h.depth, 1);
    EXPECT_EQ(h.leafCount, 1u);
}

// Many distinct words need several leaves and an index node above them.
std::vector<hhc::fts::SearchTopic> VocabularyPages(std::vector<std::string>& storage, std::size_t pages) {
    storage.clear();
    for (std::size_t p = 0; p < pages; ++p) {
        std::string html = "<html><head><title>t" + std::to_string(p) + "</title></head><body><p>";
        for (std::size_t w = 0; w < 60; ++w) html += "w" + std::to_string(p * 60 + w) + " common ";
        // Every GBK character of three lead bytes, letter trail bytes included.
        for (unsigned lead : {0x81u, 0x9Au, 0xB0u})
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                if (trail != 0x7F && (trail + p) % 7 == 0) html += std::string{char(lead), char(trail)};
        storage.push_back(html + "</p></body></html>");
    }
    std::vector<hhc::fts::SearchTopic> topics;
    for (std::size_t p = 0; p < pages; ++p) topics.push_back({static_cast<std::uint32_t>(p), storage[p]});
    return topics;
}

TEST(SearchIndex, LargeVocabularyBuildsATwoLevelTreeThatFindsEveryWord) {
    std::vector<std::string> storage;
    auto topics = VocabularyPages(storage, 400);
    FtsReader reader(hhc::fts::BuildSearchIndex(topics, kCodePage, kLcid).fiftiMain);
    EXPECT_EQ(reader.header().depth, 2);
    EXPECT_GT(reader.header().leafCount, 20u);
    EXPECT_EQ(reader.entries().size(), 24000u + 1 + 400 + 3 * 190);
    for (const auto& e : reader.entries()) {
        std::optional<fts_test::Entry> found = reader.Lookup(e.word, e.context);
        ASSERT_TRUE(found.has_value()) << e.word;
        EXPECT_EQ(found->documents.size(), e.documents.size());
    }
    std::optional<fts_test::Entry> common = reader.Lookup("common", 0);
    ASSERT_TRUE(common.has_value());
    EXPECT_EQ(common->documents.size(), 400u);  // document count above 127: a two-byte count
    EXPECT_EQ(common->documents[399].positions.size(), 60u);
}

// chmlib-family readers compare with strcasecmp on their way down the tree,
// which also folds trail bytes 0x41-0x5A. Leaves are cut so that the descent
// still reaches the leaf holding the word.
TEST(SearchIndex, CaseInsensitiveDescentReachesTheLeafOfEveryDoubleByteWord) {
    std::vector<std::string> storage;
    auto topics = VocabularyPages(storage, 400);
    FtsReader reader(hhc::fts::BuildSearchIndex(topics, kCodePage, kLcid).fiftiMain);
    std::size_t checked = 0;
    for (const auto& e : reader.entries()) {
        if (e.word.size() != 2 || static_cast<unsigned char>(e.word[0]) < 0x80) continue;
        EXPECT_EQ(reader.LeafByCaseInsensitiveDescent(e.word), e.leafOffset) << std::hex
            << int(static_cast<unsigned char>(e.word[0])) << ' ' << int(static_cast<unsigned char>(e.word[1]));
        ++checked;
    }
    EXPECT_EQ(checked, 3u * 190);
}

// Pages are shared out among threads as they come free; the index must not
// show which thread did what. Topic numbers out of order and given twice, Latin
// words that each page numbers for itself, and many leaves.
TEST(SearchIndex, TheIndexIsTheSameForAnyNumberOfThreads) {
    std::vector<std::string> storage;
    std::vector<hhc::fts::SearchTopic> topics = VocabularyPages(storage, 120);
    PageCorpus corpus({.pages = 40});
    for (std::uint32_t i = 0; i < corpus.pages().size(); ++i)
        topics.push_back({(i * 37) % 150, corpus.pages()[i].html});
    std::reverse(topics.begin(), topics.end());
    const std::string one = hhc::fts::BuildSearchIndex(topics, kCodePage, kLcid, 1).fiftiMain;
    ASSERT_GT(FtsReader(one).header().leafCount, 2u);
    for (unsigned threads : {2u, 3u, 8u})
        EXPECT_TRUE(hhc::fts::BuildSearchIndex(topics, kCodePage, kLcid, threads).fiftiMain == one) << threads;
}

TEST(SearchIndex, NoPagesGiveAValidEmptyIndex) {
    hhc::fts::SearchFiles files = hhc::fts::BuildSearchIndex({}, kCodePage, kLcid);
    FtsReader reader(files.fiftiMain);
    EXPECT_TRUE(reader.entries().empty());
    EXPECT_EQ(reader.header().depth, 1);
    EXPECT_EQ(files.fiftiMain.size(), 0x400u + 4096u);
    EXPECT_EQ(files.objInst.size(), 2715u);
}

TEST(SearchIndex, PagesWithoutTextStillCountAsDocuments) {
    std::vector<hhc::fts::SearchTopic> topics = {{0, "<html><body></body></html>"}, {1, ""}, {2, "<p>word</p>"}};
    FtsReader reader(hhc::fts::BuildSearchIndex(topics, kCodePage, kLcid).fiftiMain);
    EXPECT_EQ(reader.header().documentCount, 3u);
    ASSERT_EQ(reader.entries().size(), 1u);
    EXPECT_EQ(reader.entries()[0].documents[0].document, 2u);
}

TEST(ObjInst, CarriesTheBooksCodePageAndLanguageInBothObjects) {
    std::string chinese = hhc::fts::BuildSearchIndex({}, 936, 0x804).objInst;
    ASSERT_EQ(chinese.size(), 2715u);
    auto dword = [&](const std::string& s, std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8 |
                                          static_cast<unsigned char>(s[at + 2]) << 16 |
                                          static_cast<unsigned char>(s[at + 3]) << 24);
    };
    EXPECT_EQ(dword(chinese, 0), 0x04000000u);
    EXPECT_EQ(dword(chinese, 4), 2u);
    EXPECT_EQ(dword(chinese, 0x30), 936u);
    EXPECT_EQ(dword(chinese, 0x34), 0x804u);
    EXPECT_EQ(dword(chinese, 0xA8B), 936u);
    EXPECT_EQ(dword(chinese, 0xA8F), 0x804u);
    // Record of lead byte 0xA1 in the character table: double-byte lead class.
    EXPECT_EQ(static_cast<unsigned char>(chinese[0x68 + 10 * 0xA1]), 0x0A);
    std::string english = hhc::fts::BuildSearchIndex({}, 1252, 0x409).objInst;
    EXPECT_EQ(dword(english, 0x30), 1252u);
    EXPECT_EQ(dword(english, 0xA8F), 0x409u);
}

}  // namespace
