#include "fts/word_table.h"

#include <algorithm>

namespace hhc::fts {

void Postings::Add(std::uint32_t document, std::uint32_t position) {
    if (document != lastDocument_) {
        data_.push_back(document | kDocumentMark);
        lastDocument_ = document;
        ++documentCount_;
    }
    data_.push_back(position & ~kDocumentMark);
}

WordEntry& WordTable::Find(std::string_view word) {
    if (word.size() == 2) {
        unsigned key = static_cast<std::uint8_t>(word[0]) << 8 | static_cast<std::uint8_t>(word[1]);
        std::int32_t& slot = twoByte_[key];
        if (slot < 0) {
            slot = static_cast<std::int32_t>(words_.size());
            words_.push_back(std::make_unique<WordEntry>(WordEntry{std::string(word), {}}));
        }
        return *words_[static_cast<std::size_t>(slot)];
    }
    auto found = other_.find(word);
    if (found != other_.end()) return *words_[found->second];
    other_.emplace(std::string(word), static_cast<std::uint32_t>(words_.size()));
    words_.push_back(std::make_unique<WordEntry>(WordEntry{std::string(word), {}}));
    return *words_.back();
}

void WordTable::Add(std::string_view word, Context context, std::uint32_t document, std::uint32_t position) {
    Find(word).contexts[static_cast<int>(context)].Add(document, position);
    ++occurrences_;
    occurrenceBytes_ += word.size();
}

std::vector<const WordEntry*> WordTable::SortedWords() const {
    std::vector<const WordEntry*> sorted;
    sorted.reserve(words_.size());
    for (const auto& w : words_) sorted.push_back(w.get());
    // std::string compares its chars as unsigned bytes.
    std::sort(sorted.begin(), sorted.end(), [](const WordEntry* a, const WordEntry* b) { return a->bytes < b->bytes; });
    return sorted;
}

}  // namespace hhc::fts
