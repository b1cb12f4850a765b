#include "fts/page_words.h"

#include <bit>

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
    SortGroups(page);
    GroupHits(page, statistics);
    return page;
}

// Puts the groups of two-byte words first, in ascending key order, which is
// the order of their blocks in the index: the blocks are then visited in
// order when the location codes are written. The keys are picked out of a
// bit map of the two-byte keys, far cheaper than sorting them.
void PageIndexer::SortGroups(PageWords& page) {
    const std::size_t groups = page.keys.size();
    sorted_.clear();
    others_.clear();
    for (std::uint32_t key : page.keys) {
        if (SlotOf(key) < kFirstOtherSlot)
            twoByteKeys_[key / 64] |= std::uint64_t{1} << (key % 64);
        else
            others_.push_back(key);
    }
    for (std::size_t w = 0; w < twoByteKeys_.size(); ++w) {
        for (std::uint64_t bits = twoByteKeys_[w]; bits != 0; bits &= bits - 1)
            sorted_.push_back(static_cast<std::uint32_t>(w * 64 + static_cast<unsigned>(std::countr_zero(bits))));
        twoByteKeys_[w] = 0;
    }
    page.sortedGroups = sorted_.size();
    sorted_.insert(sorted_.end(), others_.begin(), others_.end());
    // groupOf_ still gives each key's old group + 1.
    newGroup_.resize(groups);
    for (std::size_t g = 0; g < groups; ++g) newGroup_[groupOf_[sorted_[g]] - 1] = static_cast<std::uint32_t>(g);
    for (Hit& h : hits_) h.group = newGroup_[h.group];
    page.keys.swap(sorted_);
}

void PageIndexer::AddText(std::string_view text, std::uint32_t firstPosition, Context context,
                          std::uint32_t& nextPosition, PageWords& page) {
    WordBreaker breaker(codePage_, text, firstPosition);
    IndexWord word;
    while (breaker.Next(word)) {
        if (stopList_ != nullptr && stopList_->Contains(word.bytes)) continue;
        std::uint32_t slot = word.bytes.size() == 2 ? TwoByteSlot(word.bytes) : OtherSlot(word.bytes, page);
        std::uint32_t key = KeyOf(slot, context);
        if (key >= groupOf_.size()) groupOf_.resize(2 * static_cast<std::size_t>(key), 0);
        std::uint32_t& group = groupOf_[key];
        if (group == 0) {
            page.keys.push_back(key);
            group = static_cast<std::uint32_t>(page.keys.size());
        }
        hits_.push_back({group - 1, word.position});
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

// A counting sort of the hits by group; every group stays in position order.
void PageIndexer::GroupHits(PageWords& page, PageStatistics& statistics) {
    const std::size_t groups = page.keys.size();
    page.ends.assign(groups, 0);
    for (const Hit& h : hits_) ++page.ends[h.group];
    // starts_ becomes each group's start in positions, then its end.
    starts_.resize(groups);
    std::uint32_t start = 0;
    for (std::size_t g = 0; g < groups; ++g) {
        std::uint32_t n = page.ends[g];
        std::uint32_t slot = SlotOf(page.keys[g]);
        statistics.positionCounts.Add(n);
        statistics.occurrenceBytes +=
            std::uint64_t{n} * (slot < kFirstOtherSlot ? 2 : page.otherWords[slot - kFirstOtherSlot].size());
        starts_[g] = start;
        start += n;
        page.ends[g] = start;
    }
    statistics.occurrences += hits_.size();
    page.positions.resize(hits_.size());
    for (const Hit& h : hits_) page.positions[starts_[h.group]++] = h.position;
    for (std::size_t g = 0; g < groups; ++g) {
        groupOf_[page.keys[g]] = 0;
        std::uint32_t previous = 0;
        for (std::size_t p = page.begin(g); p < page.ends[g]; ++p) {
            statistics.positionDeltas.Add(page.positions[p] - previous);
            previous = page.positions[p];
        }
    }
}

}  // namespace hhc::fts
