// The pieces of the list page.
#include <gtest/gtest.h>

#include "batch/list_page.h"

namespace chmbook {
namespace {

TEST(ListPage, NumbersHaveAtLeastThreeDigitsAndLinksNone) {
    EXPECT_EQ(VisibleNumber(0), u"000");
    EXPECT_EQ(VisibleNumber(7), u"007");
    EXPECT_EQ(VisibleNumber(10), u"010");
    EXPECT_EQ(VisibleNumber(999), u"999");
    EXPECT_EQ(VisibleNumber(1000), u"1000");
    EXPECT_EQ(VisibleNumber(40000), u"40000");
    EXPECT_EQ(PageFileName(0), u"0.htm");
    EXPECT_EQ(PageFileName(10), u"10.htm");
    EXPECT_EQ(PageFileName(32768), u"32768.htm");
    EXPECT_EQ(PageFileName(100000), u"100000.htm");
}

TEST(ListPage, ExcerptKeepsTheFirst200CharactersAndEscapesThem) {
    EXPECT_EQ(ListExcerpt(u""), u"");
    EXPECT_EQ(ListExcerpt(std::u16string(150, u'中')), std::u16string(150, u'中'));
    EXPECT_EQ(ListExcerpt(std::u16string(5000, u'中')), std::u16string(200, u'中'));
    EXPECT_EQ(ListExcerpt(u"<a&b>\"c\"\r\nd"), u"&lt;a&amp;b&gt;&quot;c&quot;\r\nd");
    EXPECT_EQ(ListExcerpt(u"&lt;"), u"&amp;lt;");
    // The cut comes before the escaping: an ampersand at the 200th place stays whole.
    EXPECT_EQ(ListExcerpt(std::u16string(199, u'x') + u"&yz"), std::u16string(199, u'x') + u"&amp;");
}

TEST(ListPage, ExcerptNeverEndsInHalfASurrogatePair) {
    const std::u16string text = std::u16string(199, u'x') + u"\U00020000" + u"tail";
    EXPECT_EQ(ListExcerpt(text), std::u16string(199, u'x'));
    EXPECT_EQ(ListExcerpt(std::u16string(198, u'x') + u"\U00020000"), std::u16string(198, u'x') + u"\U00020000");
}

}  // namespace
}  // namespace chmbook
