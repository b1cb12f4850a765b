// The probe that sends a frame to the greedy parse instead of the full one.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "lzx/frame_probe.h"
#include "test_data.h"

namespace lzx_test {
namespace {

using hhc::lzx::LooksIncompressible;

constexpr std::size_t kFrame = 0x8000;

bool Probe(std::string bytes) {
    const std::size_t size = bytes.size();
    bytes.append(8, '\0');  // the probe reads a little past the end
    return LooksIncompressible(reinterpret_cast<const std::uint8_t*>(bytes.data()), size);
}

TEST(FrameProbe, RandomAndBitPackedDataLookIncompressible) {
    EXPECT_TRUE(Probe(RandomBytes(kFrame, 1)));
    EXPECT_TRUE(Probe(BitstreamLike(kFrame, 2)));
    EXPECT_TRUE(Probe(RandomBytes(1000, 3)));
}

TEST(FrameProbe, TextRunsAndRepeatedRandomDataDoNot) {
    EXPECT_FALSE(Probe(RepetitiveText(kFrame, 4)));
    EXPECT_FALSE(Probe(std::string(kFrame, '\0')));
    // Flat histogram, but every byte after the first 3,000 repeats one 3,000 back.
    EXPECT_FALSE(Probe(PeriodicBytes(kFrame, 3000, 5)));
    // Half random, half text: the text alone is worth the full parse.
    EXPECT_FALSE(Probe(RandomBytes(kFrame / 2, 6) + RepetitiveText(kFrame / 2, 7)));
}

TEST(FrameProbe, TinyInputsAreLeftToTheFullParse) {
    EXPECT_FALSE(Probe(""));
    EXPECT_FALSE(Probe("abc"));
}

}  // namespace
}  // namespace lzx_test
