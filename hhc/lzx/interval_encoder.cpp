#include "lzx/interval_encoder.h"

#include <algorithm>
#include <cstring>

#include "lzx/frame_probe.h"
#include "lzx/huffman.h"

namespace hhc::lzx {
namespace {

// Readers with a fixed input buffer refuse frames that code to more bytes.
constexpr std::size_t kMaxCodedFrameBytes = kFrameSize + 6144;
constexpr std::size_t kReadSlack = 16;  // the match finders read a little past the end
constexpr std::uint8_t kUnusedSymbolCost = 14;

// Cost model for a first look at data with no history: literals priced by
// their frequency in the interval, matches by rough constants that favour
// repeated offsets.
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

// Prices symbols at the lengths of codes built from `counts`.
CostModel CostModelFromCounts(const SymbolCounts& counts) {
    const BlockPlan plan = PlanBlock(counts, TreeHistory{});
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

std::span<const std::uint8_t> IntervalEncoder::FrameBytes(unsigned frame) const {
    return std::span<const std::uint8_t>(buffer_).subspan(frame * kFrameSize, kFrameSize);
}

void IntervalEncoder::Encode(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out,
                             std::vector<std::uint64_t>& frameOffsets) {
    frames_ = static_cast<unsigned>((bytes.size() + kFrameSize - 1) / kFrameSize);
    if (frames_ == 0) return;
    const std::size_t padded = frames_ * kFrameSize;
    buffer_.assign(padded + kReadSlack, 0);
    std::memcpy(buffer_.data(), bytes.data(), bytes.size());

    ParseInterval(padded);
    const std::size_t start = out.size();
    const std::size_t firstFrame = frameOffsets.size();
    WriteInterval(ChooseLayout(), out, frameOffsets);

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

// Frames that look incompressible get the greedy parse, priced by their own
// byte frequencies; the others the full parse. Only fully parsed frames teach
// the cost model, so text after a stretch of such data is priced as text.
void IntervalEncoder::ParseInterval(std::size_t paddedSize) {
    FrameParses parses{};
    unsigned greedyFrames = 0;
    for (unsigned f = 0; f < frames_; ++f) {
        if (!LooksIncompressible(FrameBytes(f).data(), kFrameSize)) continue;
        parses[f] = FrameParse::kGreedy;
        ++greedyFrames;
    }
    const bool anyOptimal = greedyFrames < frames_;
    CostModel greedyModel;
    if (greedyFrames != 0) {
        const unsigned first = parses[0] == FrameParse::kGreedy ? 0 : 1;
        greedyModel = InitialCostModel(FrameBytes(first).data(), greedyFrames * kFrameSize);
    }
    if (anyOptimal && !haveModel_) {
        quickParser_.Parse(buffer_.data(), frames_, InitialCostModel(buffer_.data(), paddedSize), parsed_);
        SymbolCounts counts;
        counts.Add(parsed_.items);
        model_ = CostModelFromCounts(counts);
    }
    parser_.Parse(buffer_.data(), frames_, model_, parsed_, parses, &greedyModel);
    intervalCounts_ = SymbolCounts{};
    SymbolCounts optimalCounts;
    for (unsigned f = 0; f < frames_; ++f) {
        frameCounts_[f] = SymbolCounts{};
        frameCounts_[f].Add(FrameItems(f));
        intervalCounts_ += frameCounts_[f];
        if (parses[f] == FrameParse::kOptimal) optimalCounts += frameCounts_[f];
    }
    if (anyOptimal) {
        model_ = CostModelFromCounts(optimalCounts);
        haveModel_ = true;
    }
}

IntervalEncoder::Layout IntervalEncoder::ChooseLayout() const {
    const std::uint64_t stored = StoredBlockCostBits(kFrameSize);
    const TreeHistory empty;
    Layout best;
    const BlockPlan first = PlanBlock(frameCounts_[0], empty);
    if (frames_ == 1) {
        const bool code = first.costBits < stored;
        best.frames[0] = code ? FrameCoding::kOwnBlock : FrameCoding::kStored;
        best.plans[0] = first;
        best.costBits = std::min(first.costBits, stored);
        return best;
    }
    // Both frames in one block.
    best.frames = {FrameCoding::kSharedBlock, FrameCoding::kSharedBlock};
    best.plans[0] = PlanBlock(intervalCounts_, empty);
    best.costBits = best.plans[0].costBits;

    // One block per frame; the second block's trees are deltas of the first's.
    const BlockPlan secondAfterFirst = PlanBlock(frameCounts_[1], HistoryAfter(first));
    const BlockPlan secondAlone = PlanBlock(frameCounts_[1], empty);
    const BlockPlan none;
    const Layout candidates[] = {
        {{FrameCoding::kOwnBlock, FrameCoding::kOwnBlock}, {{first, secondAfterFirst}},
         first.costBits + secondAfterFirst.costBits},
        {{FrameCoding::kOwnBlock, FrameCoding::kStored}, {{first, none}}, first.costBits + stored},
        {{FrameCoding::kStored, FrameCoding::kOwnBlock}, {{none, secondAlone}}, stored + secondAlone.costBits},
        {{FrameCoding::kStored, FrameCoding::kStored}, {{none, none}}, 2 * stored},
    };
    for (const Layout& layout : candidates)
        if (layout.costBits < best.costBits) best = layout;
    return best;
}

void IntervalEncoder::WriteInterval(const Layout& layout, std::vector<std::uint8_t>& out,
                                    std::vector<std::uint64_t>& frameOffsets) {
    WordBitWriter bits(out);
    TreeHistory history;
    const std::size_t intervalStart = out.size();
    bits.Write(0, 1);  // no x86 call translation
    if (layout.frames[0] == FrameCoding::kSharedBlock)
        WriteBlockHeader(bits, layout.plans[0], static_cast<std::uint32_t>(frames_ * kFrameSize), history);
    for (unsigned f = 0; f < frames_; ++f) {
        frameOffsets.push_back(f == 0 ? intervalStart : out.size());
        switch (layout.frames[f]) {
        case FrameCoding::kSharedBlock:
            ItemWriter(layout.plans[0]).Write(bits, FrameItems(f));
            break;
        case FrameCoding::kOwnBlock:
            WriteBlockHeader(bits, layout.plans[f], static_cast<std::uint32_t>(kFrameSize), history);
            ItemWriter(layout.plans[f]).Write(bits, FrameItems(f));
            break;
        case FrameCoding::kStored:
            // The offsets written are those the parse of the next frame starts from.
            WriteStoredBlock(bits, FrameBytes(f), parsed_.offsetsAfterFrame[f]);
            break;
        }
        bits.AlignToWord();
    }
}

void IntervalEncoder::WriteStoredInterval(std::vector<std::uint8_t>& out, std::vector<std::uint64_t>& frameOffsets) {
    WordBitWriter bits(out);
    const std::size_t intervalStart = out.size();
    bits.Write(0, 1);
    for (unsigned f = 0; f < frames_; ++f) {
        frameOffsets.push_back(f == 0 ? intervalStart : out.size());
        WriteStoredBlock(bits, FrameBytes(f), RepeatedOffsets{1, 1, 1});
    }
}

}  // namespace hhc::lzx
