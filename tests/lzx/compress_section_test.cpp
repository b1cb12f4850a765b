// Framing of CompressSection's output: what every CHM reader relies on
// before it decodes a single bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

#include "lzx/lzx_compress.h"
#include "test_data.h"

namespace lzx_test {
namespace {

using hhc::lzx::CompressedSection;
using hhc::lzx::CompressSection;
using hhc::lzx::kFrameSize;

constexpr std::size_t kMaxCodedFrame = kFrameSize + 6144;  // CHMLib's input buffer per frame
constexpr std::size_t kStoredFrame = kFrameSize + 16;      // stored block of one frame with its header

CompressedSection Compress(const std::string& bytes) {
    return CompressSection(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::size_t FrameBytes(const CompressedSection& c, std::size_t frame) {
    const std::size_t end = frame + 1 < c.frameOffsets.size() ? c.frameOffsets[frame + 1] : c.data.size();
    return end - c.frameOffsets[frame];
}

void ExpectWellFramed(const std::string& input) {
    const CompressedSection c = Compress(input);
    const std::size_t frames = (input.size() + kFrameSize - 1) / kFrameSize;
    ASSERT_EQ(c.frameOffsets.size(), frames);
    ASSERT_EQ(c.data.size() % 2, 0u) << "the stream ends on a 16-bit boundary";
    for (std::size_t f = 0; f < frames; ++f) {
        if (f == 0) EXPECT_EQ(c.frameOffsets[f], 0u);
        else EXPECT_GT(c.frameOffsets[f], c.frameOffsets[f - 1]);
        EXPECT_EQ(c.frameOffsets[f] % 2, 0u) << "frame " << f << " starts on a word boundary";
        EXPECT_LE(FrameBytes(c, f), kMaxCodedFrame) << "frame " << f;
        if (f % 2 == 0) {
            // Each reset interval opens with the E8 flag off: the top bit of its first word.
            EXPECT_EQ(c.data[c.frameOffsets[f] + 1] & 0x80, 0) << "frame " << f;
        }
    }
}

TEST(CompressSection, EmptyInputGivesNoFrames) {
    const CompressedSection c = Compress("");
    EXPECT_TRUE(c.data.empty());
    EXPECT_TRUE(c.frameOffsets.empty());
}

TEST(CompressSection, FramesAreWordAlignedAndWithinReaderLimits) {
    for (std::size_t size : {std::size_t{1}, kFrameSize - 1, kFrameSize, kFrameSize + 1, 2 * kFrameSize,
                             5 * kFrameSize + 123}) {
        SCOPED_TRACE(size);
        ExpectWellFramed(RepetitiveText(size, 1));
        ExpectWellFramed(RandomBytes(size, 2));
        ExpectWellFramed(BitstreamLike(size, 2));
    }
    ExpectWellFramed(RepetitiveText(kFrameSize, 3) + RandomBytes(kFrameSize, 3) + BitstreamLike(kFrameSize, 3) +
                     RepetitiveText(kFrameSize + 5, 3));
    ExpectWellFramed(std::string(300000, '\0'));
}

TEST(CompressSection, IncompressibleDataCostsNoMoreThanStoredFrames) {
    const std::string input = RandomBytes(10 * kFrameSize, 3);
    const CompressedSection c = Compress(input);
    EXPECT_LE(c.data.size(), 10 * kStoredFrame);
}

TEST(CompressSection, BitPackedDataIsCodedSmallerThanStored) {
    const std::string input = BitstreamLike(10 * kFrameSize, 7);
    EXPECT_LT(Compress(input).data.size(), input.size() * 97 / 100);
}

TEST(CompressSection, RandomFrameBesideTextCostsNoMoreThanStored) {
    const std::string text = RepetitiveText(kFrameSize, 8);
    const std::string random = RandomBytes(kFrameSize, 9);
    const std::size_t textAlone = Compress(text).data.size();
    EXPECT_LE(Compress(text + random).data.size(), textAlone + kStoredFrame);
    EXPECT_LE(Compress(random + text).data.size(), textAlone + kStoredFrame);
}

TEST(CompressSection, FrameAfterAnIncompressibleFrameMatchesIntoIt) {
    const std::string random = RandomBytes(kFrameSize, 10);
    EXPECT_LT(Compress(random + random).data.size(), kStoredFrame + 1024);
}

TEST(CompressSection, CompressesRepeatsAndRuns) {
    EXPECT_LT(Compress(RepetitiveText(1 << 20, 4)).data.size(), (1u << 20) / 2);
    // A run of zeros needs little more than one match per 257 bytes.
    EXPECT_LT(Compress(std::string(1 << 20, '\0')).data.size(), 1u << 14);
}

TEST(CompressSection, OutputDependsOnlyOnTheInput) {
    const std::string input = RepetitiveText(3 << 20, 5) + RandomBytes(100000, 6);
    EXPECT_EQ(Compress(input).data, Compress(input).data);
}

}  // namespace
}  // namespace lzx_test
