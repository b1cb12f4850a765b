#pragma once
// Every indexed word with the documents and positions it occurs at, kept
// separately for page bodies (context 0) and titles (context 1).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hhc::fts {

enum class Context : std::uint8_t { kBody = 0, kTitle = 1 };

// Occurrences of one word in one context, documents in the order added.
// Stored flat: a document number with the top bit set, then its positions.
class Postings {
public:
    static constexpr std::uint32_t kDocumentMark = 0x80000000u;

    // Documents must be added in ascending order, positions ascending within
    // a document.
    void Add(std::uint32_t document, std::uint32_t position);
    bool empty() const { return data_.empty(); }
    std::uint32_t documentCount() const { return documentCount_; }
    const std::vector<std::uint32_t>& data() const { return data_; }

private:
    std::vector<std::uint32_t> data_;
    std::uint32_t lastDocument_ = kDocumentMark;
    std::uint32_t documentCount_ = 0;
};

struct WordEntry {
    std::string bytes;
    Postings contexts[2];
};

class WordTable {
public:
    void Add(std::string_view word, Context context, std::uint32_t document, std::uint32_t position);

    // The words sorted by their bytes as unsigned values.
    std::vector<const WordEntry*> SortedWords() const;

    std::uint64_t occurrences() const { return occurrences_; }
    std::uint64_t occurrenceBytes() const { return occurrenceBytes_; }
    std::size_t distinctWords() const { return words_.size(); }

private:
    WordEntry& Find(std::string_view word);

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // Two-byte words are looked up directly by their value; others by hash.
    std::vector<std::int32_t> twoByte_ = std::vector<std::int32_t>(65536, -1);
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> other_;
    std::vector<std::unique_ptr<WordEntry>> words_;
    std::uint64_t occurrences_ = 0;
    std::uint64_t occurrenceBytes_ = 0;
};

}  // namespace hhc::fts
