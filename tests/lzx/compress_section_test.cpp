// Framing of CompressSection's output: what every CHM reader relies on
// before it decodes a single bit; what it costs; and the probe for incompressible frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

#include "lzx/frame_probe.h"
#include "lzx/lzx_compress.h"
#include "test_data.h"

namespace lzx_test {
namespace {

using namespace test_data;
using hhc::lzx::CompressedSection;
using hhc::lzx::kFrameSize;

constexpr std::size_t kMaxCodedFrame = kFrameSize + 6144;  // CHMLib's input buffer per frame
constexpr std::size_t kStoredFrame = kFrameSize + 16;      // stored block of one frame with its header

CompressedSection Compress(const std::string& bytes) {
    return hhc::lzx::CompressSection(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

TEST(CompressSection, FramesAreWordAlignedAndWithinReaderLimits) {
    std::vector<std::string> inputs = {"", RepetitiveText(kFrameSize, 3) + RandomBytes(kFrameSize, 3) +
                                               BitstreamLike(kFrameSize, 3) + RepetitiveText(kFrameSize + 5, 3),
                                       std::string(300000, '\0')};
    for (std::size_t size : {std::size_t{1}, kFrameSize - 1, kFrameSize, kFrameSize + 1, 5 * kFrameSize + 123})
        for (const std::string& input : {RepetitiveText(size, 1), RandomBytes(size, 2), BitstreamLike(size, 2)})
            inputs.push_back(input);
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input.size());
        const CompressedSection c = Compress(input);
        const std::size_t frames = (input.size() + kFrameSize - 1) / kFrameSize;
        ASSERT_EQ(c.frameOffsets.size(), frames);
        ASSERT_EQ(c.data.size() % 2, 0u) << "the stream ends on a 16-bit boundary";
        if (frames == 0) EXPECT_TRUE(c.data.empty());
        else EXPECT_EQ(c.frameOffsets[0], 0u);
        for (std::size_t f = 0; f < frames; ++f) {
            const std::size_t end = f + 1 < frames ? c.frameOffsets[f + 1] : c.data.size();
            EXPECT_GT(end, c.frameOffsets[f]);
            EXPECT_EQ(c.frameOffsets[f] % 2, 0u) << "frame " << f << " starts on a word boundary";
            EXPECT_LE(end - c.frameOffsets[f], kMaxCodedFrame) << "frame " << f;
            // Each reset interval opens with the E8 flag off: the top bit of its first word.
            if (f % 2 == 0) EXPECT_EQ(c.data[c.frameOffsets[f] + 1] & 0x80, 0) << "frame " << f;
        }
    }
}

TEST(CompressSection, SizesStayWithinBounds) {
    const std::string text = RepetitiveText(kFrameSize, 8), random = RandomBytes(kFrameSize, 9);
    const std::size_t textAlone = Compress(text).data.size();
    const struct {
        const char* what;
        std::string input;
        std::size_t most;
    } cases[] = {
        {"random frames cost no more than stored ones", RandomBytes(10 * kFrameSize, 3), 10 * kStoredFrame},
        {"bit-packed data is coded smaller than stored", BitstreamLike(10 * kFrameSize, 7), 10 * kFrameSize * 97 / 100},
        {"a random frame beside text costs no more than stored", text + random, textAlone + kStoredFrame},
        {"a text frame after a random one likewise", random + text, textAlone + kStoredFrame},
        {"a frame after an incompressible one matches into it", random + random, kStoredFrame + 1024},
        {"repeats compress", RepetitiveText(1 << 20, 4), (1u << 20) / 2},
        {"runs take little more than one match per 257 bytes", std::string(1 << 20, '\0'), 1u << 14},
    };
    for (const auto& c : cases) EXPECT_LE(Compress(c.input).data.size(), c.most) << c.what;
}

TEST(CompressSection, OutputDependsOnlyOnTheInput) {
    const std::string input = RepetitiveText(3 << 20, 5) + RandomBytes(100000, 6);
    EXPECT_EQ(Compress(input).data, Compress(input).data);
}

// The probe sends a frame to the greedy parse instead of the full one.
TEST(FrameProbe, OnlyDataWithoutRepeatsLooksIncompressible) {
    const std::pair<std::string, bool> cases[] = {
        {RandomBytes(kFrameSize, 1), true},
        {BitstreamLike(kFrameSize, 2), true},
        {RandomBytes(1000, 3), true},
        {RepetitiveText(kFrameSize, 4), false},
        {std::string(kFrameSize, '\0'), false},
        {PeriodicBytes(kFrameSize, 3000, 5), false},  // flat histogram, but every byte repeats one 3,000 back
        {RandomBytes(kFrameSize / 2, 6) + RepetitiveText(kFrameSize / 2, 7), false},
        {"", false},  // tiny inputs are left to the full parse
        {"abc", false},
    };
    for (auto [bytes, incompressible] : cases) {
        const std::size_t size = bytes.size();
        bytes.append(8, '\0');  // the probe reads a little past the end
        EXPECT_EQ(hhc::lzx::LooksIncompressible(reinterpret_cast<const std::uint8_t*>(bytes.data()), size),
                  incompressible)
            << size;
    }
}

}  // namespace
}  // namespace lzx_test
