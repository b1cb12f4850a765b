// Location codes against blocks decoded from books the Windows compiler made,
// and blocks worked out bit by bit from the scale-and-root code.
#include "fts/wlc_coder.h"

#include <gtest/gtest.h>

#include "fts/location_codes.h"

namespace {

using Document = std::pair<std::uint32_t, std::vector<std::uint32_t>>;  // document delta, positions

std::string Hex(const std::string& s) {
    std::string h;
    for (unsigned char c : s) h += {"0123456789ABCDEF"[c >> 4], "0123456789ABCDEF"[c & 15]};
    return h;
}

// Each document's codes start on a fresh byte, in as many bytes as
// DocumentCodeBytes says (a wrong count shows as bytes too many or too few).
std::string Documents(const std::vector<Document>& documents, const hhc::fts::LocationRoots& roots) {
    std::string out;
    for (const auto& [delta, positions] : documents) {
        const std::size_t start = out.size();
        out.resize(start + hhc::fts::DocumentCodeBytes(delta, positions.data(), positions.size(), roots));
        hhc::fts::WriteDocumentCodes(delta, positions.data(), positions.size(), roots, &out[start]);
    }
    return out;
}

TEST(LocationCodes, MatchKnownBlocks) {
    const struct {
        std::vector<Document> documents;
        hhc::fts::LocationRoots roots;
        const char* hex;
    } cases[] = {
        {{{292, {148}}}, {1, 1, 7}, "FF123140"},  // document 292, position 148
        // doc 3: 0 11 | count 2: 110 0 | 5: 0 101 | +4: 0 100; doc +1: 0 01 | count 1: 10 | 1: 0 001
        {{{3, {5, 9}}, {1, {1}}}, {2, 0, 3}, "78A83080"},
        // 1111111 0 100100 | count 1: 0 0000001 | 0: 0 0000000
        {{{100, {0}}}, {0, 7, 7}, "FE900400"},
        // 32 ones, 0, 31 ones | count 1: 0, then 1 in 32 bits | 5: 1 0 01
        {{{0xFFFFFFFFu, {5}}}, {0, 32, 2}, "FFFFFFFF7FFFFFFF00000000C8"},
        // 8: 1110 000 | count 1: 10 | 0xFFFFFFFF: 0, then 32 ones
        {{{8, {0xFFFFFFFFu}}}, {1, 0, 32}, "E13FFFFFFFC0"},
    };
    for (const auto& c : cases) EXPECT_EQ(Hex(Documents(c.documents, c.roots)), c.hex) << c.hex;
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
