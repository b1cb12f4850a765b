#pragma once
// A small reader of "/$FIftiMain" for the tests, written from the format notes
// alone: it shares no code with the writer in hhc/fts, so the two cannot agree
// on a mistake by construction.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fts_test {

struct DocumentHits {
    std::uint32_t document = 0;
    std::vector<std::uint32_t> positions;
};

struct Entry {
    std::string word;
    int context = 0;
    std::uint32_t leafOffset = 0;
    std::vector<DocumentHits> documents;
};

struct Header {
    std::uint32_t documentCount = 0;
    std::uint32_t rootOffset08 = 0;
    std::uint32_t leafCount = 0;
    std::uint32_t rootOffset14 = 0;
    std::uint16_t depth = 0;
    std::uint8_t roots[3] = {};
    std::uint8_t scales[3] = {};
    std::uint32_t nodeSize = 0;
    std::uint32_t longestWord = 0;
    std::uint32_t occurrences = 0;
    std::uint32_t distinctWords = 0;
    std::uint32_t entryWordBytes = 0;
    std::uint32_t freeBytes = 0;
    std::uint32_t highestDocument = 0;
    std::uint32_t codePage = 0;
    std::uint32_t lcid = 0;
};

class FtsReader {
public:
    // Throws std::runtime_error with a description on any inconsistency.
    explicit FtsReader(std::string file);

    const Header& header() const { return header_; }

    // Every leaf entry, following the leaf chain from the leftmost leaf.
    const std::vector<Entry>& entries() const { return entries_; }

    // Looks `word` up by descending from the root the way readers do (first
    // index key >= word, unsigned bytes); nullopt when it is not there.
    std::optional<Entry> Lookup(const std::string& word, int context) const;

    // The leaf a descent with an ASCII case-insensitive comparison reaches
    // (what chmlib-family readers do), or 0 when it falls off the tree.
    std::uint32_t LeafByCaseInsensitiveDescent(const std::string& word) const;

    // Documents (with their positions, both contexts merged) holding `chars`
    // at consecutive positions; each element of `chars` is one word.
    std::vector<std::uint32_t> PhraseDocuments(const std::vector<std::string>& chars) const;

    // Sum of free-space fields seen in all nodes.
    std::uint64_t nodeFreeBytes() const { return nodeFreeBytes_; }

private:
    // With `match`, decodes only the location codes of that entry.
    std::vector<Entry> ReadLeaf(std::uint32_t offset, std::uint32_t* next, std::uint16_t* free,
                                const std::pair<std::string, int>* match = nullptr) const;
    std::vector<DocumentHits> ReadBlock(std::uint32_t offset, std::uint32_t size, std::uint32_t count) const;
    std::uint32_t Descend(const std::string& word, bool caseInsensitive) const;

    std::string file_;
    Header header_;
    std::vector<Entry> entries_;
    std::map<std::pair<std::string, int>, std::size_t> byWord_;
    std::uint64_t nodeFreeBytes_ = 0;
    mutable std::map<std::pair<std::string, int>, std::optional<Entry>> lookups_;
};

}  // namespace fts_test
