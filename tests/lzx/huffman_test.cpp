// Length-limited canonical codes: complete, within the limit, prefix-free.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "lzx/huffman.h"

namespace {

using hhc::lzx::AssignCanonicalCodes;
using hhc::lzx::BuildCodeLengths;

std::vector<std::uint8_t> Lengths(const std::vector<std::uint32_t>& freqs, unsigned limit) {
    std::vector<std::uint8_t> lengths(freqs.size());
    BuildCodeLengths(freqs, limit, lengths);
    return lengths;
}

// Every used symbol gets a code no longer than the limit, rarer symbols never
// shorter ones, the code is complete (Kraft sum exactly 1), and no code is a
// prefix of another.
TEST(Huffman, CodesAreCompleteLimitedOrderedAndPrefixFree) {
    std::vector<std::uint32_t> fibonacci(40);  // would need codes as long as the alphabet
    for (std::size_t i = 0; i < fibonacci.size(); ++i) fibonacci[i] = i < 2 ? 1 : fibonacci[i - 1] + fibonacci[i - 2];
    std::vector<std::uint32_t> spread(300);
    for (std::size_t s = 0; s < spread.size(); ++s) spread[s] = static_cast<std::uint32_t>((s * 7919) % 1000 + 1);
    const std::pair<std::vector<std::uint32_t>, unsigned> cases[] = {
        {fibonacci, 16}, {fibonacci, 15}, {{fibonacci.begin(), fibonacci.begin() + 8}, 7},
        {{500, 3, 90, 0, 7, 7, 1, 2000, 40}, 16}, {spread, 16}};
    for (const auto& [freqs, limit] : cases) {
        SCOPED_TRACE(::testing::Message() << freqs.size() << " symbols, limit " << limit);
        const auto lengths = Lengths(freqs, limit);
        std::vector<std::uint16_t> codes(lengths.size());
        AssignCanonicalCodes(lengths, codes);
        std::uint64_t kraft = 0;
        for (std::size_t x = 0; x < freqs.size(); ++x) {
            EXPECT_EQ(lengths[x] == 0, freqs[x] == 0) << x;
            EXPECT_LE(lengths[x], limit);
            if (lengths[x] != 0) kraft += std::uint64_t{1} << (16 - lengths[x]);
            for (std::size_t y = 0; y < freqs.size(); ++y) {
                if (x == y || freqs[x] == 0 || freqs[y] == 0) continue;
                if (freqs[x] < freqs[y]) EXPECT_GE(lengths[x], lengths[y]) << x << " " << y;
                if (lengths[x] <= lengths[y]) EXPECT_NE(codes[y] >> (lengths[y] - lengths[x]), codes[x]) << x << " " << y;
            }
        }
        EXPECT_EQ(kraft, 65536u);
    }
}

TEST(Huffman, SingleSymbolGetsAPartnerAndEmptyStaysEmpty) {
    EXPECT_EQ(Lengths({0, 0, 5, 0}, 16), (std::vector<std::uint8_t>{1, 0, 1, 0}));
    EXPECT_EQ(Lengths({9, 0, 0}, 16), (std::vector<std::uint8_t>{1, 1, 0}));
    EXPECT_EQ(Lengths({0, 0, 0}, 16), (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(Huffman, CanonicalCodesShorterFirstTiesBySymbol) {
    std::vector<std::uint16_t> codes(8);
    AssignCanonicalCodes(std::vector<std::uint8_t>{3, 3, 3, 3, 3, 2, 4, 4}, codes);
    EXPECT_EQ(codes, (std::vector<std::uint16_t>{0b010, 0b011, 0b100, 0b101, 0b110, 0b00, 0b1110, 0b1111}));
}

}  // namespace
