#pragma once
// The parse of a reset interval: literals and matches already turned into the
// symbols and footer bits they will be coded with.
#include <array>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "lzx/lzx_constants.h"
#include "lzx/lzx_compress.h"

namespace hhc::lzx {

inline constexpr std::uint16_t kNoLengthSymbol = 0xFFFF;

struct Item {
    std::uint16_t mainSymbol;    // < 256: literal byte; else 256 + 8 * slot + length header
    std::uint16_t lengthSymbol;  // length - 9, or kNoLengthSymbol
    std::uint32_t footer;        // formatted offset - slot base
    std::uint8_t footerBits;     // extra bits of the slot
};

using RepeatedOffsets = std::array<std::uint32_t, kNumRepeatedOffsets>;

struct ParsedInterval {
    unsigned frames = 0;
    std::vector<Item> items;
    // Items of frame f are [frameBegin[f], frameBegin[f + 1]).
    std::array<std::size_t, kResetIntervalFrames + 1> frameBegin{};
    // Repeated offsets as they stand after each frame.
    std::array<RepeatedOffsets, kResetIntervalFrames> offsetsAfterFrame{};
};

inline constexpr unsigned kExplicitOffset = kNumRepeatedOffsets;  // "not a repeated offset"

// Appends the item for a match and updates the repeated offsets the way the
// decoder will: R1 and R2 swap with R0 when used, an explicit distance is
// pushed to the front.
inline void AppendMatch(std::vector<Item>& items, RepeatedOffsets& repeats, unsigned repeat,
                        std::uint32_t distance, unsigned length) {
    std::uint32_t formatted;
    if (repeat == kExplicitOffset) {
        formatted = distance + kNumRepeatedOffsets - 1;
        repeats[2] = repeats[1];
        repeats[1] = repeats[0];
        repeats[0] = distance;
    } else {
        formatted = repeat;
        std::swap(repeats[0], repeats[repeat]);
    }
    const unsigned slot = PositionSlot(formatted);
    const unsigned header = std::min(length - kMinMatch, kNumPrimaryLengths);
    Item item;
    item.mainSymbol = static_cast<std::uint16_t>(kNumChars + slot * kNumLengthHeaders + header);
    item.lengthSymbol = header == kNumPrimaryLengths
                            ? static_cast<std::uint16_t>(length - kMinMatch - kNumPrimaryLengths)
                            : kNoLengthSymbol;
    item.footer = formatted - kSlotBase[slot];
    item.footerBits = kExtraBits[slot];
    items.push_back(item);
}

inline void AppendLiteral(std::vector<Item>& items, std::uint8_t byte) {
    items.push_back({byte, kNoLengthSymbol, 0, 0});
}

// Estimated cost in bits of each main and length symbol, used to choose
// between literals and the matches on offer.
struct CostModel {
    std::array<std::uint8_t, kMainSymbols> main{};
    std::array<std::uint8_t, kLengthSymbols> length{};

    // Bits for a match of `length` bytes whose formatted offset is in `slot`.
    int MatchCost(unsigned slot, unsigned length) const {
        const unsigned header = std::min(length - kMinMatch, kNumPrimaryLengths);
        int bits = main[kNumChars + slot * kNumLengthHeaders + header] + kExtraBits[slot];
        if (header == kNumPrimaryLengths) bits += this->length[length - kMinMatch - kNumPrimaryLengths];
        return bits;
    }
};

}  // namespace hhc::lzx
