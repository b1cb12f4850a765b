// The index as a whole, decoded by the independent reader in this folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "fts/search_index.h"
#include "fts_reader.h"
#include "page_corpus.h"

namespace {

using fts_test::Block;
using fts_test::FtsReader;
using fts_test::PageCorpus;

std::string Index(const std::vector<hhc::fts::SearchTopic>& topics, unsigned threads = 0) {
    return threads ? hhc::fts::BuildSearchIndex(topics, 936, 0x804, threads).fiftiMain
                   : hhc::fts::BuildSearchIndex(topics, 936, 0x804).fiftiMain;
}

std::vector<hhc::fts::SearchTopic> Topics(const PageCorpus& corpus) {
    std::vector<hhc::fts::SearchTopic> topics;
    for (std::uint32_t i = 0; i < corpus.pages().size(); ++i) topics.push_back({i, corpus.pages()[i].html});
    return topics;
}

std::set<std::uint32_t> DocumentsOf(const fts_test::Entry& entry) {
    std::set<std::uint32_t> documents;
    for (const auto& d : entry.documents) documents.insert(d.document);
    return documents;
}

// Phrases of one to four characters, Latin words in any case, title words:
// each finds exactly the pages that show it. Stylesheet and script text is not
// indexed. The header agrees with the decoded entries and the topic numbers.
TEST(SearchIndex, EveryPhraseAndWordFindsExactlyThePagesHoldingIt) {
    PageCorpus corpus({});
    std::vector<hhc::fts::SearchTopic> topics = Topics(corpus);
    topics[3].topicNumber = 250;
    topics.push_back({300, ""});  // a page without text still counts
    FtsReader reader(Index(topics));
    const auto topic = [](std::uint32_t page) { return page == 3 ? 250u : page; };
    const auto renumbered = [&](const std::set<std::uint32_t>& pages) {
        std::set<std::uint32_t> numbers;
        for (std::uint32_t page : pages) numbers.insert(topic(page));
        return numbers;
    };
    const std::vector<Block> phrases = corpus.SamplePhrases(8, 7);
    ASSERT_GT(phrases.size(), 800u);
    std::size_t found = 0;
    for (const Block& phrase : phrases) {
        const std::set<std::uint32_t> expected = renumbered(corpus.PagesHolding(phrase));
        const std::vector<std::uint32_t> got = reader.PhraseDocuments(phrase);
        EXPECT_EQ(std::set<std::uint32_t>(got.begin(), got.end()), expected) << phrase.size() << " words";
        found += expected.empty() ? 0 : 1;
    }
    EXPECT_GT(found, phrases.size() / 2);
    for (const std::string& word : corpus.latinWords()) {
        const auto entry = reader.Lookup(word, 0);
        ASSERT_TRUE(entry.has_value()) << word;
        EXPECT_EQ(DocumentsOf(*entry), renumbered(corpus.PagesHolding({word}))) << word;
    }
    for (const char* hidden : {"font", "size", "charset", "var"}) EXPECT_FALSE(reader.Lookup(hidden, 0)) << hidden;

    const auto title = reader.Lookup("p7", 1);
    ASSERT_TRUE(title.has_value());
    ASSERT_EQ(title->documents.size(), 1u);
    EXPECT_EQ(title->documents[0].document, 7u);
    EXPECT_EQ(title->documents[0].positions, (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(DocumentsOf(*reader.Lookup("p3", 1)), std::set<std::uint32_t>{250});
    const auto& entries = reader.entries();
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (static_cast<unsigned char>(entries[i].word[0]) < 0x80)  // trail bytes may be letter codes
            EXPECT_TRUE(std::none_of(entries[i].word.begin(), entries[i].word.end(), ::isupper)) << entries[i].word;
        // Every title word also shows in the page's heading: its body entry comes first, in the same leaf.
        if (entries[i].context != 1) continue;
        EXPECT_EQ(entries[i - 1].word, entries[i].word);
        EXPECT_EQ(entries[i - 1].context, 0);
        EXPECT_EQ(entries[i - 1].leafOffset, entries[i].leafOffset);
    }

    const fts_test::Header& h = reader.header();
    EXPECT_EQ(h.documentCount, corpus.pages().size() + 1);
    EXPECT_EQ(h.codePage, 936u);
    EXPECT_EQ(h.lcid, 0x804u);
    std::set<std::string> distinct;
    std::size_t longest = 0;
    std::uint64_t occurrences = 0, entryBytes = 0;
    std::uint32_t highest = 0;
    for (const auto& e : entries) {
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
    EXPECT_EQ(highest, 250u);  // the page without text has no entry
    EXPECT_EQ(h.freeBytes, reader.nodeFreeBytes());
    EXPECT_EQ(h.depth, 1);
}

// Many distinct words: several leaves under an index node. Every word is found
// by a descent from the root, also by the case-insensitive descent of
// chmlib-family readers (which folds trail bytes 0x41-0x5A); the index does
// not depend on the number of threads.
std::vector<hhc::fts::SearchTopic> VocabularyPages(std::vector<std::string>& storage, std::size_t pages) {
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
    std::vector<hhc::fts::SearchTopic> topics = VocabularyPages(storage, 400);
    const std::string index = Index(topics);
    FtsReader reader(index);
    EXPECT_EQ(reader.header().depth, 2);
    EXPECT_GT(reader.header().leafCount, 20u);
    EXPECT_EQ(reader.entries().size(), 24000u + 1 + 400 + 3 * 190);
    std::size_t doubleByte = 0;
    for (const auto& e : reader.entries()) {
        const auto found = reader.Lookup(e.word, e.context);
        ASSERT_TRUE(found.has_value()) << e.word;
        EXPECT_EQ(found->documents.size(), e.documents.size());
        if (e.word.size() != 2 || static_cast<unsigned char>(e.word[0]) < 0x80) continue;
        EXPECT_EQ(reader.LeafByCaseInsensitiveDescent(e.word), e.leafOffset) << std::hex
            << int(static_cast<unsigned char>(e.word[0])) << ' ' << int(static_cast<unsigned char>(e.word[1]));
        ++doubleByte;
    }
    EXPECT_EQ(doubleByte, 3u * 190);
    const auto common = reader.Lookup("common", 0);
    ASSERT_TRUE(common.has_value());
    EXPECT_EQ(common->documents.size(), 400u);  // document count above 127: a two-byte count
    EXPECT_EQ(common->documents[399].positions.size(), 60u);

    // Topic numbers out of order and given twice, and Latin words each page numbers for itself.
    PageCorpus corpus({.pages = 40});
    for (std::uint32_t i = 0; i < corpus.pages().size(); ++i) topics.push_back({(i * 37) % 150, corpus.pages()[i].html});
    std::reverse(topics.begin(), topics.end());
    const std::string one = Index(topics, 1);
    for (unsigned threads : {2u, 3u, 8u}) EXPECT_TRUE(Index(topics, threads) == one) << threads;
}

// No pages give a valid empty index; the object file carries the book's code
// page and language in both its objects.
TEST(SearchIndex, EmptyIndexAndObjInstCarryTheCodePageAndLanguage) {
    const hhc::fts::SearchFiles none = hhc::fts::BuildSearchIndex({}, 936, 0x804);
    FtsReader empty(none.fiftiMain);
    EXPECT_TRUE(empty.entries().empty());
    EXPECT_EQ(empty.header().depth, 1);
    auto dword = [](const std::string& s, std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8 |
                                          static_cast<unsigned char>(s[at + 2]) << 16 |
                                          static_cast<unsigned char>(s[at + 3]) << 24);
    };
    for (const auto& [codePage, lcid] : {std::pair<std::uint32_t, std::uint32_t>{936, 0x804}, {1252, 0x409}}) {
        const std::string objInst = hhc::fts::BuildSearchIndex({}, codePage, lcid).objInst;
        ASSERT_EQ(objInst.size(), 2715u);
        EXPECT_EQ(dword(objInst, 0), 0x04000000u);
        EXPECT_EQ(dword(objInst, 0x30), codePage);
        EXPECT_EQ(dword(objInst, 0x34), lcid);
        EXPECT_EQ(dword(objInst, 0xA8B), codePage);
        EXPECT_EQ(dword(objInst, 0xA8F), lcid);
        // The record of lead byte 0xA1 in the character table: a double-byte lead.
        if (codePage == 936) EXPECT_EQ(static_cast<unsigned char>(objInst[0x68 + 10 * 0xA1]), 0x0A);
    }
}

}  // namespace
