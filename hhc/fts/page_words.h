#pragma once
// The words of one page, found and grouped by word: the unit of work that
// threads share when a book is indexed.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "fts/code_page.h"
#include "fts/stop_list.h"
#include "fts/wlc_coder.h"

namespace hhc::fts {

enum class Context : std::uint8_t { kBody = 0, kTitle = 1 };

// Every word has a slot. A two-byte word (every double-byte character) is its
// own slot, the value of its two bytes; other words take slots from
// kFirstOtherSlot on. A key is a slot in one context.
inline constexpr std::uint32_t kFirstOtherSlot = 0x10000;

inline std::uint32_t TwoByteSlot(std::string_view word) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(word[0]) << 8 | static_cast<std::uint8_t>(word[1]));
}
inline std::uint32_t KeyOf(std::uint32_t slot, Context context) {
    return slot * 2 + static_cast<std::uint32_t>(context);
}
inline std::uint32_t SlotOf(std::uint32_t key) { return key / 2; }
inline Context ContextOf(std::uint32_t key) { return static_cast<Context>(key & 1); }

struct PageWords {
    std::uint32_t document = 0;
    std::vector<std::uint32_t> keys;       // each word of the page in each context once
    std::size_t sortedGroups = 0;          // the first groups: two-byte words, keys ascending
    std::vector<std::uint32_t> ends;       // where the positions of keys[i] end
    std::vector<std::uint32_t> positions;  // grouped by key, ascending in each group
    // Words that are not two bytes long; slot kFirstOtherSlot + i is
    // otherWords[i] until the word table renumbers them.
    std::vector<std::string> otherWords;

    std::size_t begin(std::size_t i) const { return i == 0 ? 0 : ends[i - 1]; }
};

// What the location codes of every page will hold, apart from document
// deltas (those depend on the pages before): for choosing root sizes. Each
// thread keeps its own, a cache line apart from the others'.
struct alignas(64) PageStatistics {
    RootChooser positionCounts;
    RootChooser positionDeltas;
    std::uint64_t occurrences = 0;
    std::uint64_t occurrenceBytes = 0;  // word length summed over the occurrences

    void Add(const PageStatistics& other);
};

// Finds the words of pages, one page at a time. Each thread needs its own.
class PageIndexer {
public:
    // Words of `stopList` (which must outlive the indexer; may be null) are
    // left out, though they keep their positions.
    explicit PageIndexer(std::uint32_t codePage, const StopList* stopList = nullptr)
        : codePage_(codePage), stopList_(stopList != nullptr && !stopList->empty() ? stopList : nullptr) {}

    // Title words take the first positions of a page (context 1); the body
    // follows after one empty position, so no phrase runs from title into body.
    PageWords Index(std::string_view html, std::uint32_t document, PageStatistics& statistics);

private:
    struct Hit {
        std::uint32_t group;  // index in PageWords::keys
        std::uint32_t position;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    void AddText(std::string_view text, std::uint32_t firstPosition, Context context, std::uint32_t& nextPosition,
                 PageWords& page);
    std::uint32_t OtherSlot(std::string_view word, PageWords& page);
    void SortGroups(PageWords& page);
    void GroupHits(PageWords& page, PageStatistics& statistics);

    CodePage codePage_;
    const StopList* stopList_;
    std::vector<Hit> hits_;
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> otherSlots_;  // of the current page
    std::vector<std::uint32_t> groupOf_ = std::vector<std::uint32_t>(2 * kFirstOtherSlot, 0);  // by key: group + 1, 0 between pages
    std::vector<std::uint32_t> starts_;  // by group
    std::vector<std::uint64_t> twoByteKeys_ = std::vector<std::uint64_t>(2 * kFirstOtherSlot / 64, 0);  // bit map
    std::vector<std::uint32_t> sorted_;
    std::vector<std::uint32_t> others_;
    std::vector<std::uint32_t> newGroup_;
};

}  // namespace hhc::fts
