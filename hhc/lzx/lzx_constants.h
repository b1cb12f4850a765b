#pragma once
// Alphabet sizes, limits and position-slot tables of LZX as used in CHM books
// (64 KiB window, so 32 position slots).
#include <array>
#include <bit>
#include <cstdint>

namespace hhc::lzx {

inline constexpr unsigned kNumChars = 256;
inline constexpr unsigned kNumPositionSlots = 32;
inline constexpr unsigned kNumLengthHeaders = 8;  // 0..6 code the length, 7 = "see length tree"
inline constexpr unsigned kMainSymbols = kNumChars + kNumPositionSlots * kNumLengthHeaders;
inline constexpr unsigned kLengthSymbols = 249;
inline constexpr unsigned kPretreeSymbols = 20;
inline constexpr unsigned kAlignedSymbols = 8;

inline constexpr unsigned kMaxMainCodeLength = 16;
inline constexpr unsigned kMaxLengthCodeLength = 16;
inline constexpr unsigned kMaxPretreeCodeLength = 15;  // sent in 4-bit fields
inline constexpr unsigned kMaxAlignedCodeLength = 7;   // sent in 3-bit fields

inline constexpr unsigned kMinMatch = 2;
inline constexpr unsigned kMaxMatch = 257;
inline constexpr unsigned kNumPrimaryLengths = 7;       // lengths 2..8 fit in the main symbol
inline constexpr std::uint32_t kMaxMatchDistance = 65533;  // window - 3
inline constexpr unsigned kNumRepeatedOffsets = 3;

inline constexpr unsigned kBlockTypeVerbatim = 1;
inline constexpr unsigned kBlockTypeAligned = 2;
inline constexpr unsigned kBlockTypeUncompressed = 3;

// Extra bits and base formatted offset of each position slot.
inline constexpr std::array<std::uint8_t, kNumPositionSlots> kExtraBits = {
    0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6,
    7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

inline constexpr std::array<std::uint32_t, kNumPositionSlots> kSlotBase = [] {
    std::array<std::uint32_t, kNumPositionSlots> base{};
    for (unsigned s = 1; s < kNumPositionSlots; ++s) base[s] = base[s - 1] + (1u << kExtraBits[s - 1]);
    return base;
}();

// Slot of a formatted offset (distance + 2, or 0..2 for a repeated offset).
inline unsigned PositionSlot(std::uint32_t formatted) {
    if (formatted < 4) return formatted;
    const unsigned top = static_cast<unsigned>(std::bit_width(formatted)) - 1;
    return 2 * top + ((formatted >> (top - 1)) & 1);
}

}  // namespace hhc::lzx
