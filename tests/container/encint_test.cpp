#include "container/encint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace hhc::container {
namespace {

std::string Encoded(std::uint64_t v) {
    std::string out;
    AppendEncint(out, v);
    return out;
}

TEST(Encint, EncodesMostSignificantGroupFirst) {
    EXPECT_EQ(Encoded(0), std::string("\x00", 1));
    EXPECT_EQ(Encoded(127), "\x7F");
    EXPECT_EQ(Encoded(128), std::string("\x81\x00", 2));
    EXPECT_EQ(Encoded(300), "\x82\x2C");
    EXPECT_EQ(Encoded(0x3515), "\xEA\x15");
    EXPECT_EQ(Encoded(16384), std::string("\x81\x80\x00", 3));
}

TEST(Encint, SizeMatchesEncodingUpTo64Bits) {
    for (std::uint64_t v : {std::uint64_t{0}, std::uint64_t{127}, std::uint64_t{128}, std::uint64_t{16383},
                            std::uint64_t{16384}, std::uint64_t{0xFFFFFFFF}, std::uint64_t{0x100000000},
                            ~std::uint64_t{0}}) {
        const std::string e = Encoded(v);
        EXPECT_EQ(e.size(), EncintSize(v)) << v;
        std::uint64_t decoded = 0;
        for (char c : e) decoded = (decoded << 7) | (static_cast<unsigned char>(c) & 0x7F);
        EXPECT_EQ(decoded, v);
        for (std::size_t i = 0; i + 1 < e.size(); ++i) EXPECT_TRUE(static_cast<unsigned char>(e[i]) & 0x80);
        EXPECT_FALSE(static_cast<unsigned char>(e.back()) & 0x80);
    }
    EXPECT_EQ(EncintSize(~std::uint64_t{0}), 10u);
}

}  // namespace
}  // namespace hhc::container
