#pragma once
// Codes one reset interval (up to two frames) as a self-contained piece of
// the stream: E8 header bit, blocks, and 16-bit alignment after each frame.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "lzx/block_writer.h"
#include "lzx/lazy_parser.h"
#include "lzx/optimal_parser.h"

namespace hhc::lzx {

// Consecutive intervals given to one encoder share a cost model: each
// interval is priced with the codes the one before it ended up with, and only
// the first interval after ForgetCostModel() gets a quick preliminary parse.
class IntervalEncoder {
public:
    void ForgetCostModel() { haveModel_ = false; }

    // Appends the coded interval to `out`. `bytes` holds at most one interval;
    // a short last frame is padded with zeros. `frameOffsets` receives the
    // offset in `out` at which each frame starts.
    void Encode(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out,
                std::vector<std::uint64_t>& frameOffsets);

private:
    enum class FrameCoding { kSharedBlock, kOwnBlock, kStored };
    struct Layout {
        std::array<FrameCoding, kResetIntervalFrames> frames{};
        std::array<BlockPlan, kResetIntervalFrames> plans{};  // the block that starts in each frame
        std::uint64_t costBits = 0;
    };

    void ParseInterval(std::size_t paddedSize);
    Layout ChooseLayout() const;
    void WriteInterval(const Layout& layout, std::vector<std::uint8_t>& out, std::vector<std::uint64_t>& frameOffsets);
    void WriteStoredInterval(std::vector<std::uint8_t>& out, std::vector<std::uint64_t>& frameOffsets);
    std::span<const Item> FrameItems(unsigned frame) const;
    std::span<const std::uint8_t> FrameBytes(unsigned frame) const;

    LazyParser quickParser_{LazyParserParams{4, 48}};
    OptimalParser parser_;
    std::vector<std::uint8_t> buffer_;
    unsigned frames_ = 0;
    ParsedInterval parsed_;
    std::array<SymbolCounts, kResetIntervalFrames> frameCounts_{};
    SymbolCounts intervalCounts_;
    CostModel model_;
    bool haveModel_ = false;
};

}  // namespace hhc::lzx
