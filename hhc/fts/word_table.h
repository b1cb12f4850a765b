#pragma once
// Every indexed word with the documents and positions it occurs at, kept
// separately for page bodies (context 0) and titles (context 1).
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "fts/wlc_coder.h"

namespace hhc::fts {

enum class Context : std::uint8_t { kBody = 0, kTitle = 1 };

// Occurrences of one word in one context, documents in the order added.
// Stored flat: a document number with the top bit set, then its positions.
class Postings {
public:
    static constexpr std::uint32_t kDocumentMark = 0x80000000u;

    // Documents must come in ascending order, positions ascending.
    void AddDocument(std::uint32_t document, const std::uint32_t* positions, std::size_t count);
    bool empty() const { return data_.empty(); }
    std::uint32_t documentCount() const { return documentCount_; }
    std::uint32_t lastDocument() const { return lastDocument_; }
    const std::vector<std::uint32_t>& data() const { return data_; }

private:
    std::vector<std::uint32_t> data_;
    std::uint32_t documentCount_ = 0;
    std::uint32_t lastDocument_ = 0;
};

// One word as it occurs in one document, before the document is added.
struct WordHit {
    std::uint32_t key;       // WordTable::Key(word id, context)
    std::uint32_t position;
};

class WordTable {
public:
    // The id of `word`, adding it when new.
    std::uint32_t Intern(std::string_view word);
    static std::uint32_t Key(std::uint32_t wordId, Context context) {
        return wordId * 2 + static_cast<std::uint32_t>(context);
    }

    // Adds the hits of one document (in ascending position order). Documents
    // must come in ascending order.
    void AddDocument(std::uint32_t document, const std::vector<WordHit>& hits);

    std::size_t wordCount() const { return words_.size(); }
    const std::string& word(std::uint32_t id) const { return words_[id]; }
    const Postings& postings(std::uint32_t id, Context context) const { return postings_[Key(id, context)]; }

    // Word ids sorted by the words' bytes as unsigned values.
    std::vector<std::uint32_t> SortedIds() const;

    // Every value the location codes will hold, by kind, for choosing their
    // root sizes: document deltas, position counts, position deltas.
    const RootChooser& documentDeltas() const { return documentDeltas_; }
    const RootChooser& positionCounts() const { return positionCounts_; }
    const RootChooser& positionDeltas() const { return positionDeltas_; }

    std::uint64_t occurrences() const { return occurrences_; }
    std::uint64_t occurrenceBytes() const { return occurrenceBytes_; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // Two-byte words are looked up directly by their value; others by hash.
    std::vector<std::int32_t> twoByte_ = std::vector<std::int32_t>(65536, -1);
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> other_;
    std::vector<std::string> words_;
    std::vector<Postings> postings_;  // by key
    std::uint64_t occurrences_ = 0;
    std::uint64_t occurrenceBytes_ = 0;
    RootChooser documentDeltas_;
    RootChooser positionCounts_;
    RootChooser positionDeltas_;

    // Scratch space of AddDocument: positions grouped by key.
    std::vector<std::uint32_t> counts_;
    std::vector<std::uint32_t> touched_;
    std::vector<std::uint32_t> grouped_;
};

}  // namespace hhc::fts
