#pragma once
// Codes one reset interval (up to two frames) as a self-contained piece of
// the stream: E8 header bit, blocks, and 16-bit alignment after each frame.
#include <cstdint>
#include <span>
#include <vector>

#include "lzx/block_writer.h"
#include "lzx/interval_parser.h"

namespace hhc::lzx {

class IntervalEncoder {
public:
    // Appends the coded interval to `out`. `bytes` holds at most one interval;
    // a short last frame is padded with zeros. `frameOffsets` receives the
    // offset in `out` at which each frame starts.
    void Encode(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out,
                std::vector<std::uint64_t>& frameOffsets);

private:
    enum class FrameCoding { kSharedBlock, kOwnBlock, kStored };
    struct Layout {
        std::array<FrameCoding, kResetIntervalFrames> frames{};
        std::uint64_t costBits = 0;
    };

    Layout ChooseLayout(const ParsedInterval& parsed) const;
    void WriteInterval(const Layout& layout, std::vector<std::uint8_t>& out, std::vector<std::uint64_t>& frameOffsets);
    void WriteStoredInterval(std::vector<std::uint8_t>& out, std::vector<std::uint64_t>& frameOffsets);

    std::span<const Item> FrameItems(unsigned frame) const;

    IntervalParser parser_;
    std::vector<std::uint8_t> buffer_;
    unsigned frames_ = 0;
    ParsedInterval parsed_;
};

}  // namespace hhc::lzx
