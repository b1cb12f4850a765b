// Location codes against blocks decoded from books the Windows compiler made.
#include <gtest/gtest.h>

#include "fts/location_codes.h"
#include "fts/wlc_coder.h"

namespace {

std::string Hex(const std::string& s) {
    std::string h;
    char b[4];
    for (unsigned char c : s) h += (std::snprintf(b, sizeof b, "%02X", c), b);
    return h;
}

std::string Bits(std::initializer_list<std::pair<std::uint32_t, unsigned>> codes) {
    std::string out(8 * codes.size(), '\0');  // a code is at most 8 bytes long
    hhc::fts::ByteBitWriter bits(out.data());
    for (auto [value, root] : codes) hhc::fts::PutScaleRoot(bits, value, root);
    out.resize(static_cast<std::size_t>(bits.Finish() - out.data()));
    return out;
}

// The codes of documents given as (document delta, positions); each
// document's codes start on a fresh byte and are as long as DocumentCodeBytes says.
std::string Documents(std::initializer_list<std::pair<std::uint32_t, std::vector<std::uint32_t>>> documents,
                      const hhc::fts::LocationRoots& roots) {
    std::string out;
    for (const auto& [delta, positions] : documents) {
        const std::size_t bytes = hhc::fts::DocumentCodeBytes(delta, positions.data(), positions.size(), roots);
        const std::size_t start = out.size();
        out.resize(start + bytes + 8, '\x55');  // the writer must stop at exactly `bytes`
        char* end = hhc::fts::WriteDocumentCodes(delta, positions.data(), positions.size(), roots, out.data() + start);
        EXPECT_EQ(static_cast<std::size_t>(end - (out.data() + start)), bytes);
        EXPECT_EQ(out.substr(start + bytes), std::string(8, '\x55'));
        out.resize(start + bytes);
    }
    return out;
}

TEST(LocationCodes, MatchKnownBlocks) {
    EXPECT_EQ(Hex(Bits({{292, 1}, {1, 1}, {148, 7}})), "FF123140");  // document 292, position 148, roots 1/1/7
    EXPECT_EQ(Hex(Documents({{0, {0}}, {1, {0}}}, {0, 0, 0})), "40A0");
    EXPECT_EQ(Hex(Documents({{0, {1}}}, {0, 0, 0})), "50");
    // doc 3: 0 11 | count 2: 110 0 | 5: 0 101 | +4: 0 100; doc +1: 0 01 | count 1: 10 | 1: 0 001
    EXPECT_EQ(Hex(Documents({{3, {5, 9}}, {1, {1}}}, {2, 0, 3})), "78A83080");
    const std::pair<std::pair<std::uint32_t, unsigned>, const char*> shapes[] = {
        {{100, 0}, "FE90"},  // 1111111 0 100100
        {{100, 7}, "64"},    // 0 1100100
        {{0, 2}, "00"},
        {{8, 1}, "E0"},  // 1110 000
        {{0xFFFFFFFFu, 0}, "FFFFFFFF7FFFFFFF"},  // 32 ones, 0, 31 ones
        {{5, 32}, "0000000280"},                  // 0, then 5 in 32 bits
    };
    for (const auto& [code, hex] : shapes) EXPECT_EQ(Hex(Bits({code})), hex) << code.first << " root " << code.second;
}

TEST(LocationCodes, CodeLengthsAreTheBitsWritten) {
    for (std::uint32_t value : {0u, 1u, 2u, 3u, 100u, 65535u, 0x80000000u, 0xFFFFFFFFu})
        for (unsigned root = 0; root <= 32; ++root) {
            const std::pair<std::uint32_t, unsigned> c{value, root};
            // Eight copies end on a byte boundary whatever the length.
            EXPECT_EQ(Bits({c, c, c, c, c, c, c, c}).size(), hhc::fts::ScaleRootBits(value, root)) << value << " " << root;
        }
}

TEST(RootChooser, PicksTheRootWithFewestBitsAndTheSmallerOnTies) {
    hhc::fts::RootChooser small, large;
    for (int i = 0; i < 10; ++i) small.Add(1);
    EXPECT_EQ(small.Best(), 0u);  // "10" vs "0 1": a tie, 0 wins
    for (std::uint32_t v = 64; v < 128; ++v) large.Add(v);
    EXPECT_EQ(large.Best(), 6u);  // "10" + 6 bits ties "0" + 7 bits
    for (int i = 0; i < 8; ++i) large.Add(200);
    EXPECT_EQ(large.Best(), 7u);  // eight-bit values tip the tie
}

}  // namespace
