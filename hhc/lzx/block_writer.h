#pragma once
// Verbatim and aligned-offset LZX blocks: tree construction, exact cost, and
// the coded header, trees and items.
#include <array>
#include <cstdint>
#include <span>

#include "lzx/word_bit_writer.h"
#include "lzx/lzx_tokens.h"

namespace hhc::lzx {

// Code lengths the decoder last received; deltas are taken against them.
struct TreeHistory {
    std::array<std::uint8_t, kMainSymbols> main{};
    std::array<std::uint8_t, kLengthSymbols> length{};
};

struct BlockPlan {
    unsigned type = kBlockTypeVerbatim;
    std::array<std::uint8_t, kMainSymbols> mainLengths{};
    std::array<std::uint8_t, kLengthSymbols> lengthLengths{};
    std::array<std::uint8_t, kAlignedSymbols> alignedLengths{};
    std::uint64_t costBits = 0;  // header, trees and items, exactly
};

// Symbol statistics of a run of items.
struct SymbolCounts {
    std::array<std::uint32_t, kMainSymbols> main{};
    std::array<std::uint32_t, kLengthSymbols> length{};
    std::array<std::uint32_t, kAlignedSymbols> aligned{};  // low footer bits of the offsets that have them
    std::uint64_t footerBits = 0;
    std::uint64_t alignableFooters = 0;

    void Add(std::span<const Item> items);
    SymbolCounts& operator+=(const SymbolCounts& other);
};

// Builds the trees for items with these counts, picks verbatim or
// aligned-offset coding, and computes the block's size in bits given the
// decoder's tree history.
BlockPlan PlanBlock(const SymbolCounts& counts, const TreeHistory& history);

// The history after the decoder has received `plan`'s trees.
TreeHistory HistoryAfter(const BlockPlan& plan);

// Writes the block header and trees, and updates `history`.
void WriteBlockHeader(WordBitWriter& bits, const BlockPlan& plan, std::uint32_t blockSize, TreeHistory& history);

class ItemWriter {
public:
    explicit ItemWriter(const BlockPlan& plan);
    void Write(WordBitWriter& bits, std::span<const Item> items) const;

private:
    const BlockPlan& plan_;
    std::array<std::uint16_t, kMainSymbols> mainCodes_{};
    std::array<std::uint16_t, kLengthSymbols> lengthCodes_{};
    std::array<std::uint16_t, kAlignedSymbols> alignedCodes_{};
};

// Size in bits of an uncompressed block of `size` bytes, upper bound.
inline constexpr std::uint64_t StoredBlockCostBits(std::uint32_t size) {
    return 3 + 24 + 16 + 12 * 8 + std::uint64_t{size + (size & 1)} * 8;
}

// Uncompressed block: header, alignment, repeated offsets, raw bytes.
void WriteStoredBlock(WordBitWriter& bits, std::span<const std::uint8_t> bytes, const RepeatedOffsets& offsets);

}  // namespace hhc::lzx
