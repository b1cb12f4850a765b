// The directory's building blocks: encoded integers and the order of names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "container/encint.h"
#include "container/name_order.h"

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

// Names compare as their bytes, unsigned, after folding ASCII upper case to
// lower case only: '_' and the other punctuation between 'Z' and 'a' sort
// before every letter, prefixes first, non-ASCII bytes high.
TEST(NameOrder, FoldsAsciiCaseAndComparesBytesUnsigned) {
    std::vector<std::string> names = {"/B.htm",  "/a.htm", "/_x",   "/Zeta", "/#SYSTEM", "/$OBJINST", "/10",
                                      "/2",      "::DataSpace/NameList",   "/",     "/a/",      "/a/b",      "/A.htm2",
                                      "/[x]",    "/`",     "/abc",  "/abc.htm", "/\xE4\xB8\xAD.htm", "/zebra.htm"};
    std::sort(names.begin(), names.end(), NameLess);
    const std::vector<std::string> expected = {
        "/", "/#SYSTEM", "/$OBJINST", "/10", "/2", "/[x]", "/_x", "/`", "/a.htm", "/A.htm2", "/a/", "/a/b", "/abc",
        "/abc.htm", "/B.htm", "/zebra.htm", "/Zeta", "/\xE4\xB8\xAD.htm", "::DataSpace/NameList"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(CompareNames("/Index.HTM", "/index.htm"), 0);
    EXPECT_NE(CompareNames("/\xC3\x84.htm", "/\xC3\xA4.htm"), 0);  // Ä and ä stay distinct
}

}  // namespace
}  // namespace hhc::container
