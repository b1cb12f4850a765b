#include "container/name_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace hhc::container {
namespace {

TEST(NameOrder, FoldsToLowerCaseSoPunctuationBetweenZAndaSortsFirst) {
    // '_' (0x5F) lies between 'Z' and 'a': with lower-case folding it sorts
    // before every letter, whatever the letter's case.
    EXPECT_LT(CompareNames("/_engine_8h.html", "/annotated.html"), 0);
    EXPECT_LT(CompareNames("/_under.htm", "/Zeta.htm"), 0);
    EXPECT_LT(CompareNames("/[x]", "/a"), 0);
    EXPECT_LT(CompareNames("/`", "/B"), 0);
}

TEST(NameOrder, IgnoresAsciiCaseOnly) {
    EXPECT_EQ(CompareNames("/Index.HTM", "/index.htm"), 0);
    EXPECT_NE(CompareNames("/\xC3\x84.htm", "/\xC3\xA4.htm"), 0);  // Ä and ä stay distinct
}

TEST(NameOrder, ComparesBytesUnsignedAndPrefixesFirst) {
    EXPECT_LT(CompareNames("/", "/#SYSTEM"), 0);
    EXPECT_LT(CompareNames("/#SYSTEM", "/$FIftiMain"), 0);
    EXPECT_LT(CompareNames("/$FIftiMain", "/0.htm"), 0);
    EXPECT_LT(CompareNames("/zz", "::DataSpace/NameList"), 0);
    EXPECT_LT(CompareNames("/10.htm", "/2.htm"), 0);
    EXPECT_LT(CompareNames("/abc", "/abc.htm"), 0);
    EXPECT_LT(CompareNames("/a.htm", "/a/b.htm"), 0);  // '.' (2E) before '/' (2F)
    EXPECT_LT(CompareNames("/zebra.htm", "/\xE4\xB8\xAD.htm"), 0);  // non-ASCII bytes sort high
}

TEST(NameOrder, SortingIsAStrictWeakOrderOverMixedNames) {
    std::vector<std::string> names = {"/B.htm", "/a.htm", "/_x", "/Zeta", "/#SYSTEM", "/$OBJINST", "/10", "/2",
                                      "::DataSpace/NameList", "/", "/a/", "/a/b", "/A.htm2"};
    std::sort(names.begin(), names.end(), NameLess);
    const std::vector<std::string> expected = {"/", "/#SYSTEM", "/$OBJINST", "/10", "/2", "/_x", "/a.htm",
                                               "/A.htm2", "/a/", "/a/b", "/B.htm", "/Zeta", "::DataSpace/NameList"};
    EXPECT_EQ(names, expected);
}

}  // namespace
}  // namespace hhc::container
