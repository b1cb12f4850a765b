#include "lzx/lzx_compress.h"

#include <algorithm>

#include "lzx/bit_writer.h"

namespace hhc::lzx {
namespace {

constexpr unsigned kBlockTypeUncompressed = 3;

// One uncompressed block covering exactly one frame. The block is even-sized,
// so no pad byte follows it and the next frame starts word-aligned.
void WriteStoredFrame(BitWriter& bits, const std::uint8_t* frame, bool startsInterval) {
    if (startsInterval) bits.Write(0, 1);  // no x86 call translation
    bits.Write(kBlockTypeUncompressed, 3);
    bits.Write(static_cast<std::uint32_t>(kFrameSize), 24);
    // Alignment after the header is 1..16 bits: a whole zero word when aligned.
    if (bits.Aligned()) bits.Write(0, 16);
    else bits.AlignToWord();
    for (int i = 0; i < 3; ++i) bits.WriteUint32LE(1);  // R0, R1, R2 after a reset
    bits.WriteBytes(frame, kFrameSize);
}

}  // namespace

CompressedSection CompressSection(std::span<const std::uint8_t> section) {
    CompressedSection result;
    const std::size_t frames = (section.size() + kFrameSize - 1) / kFrameSize;
    result.data.reserve(frames * (kFrameSize + 16));
    BitWriter bits(result.data);
    std::vector<std::uint8_t> lastFrame(kFrameSize, 0);
    for (std::size_t f = 0; f < frames; ++f) {
        result.frameOffsets.push_back(result.data.size());
        const std::size_t begin = f * kFrameSize;
        const std::uint8_t* frame = section.data() + begin;
        if (section.size() - begin < kFrameSize) {
            std::copy(section.begin() + begin, section.end(), lastFrame.begin());
            frame = lastFrame.data();
        }
        WriteStoredFrame(bits, frame, f % kResetIntervalFrames == 0);
    }
    return result;
}

}  // namespace hhc::lzx
