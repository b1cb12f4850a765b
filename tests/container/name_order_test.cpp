#include "container/name_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace hhc::container {
namespace {

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
