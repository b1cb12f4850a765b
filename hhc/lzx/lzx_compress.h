#pragma once
// LZX compression of a book's compressed section, framed the way CHM readers
// expect: 32 KiB frames, a full reset every two frames, 64 KiB window.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace hhc::lzx {

inline constexpr std::size_t kFrameSize = 0x8000;     // bytes of output per frame
inline constexpr std::uint32_t kWindowBits = 16;      // 64 KiB window
inline constexpr std::uint32_t kResetIntervalFrames = 2;

struct CompressedSection {
    std::vector<std::uint8_t> data;            // the LZX stream ("Content")
    std::vector<std::uint64_t> frameOffsets;   // offset in `data` where each frame starts; [0] == 0
};

// Compresses the section bytes. The caller has already added any filler the
// container needs; this pads the last frame with zeros (coded in the stream,
// not counted in the section length) and records one offset per frame.
CompressedSection CompressSection(std::span<const std::uint8_t> section);
// The same, releasing the section's bytes as soon as they are coded, so that a
// big book is not held as input and output at once.
CompressedSection CompressSection(std::vector<std::uint8_t>&& section);

}  // namespace hhc::lzx
