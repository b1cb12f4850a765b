// The pieces of the list page.
#include <gtest/gtest.h>

#include "batch/list_page.h"

namespace chmbook {
namespace {

TEST(ListPage, NumbersHaveAtLeastThreeDigitsAndLinksNone) {
    const struct {
        std::size_t page;
        std::u16string visible, link;
    } cases[] = {{0, u"000", u"0.htm"},          {7, u"007", u"7.htm"},          {10, u"010", u"10.htm"},
                 {1000, u"1000", u"1000.htm"}, {32768, u"32768", u"32768.htm"}, {100000, u"100000", u"100000.htm"}};
    for (const auto& c : cases) {
        EXPECT_EQ(VisibleNumber(c.page), c.visible);
        EXPECT_EQ(PageFileName(c.page), c.link);
    }
}

TEST(ListPage, ExcerptIsTheFirst200CharactersEscaped) {
    const std::u16string x199(199, u'x');
    const struct {
        std::u16string text, excerpt;
    } cases[] = {
        {u"", u""},
        {std::u16string(150, u'中'), std::u16string(150, u'中')},
        {std::u16string(5000, u'中'), std::u16string(200, u'中')},
        {u"<a&b>\"c\"\r\nd", u"&lt;a&amp;b&gt;&quot;c&quot;\r\nd"},
        {u"&lt;", u"&amp;lt;"},
        {x199 + u"&yz", x199 + u"&amp;"},                 // cut first, then escaped
        {x199 + u"\U00020000" + u"tail", x199},            // never half a surrogate pair
        {x199.substr(1) + u"\U00020000", x199.substr(1) + u"\U00020000"},
    };
    for (const auto& c : cases) EXPECT_EQ(ListExcerpt(c.text), c.excerpt);
}

}  // namespace
}  // namespace chmbook
