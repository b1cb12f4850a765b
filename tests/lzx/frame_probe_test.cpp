// The probe that sends a frame to the greedy parse instead of the full one.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "lzx/frame_probe.h"
#include "test_data.h"

namespace lzx_test {
namespace {

using namespace test_data;
constexpr std::size_t kFrame = 0x8000;

TEST(FrameProbe, OnlyDataWithoutRepeatsLooksIncompressible) {
    const std::pair<std::string, bool> cases[] = {
        {RandomBytes(kFrame, 1), true},
        {BitstreamLike(kFrame, 2), true},
        {RandomBytes(1000, 3), true},
        {RepetitiveText(kFrame, 4), false},
        {std::string(kFrame, '\0'), false},
        {PeriodicBytes(kFrame, 3000, 5), false},  // flat histogram, but every byte repeats one 3,000 back
        {RandomBytes(kFrame / 2, 6) + RepetitiveText(kFrame / 2, 7), false},
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
