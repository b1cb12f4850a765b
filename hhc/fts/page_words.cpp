#include "fts/page_words.h"

#include "fts/page_text.h"
#include "fts/word_breaker.h"

namespace hhc::fts {

void PageStatistics::Add(const PageStatistics& other) {
    positionCounts.Add(other.positionCounts);
    positionDeltas.Add(other.positionDeltas);
    occurrences += other.occurrences;
    occurrenceBytes += other.occurrenceBytes;
}

PageWords PageIndexer::Index(std::string_view html, std::uint32_t document, PageStatistics& statistics) {
    PageText text = ExtractPageText(html, codePage_);
    PageWords page;
    page.document = document;
    hits_.clear();
    otherSlots_.clear();
    std::uint32_t afterTitle = 0;
    AddText(text.title, 0, Context::kTitle, afterTitle, page);
    std::uint32_t afterBody = 0;
    AddText(text.body, afterTitle == 0 ? 0 : afterTitle + 1, Context::kBody, afterBody, page);
    GroupHits(page, statistics);
    return page;
}

void PageIndexer::AddText(std::string_view text, std::uint32_t firstPosition, Context context,
                          std::uint32_t& nextPosition, PageWords& page) {
    WordBreaker breaker(codePage_, text, firstPosition);
    IndexWord word;
    while (breaker.Next(word)) {
        std::uint32_t slot = word.bytes.size() == 2 ? TwoByteSlot(word.bytes) : OtherSlot(word.bytes, page);
        hits_.push_back({KeyOf(slot, context), word.position});
    }
    nextPosition = breaker.nextPosition();
}

std::uint32_t PageIndexer::OtherSlot(std::string_view word, PageWords& page) {
    auto found = otherSlots_.find(word);
    if (found != otherSlots_.end()) return found->second;
    auto slot = static_cast<std::uint32_t>(kFirstOtherSlot + page.otherWords.size());
    page.otherWords.emplace_back(word);
    otherSlots_.emplace(std::string(word), slot);
    return slot;
}

// A counting sort of the hits by key; every group stays in position order.
void PageIndexer::GroupHits(PageWords& page, PageStatistics& statistics) {
    std::size_t keys = KeyOf(kFirstOtherSlot + static_cast<std::uint32_t>(page.otherWords.size()), Context::kBody);
    if (counts_.size() < keys) counts_.resize(keys, 0);
    for (const Hit& h : hits_) {
        if (counts_[h.key]++ == 0) page.keys.push_back(h.key);
        statistics.occurrenceBytes += SlotOf(h.key) < kFirstOtherSlot ? 2 : page.otherWords[SlotOf(h.key) - kFirstOtherSlot].size();
    }
    statistics.occurrences += hits_.size();
    page.ends.resize(page.keys.size());
    // counts_ becomes each key's start in positions, then its end.
    std::uint32_t start = 0;
    for (std::size_t i = 0; i < page.keys.size(); ++i) {
        std::uint32_t& slot = counts_[page.keys[i]];
        std::uint32_t n = slot;
        statistics.positionCounts.Add(n);
        slot = start;
        start += n;
        page.ends[i] = start;
    }
    page.positions.resize(hits_.size());
    for (const Hit& h : hits_) page.positions[counts_[h.key]++] = h.position;
    for (std::size_t i = 0; i < page.keys.size(); ++i) {
        counts_[page.keys[i]] = 0;
        std::uint32_t previous = 0;
        for (std::size_t p = page.begin(i); p < page.ends[i]; ++p) {
            statistics.positionDeltas.Add(page.positions[p] - previous);
            previous = page.positions[p];
        }
    }
}

}  // namespace hhc::fts
