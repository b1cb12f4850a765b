#include "fts/word_table.h"

#include <algorithm>

namespace hhc::fts {

WordTable::WordTable()
    : documentCounts_(2 * kFirstOtherSlot, 0), lastDocuments_(2 * kFirstOtherSlot, 0), occurrences_(2 * kFirstOtherSlot, 0) {
    twoByteWords_.resize(2 * kFirstOtherSlot);
    for (std::uint32_t slot = 0; slot < kFirstOtherSlot; ++slot) {
        twoByteWords_[2 * slot] = static_cast<char>(slot >> 8);
        twoByteWords_[2 * slot + 1] = static_cast<char>(slot & 0xFF);
    }
}

std::uint32_t WordTable::OtherSlot(const std::string& word) {
    auto found = otherSlots_.find(word);
    if (found != otherSlots_.end()) return found->second;
    auto slot = static_cast<std::uint32_t>(kFirstOtherSlot + otherWords_.size());
    otherWords_.push_back(word);
    otherSlots_.emplace(word, slot);
    std::size_t keys = KeyOf(slot + 1, Context::kBody);
    documentCounts_.resize(keys, 0);
    lastDocuments_.resize(keys, 0);
    occurrences_.resize(keys, 0);
    return slot;
}

void WordTable::AddPage(PageWords& page) {
    pageSlots_.clear();
    for (const std::string& w : page.otherWords) pageSlots_.push_back(OtherSlot(w));
    const std::uint32_t document = page.document;
    for (std::size_t i = 0; i < page.keys.size(); ++i) {
        std::uint32_t key = page.keys[i];
        if (SlotOf(key) >= kFirstOtherSlot) {
            key = KeyOf(pageSlots_[SlotOf(key) - kFirstOtherSlot], ContextOf(key));
            page.keys[i] = key;
        }
        documentDeltas_.Add(document - (documentCounts_[key] == 0 ? 0 : lastDocuments_[key]));
        ++documentCounts_[key];
        lastDocuments_[key] = document;
        occurrences_[key] += page.ends[i] - page.begin(i);
    }
    page.otherWords.clear();
    page.otherWords.shrink_to_fit();
    if (!page.keys.empty()) highestDocument_ = std::max(highestDocument_, document);
}

std::string_view WordTable::word(std::uint32_t slot) const {
    if (slot < kFirstOtherSlot) return std::string_view(twoByteWords_).substr(2 * slot, 2);
    return otherWords_[slot - kFirstOtherSlot];
}

std::size_t WordTable::wordCount() const {
    std::size_t count = 0;
    for (std::size_t slot = 0; 2 * slot < documentCounts_.size(); ++slot)
        count += documentCounts_[2 * slot] + documentCounts_[2 * slot + 1] > 0 ? 1 : 0;
    return count;
}

std::vector<std::uint32_t> WordTable::SortedSlots() const {
    std::vector<std::uint32_t> slots;
    for (std::uint32_t slot = 0; 2 * slot < documentCounts_.size(); ++slot)
        if (documentCounts_[2 * slot] + documentCounts_[2 * slot + 1] > 0) slots.push_back(slot);
    // string_view compares its chars as unsigned bytes.
    std::sort(slots.begin(), slots.end(), [this](std::uint32_t a, std::uint32_t b) { return word(a) < word(b); });
    return slots;
}

}  // namespace hhc::fts
