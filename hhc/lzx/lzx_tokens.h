#pragma once
// The parse of a reset interval: literals and matches already turned into the
// symbols and footer bits they will be coded with.
#include <array>
#include <cstdint>
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

// Estimated cost in bits of each main and length symbol, used to choose
// between literals and the matches on offer.
struct CostModel {
    std::array<std::uint8_t, kMainSymbols> main{};
    std::array<std::uint8_t, kLengthSymbols> length{};
};

}  // namespace hhc::lzx
