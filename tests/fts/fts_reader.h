#pragma once
// A small reader of "/$FIftiMain" for the tests, written from the format notes
// alone: it shares no code with the writer in hhc/fts, so the two cannot agree
// on a mistake by construction.
#include <cstdint>
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

// The header fields the reader does not check against the entries itself.
struct Header {
    std::uint32_t documentCount, leafCount, depth, codePage, lcid, rootOffset;
};

class FtsReader {
public:
    // Throws std::runtime_error with a description on any inconsistency,
    // totals in the header that differ from the entries' among them.
    explicit FtsReader(std::string file);

    const Header& header() const { return header_; }
    // Every leaf entry, following the leaf chain from the leftmost leaf.
    const std::vector<Entry>& entries() const { return entries_; }

    // The entry of `word` in `context`; nullopt when it is not there.
    std::optional<Entry> Lookup(const std::string& word, int context) const;
    // The leaf a descent from the root reaches, comparing unsigned bytes or,
    // as chmlib-family readers do, ASCII letters case-insensitively; 0 when
    // it falls off the tree.
    std::uint32_t Descend(const std::string& word, bool caseInsensitive) const;
    // Documents holding the words of `phrase` at consecutive positions (both contexts merged).
    std::vector<std::uint32_t> PhraseDocuments(const std::vector<std::string>& phrase) const;

private:
    std::vector<Entry> ReadLeaf(std::uint32_t offset) const;
    std::vector<DocumentHits> ReadBlock(std::size_t at, std::size_t end, std::uint64_t count) const;

    std::string file_;
    Header header_ = {};
    std::vector<Entry> entries_;
};

}  // namespace fts_test
