#include "lzx/block_writer.h"

#include "lzx/huffman.h"
#include "lzx/tree_writer.h"

namespace hhc::lzx {
namespace {

constexpr unsigned kBlockTypeBits = 3;
constexpr unsigned kBlockSizeBits = 24;
constexpr unsigned kAlignedLengthBits = 3;
constexpr unsigned kAlignedFooterBits = 3;  // low footer bits coded with the aligned tree
constexpr std::uint32_t kAlignedMask = (1u << kAlignedFooterBits) - 1;

std::span<const std::uint8_t> LiteralPart(const std::array<std::uint8_t, kMainSymbols>& lengths) {
    return std::span<const std::uint8_t>(lengths).first(kNumChars);
}
std::span<const std::uint8_t> MatchPart(const std::array<std::uint8_t, kMainSymbols>& lengths) {
    return std::span<const std::uint8_t>(lengths).subspan(kNumChars);
}

}  // namespace

void SymbolCounts::Add(std::span<const Item> items) {
    for (const Item& item : items) {
        ++main[item.mainSymbol];
        if (item.mainSymbol < kNumChars) continue;
        if (item.lengthSymbol != kNoLengthSymbol) ++length[item.lengthSymbol];
        footerBits += item.footerBits;
        if (item.footerBits >= kAlignedFooterBits) {
            ++aligned[item.footer & kAlignedMask];
            ++alignableFooters;
        }
    }
}

SymbolCounts& SymbolCounts::operator+=(const SymbolCounts& other) {
    for (unsigned s = 0; s < kMainSymbols; ++s) main[s] += other.main[s];
    for (unsigned s = 0; s < kLengthSymbols; ++s) length[s] += other.length[s];
    for (unsigned s = 0; s < kAlignedSymbols; ++s) aligned[s] += other.aligned[s];
    footerBits += other.footerBits;
    alignableFooters += other.alignableFooters;
    return *this;
}

TreeHistory HistoryAfter(const BlockPlan& plan) {
    TreeHistory history;
    history.main = plan.mainLengths;
    history.length = plan.lengthLengths;
    return history;
}

BlockPlan PlanBlock(const SymbolCounts& counts, const TreeHistory& history) {
    const auto& mainFreqs = counts.main;
    const auto& lengthFreqs = counts.length;
    const auto& alignedFreqs = counts.aligned;
    const std::uint64_t footerBits = counts.footerBits;
    const std::uint64_t alignableFooters = counts.alignableFooters;

    BlockPlan plan;
    BuildCodeLengths(mainFreqs, kMaxMainCodeLength, plan.mainLengths);
    BuildCodeLengths(lengthFreqs, kMaxLengthCodeLength, plan.lengthLengths);
    // Keep the length tree complete even when no long match needs it.
    if (plan.lengthLengths[0] == 0 && plan.lengthLengths[1] == 0) {
        bool empty = true;
        for (std::uint8_t len : plan.lengthLengths) empty = empty && len == 0;
        if (empty) plan.lengthLengths[0] = plan.lengthLengths[1] = 1;
    }

    std::uint64_t bits = kBlockTypeBits + kBlockSizeBits;
    bits += TreeSectionCost(LiteralPart(history.main), LiteralPart(plan.mainLengths));
    bits += TreeSectionCost(MatchPart(history.main), MatchPart(plan.mainLengths));
    bits += TreeSectionCost(history.length, plan.lengthLengths);
    for (unsigned s = 0; s < kMainSymbols; ++s) bits += std::uint64_t{mainFreqs[s]} * plan.mainLengths[s];
    for (unsigned s = 0; s < kLengthSymbols; ++s) bits += std::uint64_t{lengthFreqs[s]} * plan.lengthLengths[s];
    bits += footerBits;

    if (alignableFooters != 0) {
        BuildCodeLengths(alignedFreqs, kMaxAlignedCodeLength, plan.alignedLengths);
        std::uint64_t alignedBits = kAlignedSymbols * kAlignedLengthBits;
        for (unsigned s = 0; s < kAlignedSymbols; ++s) alignedBits += std::uint64_t{alignedFreqs[s]} * plan.alignedLengths[s];
        const std::uint64_t verbatimBits = alignableFooters * kAlignedFooterBits;
        if (alignedBits < verbatimBits) {
            plan.type = kBlockTypeAligned;
            bits = bits - verbatimBits + alignedBits;
        }
    }
    plan.costBits = bits;
    return plan;
}

void WriteBlockHeader(WordBitWriter& bits, const BlockPlan& plan, std::uint32_t blockSize, TreeHistory& history) {
    bits.Write(plan.type, kBlockTypeBits);
    bits.Write(blockSize, kBlockSizeBits);
    if (plan.type == kBlockTypeAligned)
        for (std::uint8_t len : plan.alignedLengths) bits.Write(len, kAlignedLengthBits);
    WriteTreeSection(bits, LiteralPart(history.main), LiteralPart(plan.mainLengths));
    WriteTreeSection(bits, MatchPart(history.main), MatchPart(plan.mainLengths));
    WriteTreeSection(bits, history.length, plan.lengthLengths);
    history.main = plan.mainLengths;
    history.length = plan.lengthLengths;
}

ItemWriter::ItemWriter(const BlockPlan& plan) : plan_(plan) {
    AssignCanonicalCodes(plan.mainLengths, mainCodes_);
    AssignCanonicalCodes(plan.lengthLengths, lengthCodes_);
    if (plan.type == kBlockTypeAligned) AssignCanonicalCodes(plan.alignedLengths, alignedCodes_);
}

void ItemWriter::Write(WordBitWriter& bits, std::span<const Item> items) const {
    const bool aligned = plan_.type == kBlockTypeAligned;
    for (const Item& item : items) {
        bits.Write(mainCodes_[item.mainSymbol], plan_.mainLengths[item.mainSymbol]);
        if (item.mainSymbol < kNumChars) continue;
        if (item.lengthSymbol != kNoLengthSymbol)
            bits.Write(lengthCodes_[item.lengthSymbol], plan_.lengthLengths[item.lengthSymbol]);
        if (aligned && item.footerBits >= kAlignedFooterBits) {
            bits.Write(item.footer >> kAlignedFooterBits, item.footerBits - kAlignedFooterBits);
            const unsigned low = item.footer & kAlignedMask;
            bits.Write(alignedCodes_[low], plan_.alignedLengths[low]);
        } else {
            bits.Write(item.footer, item.footerBits);
        }
    }
}

void WriteStoredBlock(WordBitWriter& bits, std::span<const std::uint8_t> bytes, const RepeatedOffsets& offsets) {
    bits.Write(kBlockTypeUncompressed, kBlockTypeBits);
    bits.Write(static_cast<std::uint32_t>(bytes.size()), kBlockSizeBits);
    // 1..16 bits of alignment: a whole zero word when already aligned.
    if (bits.Aligned()) bits.Write(0, 16);
    else bits.AlignToWord();
    for (std::uint32_t r : offsets) bits.WriteUint32LE(r);
    bits.WriteBytes(bytes.data(), bytes.size());
    if (bytes.size() & 1) {
        const std::uint8_t pad = 0;
        bits.WriteBytes(&pad, 1);
    }
}

}  // namespace hhc::lzx
