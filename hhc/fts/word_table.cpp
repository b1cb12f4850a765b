#include "fts/word_table.h"

#include <algorithm>

namespace hhc::fts {

void Postings::AddDocument(std::uint32_t document, const std::uint32_t* positions, std::size_t count) {
    data_.push_back(document | kDocumentMark);
    data_.insert(data_.end(), positions, positions + count);  // positions stay below 2^31
    ++documentCount_;
    lastDocument_ = document;
}

std::uint32_t WordTable::Intern(std::string_view word) {
    if (word.size() == 2) {
        unsigned value = static_cast<std::uint8_t>(word[0]) << 8 | static_cast<std::uint8_t>(word[1]);
        std::int32_t& slot = twoByte_[value];
        if (slot >= 0) return static_cast<std::uint32_t>(slot);
        slot = static_cast<std::int32_t>(words_.size());
    } else {
        auto found = other_.find(word);
        if (found != other_.end()) return found->second;
        other_.emplace(std::string(word), static_cast<std::uint32_t>(words_.size()));
    }
    words_.emplace_back(word);
    postings_.resize(words_.size() * 2);
    return static_cast<std::uint32_t>(words_.size() - 1);
}

// Groups the hits by key with a counting sort, so that every word of the
// document is appended in one go: far fewer scattered memory accesses than
// adding occurrence by occurrence.
void WordTable::AddDocument(std::uint32_t document, const std::vector<WordHit>& hits) {
    counts_.resize(postings_.size(), 0);
    touched_.clear();
    for (const WordHit& h : hits) {
        if (counts_[h.key]++ == 0) touched_.push_back(h.key);
        occurrenceBytes_ += words_[h.key / 2].size();
    }
    occurrences_ += hits.size();
    // counts_ becomes each touched key's start in grouped_, then its end.
    std::uint32_t start = 0;
    for (std::uint32_t key : touched_) {
        std::uint32_t n = counts_[key];
        counts_[key] = start;
        start += n;
    }
    grouped_.resize(hits.size());
    for (const WordHit& h : hits) grouped_[counts_[h.key]++] = h.position;
    start = 0;
    for (std::uint32_t key : touched_) {
        std::uint32_t end = counts_[key];
        Postings& p = postings_[key];
        documentDeltas_.Add(document - (p.empty() ? 0 : p.lastDocument()));
        positionCounts_.Add(end - start);
        std::uint32_t previous = 0;
        for (std::uint32_t i = start; i < end; ++i) {
            positionDeltas_.Add(grouped_[i] - previous);
            previous = grouped_[i];
        }
        p.AddDocument(document, grouped_.data() + start, end - start);
        start = end;
        counts_[key] = 0;
    }
}

std::vector<std::uint32_t> WordTable::SortedIds() const {
    std::vector<std::uint32_t> ids(words_.size());
    for (std::uint32_t i = 0; i < ids.size(); ++i) ids[i] = i;
    // std::string compares its chars as unsigned bytes.
    std::sort(ids.begin(), ids.end(), [this](std::uint32_t a, std::uint32_t b) { return words_[a] < words_[b]; });
    return ids;
}

}  // namespace hhc::fts
