#include "lzx/interval_encoder.h"

#include <algorithm>
#include <cstring>

#include "lzx/huffman.h"

namespace hhc::lzx {
namespace {

// Readers with a fixed input buffer refuse frames that code to more bytes.
constexpr std::size_t kMaxCodedFrameBytes = kFrameSize + 6144;
constexpr std::size_t kReadSlack = 16;  // the match finder reads a little past the end
constexpr unsigned kUnusedSymbolCost = 14;

// First-pass cost model: literals priced by their frequency in the interval,
// matches by rough constants that favour repeated offsets.
CostModel InitialCostModel(const std::uint8_t* data, std::size_t size) {
    std::array<std::uint32_t, kNumChars> freqs{};
    for (std::size_t i = 0; i < size; ++i) ++freqs[data[i]];
    std::array<std::uint8_t, kNumChars> lengths{};
    BuildCodeLengths(freqs, kMaxMainCodeLength, lengths);
    CostModel model;
    for (unsigned c = 0; c < kNumChars; ++c) model.main[c] = lengths[c] ? lengths[c] : kUnusedSymbolCost;
    for (unsigned slot = 0; slot < kNumPositionSlots; ++slot)
        for (unsigned h = 0; h < kNumLengthHeaders; ++h)
            model.main[kNumChars + slot * kNumLengthHeaders + h] =
                static_cast<std::uint8_t>((slot < kNumRepeatedOffsets ? 5 + slot : 9) + h / 2);
    model.length.fill(6);
    return model;
}

// Cost model taken from the code lengths a previous parse would get.
CostModel CostModelFromPlan(const BlockPlan& plan) {
    CostModel model;
    for (unsigned s = 0; s < kMainSymbols; ++s)
        model.main[s] = plan.mainLengths[s] ? plan.mainLengths[s] : kUnusedSymbolCost;
    for (unsigned s = 0; s < kLengthSymbols; ++s)
        model.length[s] = plan.lengthLengths[s] ? plan.lengthLengths[s] : kUnusedSymbolCost;
    return model;
}

}  // namespace

std::span<const Item> IntervalEncoder::FrameItems(unsigned frame) const {
    return std::span<const Item>(parsed_.items)
        .subspan(parsed_.frameBegin[frame], parsed_.frameBegin[frame + 1] - parsed_.frameBegin[frame]);
}

void IntervalEncoder::Encode(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out,
                             std::vector<std::uint64_t>& frameOffsets) {
    frames_ = static_cast<unsigned>((bytes.size() + kFrameSize - 1) / kFrameSize);
    if (frames_ == 0) return;
    const std::size_t padded = frames_ * kFrameSize;
    buffer_.assign(padded + kReadSlack, 0);
    std::memcpy(buffer_.data(), bytes.data(), bytes.size());

    parser_.Parse(buffer_.data(), frames_, InitialCostModel(buffer_.data(), padded), parsed_);
    // Second pass priced with the codes the first parse would get.
    const CostModel refined = CostModelFromPlan(PlanBlock(parsed_.items, TreeHistory{}));
    parser_.Parse(buffer_.data(), frames_, refined, parsed_);

    const std::size_t start = out.size();
    const std::size_t firstFrame = frameOffsets.size();
    WriteInterval(ChooseLayout(parsed_), out, frameOffsets);

    // Safety net for readers with a bounded frame buffer.
    bool oversized = false;
    for (unsigned f = 0; f < frames_; ++f) {
        const std::size_t end = f + 1 < frames_ ? frameOffsets[firstFrame + f + 1] : out.size();
        oversized = oversized || end - frameOffsets[firstFrame + f] > kMaxCodedFrameBytes;
    }
    if (oversized) {
        out.resize(start);
        frameOffsets.resize(firstFrame);
        WriteStoredInterval(out, frameOffsets);
    }
}

IntervalEncoder::Layout IntervalEncoder::ChooseLayout(const ParsedInterval& parsed) const {
    const std::uint64_t stored = StoredBlockCostBits(kFrameSize);
    const TreeHistory empty;
    Layout best;
    if (frames_ == 1) {
        const std::uint64_t coded = PlanBlock(FrameItems(0), empty).costBits;
        best.frames[0] = coded < stored ? FrameCoding::kOwnBlock : FrameCoding::kStored;
        best.costBits = std::min(coded, stored);
        return best;
    }
    // Both frames in one block.
    best.frames = {FrameCoding::kSharedBlock, FrameCoding::kSharedBlock};
    best.costBits = PlanBlock(parsed.items, empty).costBits;

    // One block per frame; the second block's trees are deltas of the first's.
    const BlockPlan first = PlanBlock(FrameItems(0), empty);
    TreeHistory afterFirst;
    afterFirst.main = first.mainLengths;
    afterFirst.length = first.lengthLengths;
    const std::uint64_t secondAfterFirst = PlanBlock(FrameItems(1), afterFirst).costBits;
    const std::uint64_t secondAlone = PlanBlock(FrameItems(1), empty).costBits;
    const Layout candidates[] = {
        {{FrameCoding::kOwnBlock, FrameCoding::kOwnBlock}, first.costBits + secondAfterFirst},
        {{FrameCoding::kOwnBlock, FrameCoding::kStored}, first.costBits + stored},
        {{FrameCoding::kStored, FrameCoding::kOwnBlock}, stored + secondAlone},
        {{FrameCoding::kStored, FrameCoding::kStored}, 2 * stored},
    };
    for (const Layout& layout : candidates)
        if (layout.costBits < best.costBits) best = layout;
    return best;
}

void IntervalEncoder::WriteInterval(const Layout& layout, std::vector<std::uint8_t>& out,
                                    std::vector<std::uint64_t>& frameOffsets) {
    BitWriter bits(out);
    TreeHistory history;
    const std::size_t intervalStart = out.size();
    bits.Write(0, 1);  // no x86 call translation
    BlockPlan shared;
    if (layout.frames[0] == FrameCoding::kSharedBlock) {
        shared = PlanBlock(parsed_.items, history);
        WriteBlockHeader(bits, shared, static_cast<std::uint32_t>(frames_ * kFrameSize), history);
    }
    for (unsigned f = 0; f < frames_; ++f) {
        frameOffsets.push_back(f == 0 ? intervalStart : out.size());
        switch (layout.frames[f]) {
        case FrameCoding::kSharedBlock:
            ItemWriter(shared).Write(bits, FrameItems(f));
            break;
        case FrameCoding::kOwnBlock: {
            const BlockPlan plan = PlanBlock(FrameItems(f), history);
            WriteBlockHeader(bits, plan, static_cast<std::uint32_t>(kFrameSize), history);
            ItemWriter(plan).Write(bits, FrameItems(f));
            break;
        }
        case FrameCoding::kStored:
            // The offsets written here are the ones the next frame's parse ended up with.
            WriteStoredBlock(bits, std::span<const std::uint8_t>(buffer_).subspan(f * kFrameSize, kFrameSize),
                             parsed_.offsetsAfterFrame[f]);
            break;
        }
        bits.AlignToWord();
    }
}

void IntervalEncoder::WriteStoredInterval(std::vector<std::uint8_t>& out, std::vector<std::uint64_t>& frameOffsets) {
    BitWriter bits(out);
    const std::size_t intervalStart = out.size();
    bits.Write(0, 1);
    for (unsigned f = 0; f < frames_; ++f) {
        frameOffsets.push_back(f == 0 ? intervalStart : out.size());
        WriteStoredBlock(bits, std::span<const std::uint8_t>(buffer_).subspan(f * kFrameSize, kFrameSize),
                         RepeatedOffsets{1, 1, 1});
    }
}

}  // namespace hhc::lzx
