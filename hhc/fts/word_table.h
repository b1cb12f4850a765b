#pragma once
// Every word of a book: the pages' words gathered under one numbering, with
// how many documents hold each word in each context.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "fts/page_words.h"
#include "fts/wlc_coder.h"

namespace hhc::fts {

class WordTable {
public:
    WordTable();

    // Takes the words of the next page (pages in ascending document order)
    // and gives its other words the table's slots, in page.keys as well.
    void AddPage(PageWords& page);

    // Keys are below keyLimit().
    std::size_t keyLimit() const { return documentCounts_.size(); }
    std::uint32_t documentCount(std::uint32_t key) const { return documentCounts_[key]; }
    std::uint64_t occurrences(std::uint32_t key) const { return occurrences_[key]; }
    std::string_view word(std::uint32_t slot) const;
    std::size_t wordCount() const;

    // Slots holding a word, sorted by the words' bytes as unsigned values.
    std::vector<std::uint32_t> SortedSlots() const;

    // The document numbers of a key step up by these.
    const RootChooser& documentDeltas() const { return documentDeltas_; }
    // The highest document holding any word (0 when none does).
    std::uint32_t highestDocument() const { return highestDocument_; }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::uint32_t OtherSlot(const std::string& word);

    std::string twoByteWords_;  // the two bytes of every two-byte slot
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> otherSlots_;
    std::vector<std::string> otherWords_;  // slot kFirstOtherSlot + i
    std::vector<std::uint32_t> documentCounts_;  // by key
    std::vector<std::uint32_t> lastDocuments_;   // by key
    std::vector<std::uint64_t> occurrences_;     // by key
    std::vector<std::uint32_t> pageSlots_;       // scratch: table slots of a page's other words
    RootChooser documentDeltas_;
    std::uint32_t highestDocument_ = 0;
};

}  // namespace hhc::fts
