// Length-limited canonical codes: complete, within the limit, prefix-free.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "lzx/huffman.h"

namespace {

using hhc::lzx::AssignCanonicalCodes;
using hhc::lzx::BuildCodeLengths;

// Kraft sum scaled by 2^16; a complete code sums to exactly 65536.
std::uint64_t KraftSum(const std::vector<std::uint8_t>& lengths) {
    std::uint64_t sum = 0;
    for (std::uint8_t len : lengths)
        if (len != 0) sum += std::uint64_t{1} << (16 - len);
    return sum;
}

std::vector<std::uint8_t> Lengths(const std::vector<std::uint32_t>& freqs, unsigned limit) {
    std::vector<std::uint8_t> lengths(freqs.size());
    BuildCodeLengths(freqs, limit, lengths);
    return lengths;
}

TEST(HuffmanLengths, SkewedFrequenciesStayWithinTheLimitAndComplete) {
    // Fibonacci frequencies would need codes as long as the alphabet.
    std::vector<std::uint32_t> freqs(40);
    std::uint32_t a = 1, b = 1;
    for (auto& f : freqs) {
        f = a;
        const std::uint32_t next = a + b;
        a = b;
        b = next;
    }
    for (unsigned limit : {16u, 15u, 7u}) {
        std::vector<std::uint32_t> used(freqs.begin(), freqs.begin() + (limit == 7 ? 8 : 40));
        const auto lengths = Lengths(used, limit);
        EXPECT_LE(*std::max_element(lengths.begin(), lengths.end()), limit);
        EXPECT_EQ(KraftSum(lengths), 65536u) << "limit " << limit;
        for (std::size_t s = 0; s < used.size(); ++s) EXPECT_GT(lengths[s], 0) << "symbol " << s;
    }
}

TEST(HuffmanLengths, RarerSymbolsNeverGetShorterCodes) {
    std::vector<std::uint32_t> freqs = {500, 3, 90, 0, 7, 7, 1, 2000, 40};
    const auto lengths = Lengths(freqs, 16);
    EXPECT_EQ(KraftSum(lengths), 65536u);
    EXPECT_EQ(lengths[3], 0);
    for (std::size_t x = 0; x < freqs.size(); ++x)
        for (std::size_t y = 0; y < freqs.size(); ++y)
            if (freqs[x] != 0 && freqs[y] != 0 && freqs[x] < freqs[y]) {
                EXPECT_GE(lengths[x], lengths[y]);
            }
}

TEST(HuffmanLengths, SingleSymbolGetsAPartnerAndEmptyStaysEmpty) {
    auto lengths = Lengths({0, 0, 5, 0}, 16);
    EXPECT_EQ(lengths, (std::vector<std::uint8_t>{1, 0, 1, 0}));
    lengths = Lengths({9, 0, 0}, 16);
    EXPECT_EQ(lengths, (std::vector<std::uint8_t>{1, 1, 0}));
    lengths = Lengths({0, 0, 0}, 16);
    EXPECT_EQ(lengths, (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(CanonicalCodes, ShorterFirstTiesBySymbolLastCodeAllOnes) {
    const std::vector<std::uint8_t> lengths = {3, 3, 3, 3, 3, 2, 4, 4};
    std::vector<std::uint16_t> codes(lengths.size());
    AssignCanonicalCodes(lengths, codes);
    EXPECT_EQ(codes[5], 0b00);
    EXPECT_EQ(codes[0], 0b010);
    EXPECT_EQ(codes[4], 0b110);
    EXPECT_EQ(codes[6], 0b1110);
    EXPECT_EQ(codes[7], 0b1111);
}

TEST(CanonicalCodes, NoCodeIsAPrefixOfAnother) {
    std::vector<std::uint32_t> freqs(300);
    for (std::size_t s = 0; s < freqs.size(); ++s) freqs[s] = static_cast<std::uint32_t>((s * 7919) % 1000 + 1);
    const auto lengths = Lengths(freqs, 16);
    std::vector<std::uint16_t> codes(lengths.size());
    AssignCanonicalCodes(lengths, codes);
    for (std::size_t x = 0; x < lengths.size(); ++x)
        for (std::size_t y = 0; y < lengths.size(); ++y) {
            if (x == y || lengths[x] > lengths[y]) continue;
            const unsigned shift = lengths[y] - lengths[x];
            EXPECT_NE(codes[y] >> shift, codes[x]) << x << " is a prefix of " << y;
        }
}

}  // namespace
