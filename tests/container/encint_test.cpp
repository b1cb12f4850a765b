#include "container/encint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace hhc::container {
namespace {

// Seven bits a byte, most significant group first, high bit set on all but the last.
TEST(Encint, EncodesMostSignificantGroupFirst) {
    const std::pair<std::uint64_t, std::string> cases[] = {
        {0, std::string("\x00", 1)}, {127, "\x7F"}, {128, std::string("\x81\x00", 2)}, {300, "\x82\x2C"},
        {16384, std::string("\x81\x80\x00", 3)}, {~std::uint64_t{0}, "\x81\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F"}};
    for (const auto& [value, bytes] : cases) {
        std::string out;
        AppendEncint(out, value);
        EXPECT_EQ(out, bytes) << value;
        EXPECT_EQ(EncintSize(value), bytes.size()) << value;
    }
}

}  // namespace
}  // namespace hhc::container
