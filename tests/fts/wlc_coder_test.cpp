// Location codes against blocks decoded from books the Windows compiler made.
#include <gtest/gtest.h>

#include "fts/location_codes.h"
#include "fts/wlc_coder.h"

namespace {

using hhc::fts::ByteBitWriter;
using hhc::fts::PutScaleRoot;

std::string Bits(std::initializer_list<std::pair<std::uint32_t, unsigned>> codes) {
    std::string out(8 * codes.size(), '\0');  // a code is at most 8 bytes long
    ByteBitWriter bits(out.data());
    for (auto [value, root] : codes) PutScaleRoot(bits, value, root);
    out.resize(static_cast<std::size_t>(bits.Finish() - out.data()));
    return out;
}

// The codes of documents given as (document delta, positions), one after the
// other; each document's length is checked against DocumentCodeBytes.
std::string Documents(std::initializer_list<std::pair<std::uint32_t, std::vector<std::uint32_t>>> documents,
                      const hhc::fts::LocationRoots& roots) {
    std::string out;
    for (const auto& [delta, positions] : documents) {
        std::size_t bytes = hhc::fts::DocumentCodeBytes(delta, positions.data(), positions.size(), roots);
        std::size_t start = out.size();
        out.resize(start + bytes + 8, '\x55');  // the writer must stop at exactly `bytes`
        char* end = hhc::fts::WriteDocumentCodes(delta, positions.data(), positions.size(), roots, out.data() + start);
        EXPECT_EQ(static_cast<std::size_t>(end - (out.data() + start)), bytes);
        EXPECT_EQ(out.substr(start + bytes), std::string(8, '\x55'));
        out.resize(start + bytes);
    }
    return out;
}

std::string Hex(const std::string& s) {
    std::string h;
    for (unsigned char c : s) {
        char b[4];
        std::snprintf(b, sizeof b, "%02X", c);
        h += b;
    }
    return h;
}

TEST(LocationCodes, MatchAKnownBlockWithRootsOneOneSeven) {
    // Document 292, one position, position 148, roots 1/1/7: FF 12 31 40.
    EXPECT_EQ(Hex(Bits({{292, 1}, {1, 1}, {148, 7}})), "FF123140");
}

TEST(LocationCodes, MatchAKnownTwoDocumentBlockWithRootsZero) {
    // A word at position 0 of documents 0 and 1, roots 0/0/0: 40 A0.
    EXPECT_EQ(Hex(Documents({{0, {0}}, {1, {0}}}, {0, 0, 0})), "40A0");
    EXPECT_EQ(Hex(Documents({{0, {1}}}, {0, 0, 0})), "50");
}

TEST(LocationCodes, ScaleRootCodesHaveTheDocumentedShapes) {
    // Value 100: r = 0 gives 1111111 0 100100, r = 7 gives 0 1100100.
    EXPECT_EQ(Hex(Bits({{100, 0}})), "FE90");  // 11111110 100100|00
    EXPECT_EQ(Hex(Bits({{100, 7}})), "64");     // 0 1100100
    EXPECT_EQ(Hex(Bits({{0, 2}})), "00");
    EXPECT_EQ(Hex(Bits({{8, 1}})), "E0");       // 1110 000|0
    EXPECT_EQ(Hex(Bits({{0xFFFFFFFFu, 0}})), "FFFFFFFF7FFFFFFF");  // 32 ones, 0, 31 ones
    EXPECT_EQ(Hex(Bits({{5, 32}})), "0000000280");                  // 0, then 5 in 32 bits
}

TEST(LocationCodes, CodeLengthsAreTheBitsWritten) {
    for (std::uint32_t value : {0u, 1u, 2u, 3u, 100u, 65535u, 0x80000000u, 0xFFFFFFFFu}) {
        for (unsigned root = 0; root <= 32; ++root) {
            // Eight copies end on a byte boundary whatever the length.
            std::string eight = Bits({{value, root}, {value, root}, {value, root}, {value, root},
                                      {value, root}, {value, root}, {value, root}, {value, root}});
            EXPECT_EQ(eight.size(), hhc::fts::ScaleRootBits(value, root)) << value << " root " << root;
        }
    }
}

TEST(LocationCodes, EveryDocumentStartsOnAFreshByte) {
    std::string out = Documents({{3, {5, 9}}, {1, {1}}}, {2, 0, 3});
    // doc 3: 0 11 | count 2: 110 0 | 5: 0 101 | +4: 0 100 -> 01111000 10101000 (pad)
    // doc +1: 0 01 | count 1: 10 | 1: 0 001 -> 00110000 1(pad)
    EXPECT_EQ(Hex(out), "78A83080");
}

TEST(RootChooser, PicksTheRootWithFewestBitsAndTheSmallerOnTies) {
    hhc::fts::RootChooser small;
    for (int i = 0; i < 10; ++i) small.Add(1);
    EXPECT_EQ(small.Best(), 0u);  // "10" vs "0 1": a tie, 0 wins
    hhc::fts::RootChooser large;
    for (std::uint32_t v = 64; v < 128; ++v) large.Add(v);
    EXPECT_EQ(large.CostBits(6), 64u * 8);  // "10" + 6 bits
    EXPECT_EQ(large.CostBits(7), 64u * 8);  // "0" + 7 bits
    EXPECT_EQ(large.Best(), 6u);
    for (int i = 0; i < 8; ++i) large.Add(200);
    EXPECT_EQ(large.Best(), 7u);  // eight-bit values tip the tie
}

}  // namespace
