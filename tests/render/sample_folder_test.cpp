// The bundled sample folder: code page 936 text with CR LF line ends, which
// a checkout must not have converted.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "render/render.h"

namespace chmbook {
namespace {

TEST(SampleFolder, HoldsCodePage936TextWithCrLfLineEnds) {
    const std::u16string folder = platform::FromUtf8(CHMBOOK_EXAMPLES_DIR);
    const std::vector<std::u16string> names = platform::FindFiles(folder, u"*.txt");
    ASSERT_GE(names.size(), 3u);
    for (const auto& name : names) {
        SCOPED_TRACE(platform::ToUtf8(name));
        const std::u16string path = folder + platform::kPathSeparator + name;
        std::string bytes;
        ASSERT_TRUE(platform::ReadWholeFile(path, bytes));
        const std::u16string text = GetContent(path);
        EXPECT_EQ(platform::UnicodeToAnsi(text), bytes);
        EXPECT_EQ(text.find(u'?'), std::u16string::npos);
        EXPECT_EQ(ReplaceString(text, u"\r\n", u"").find_first_of(u"\r\n"), std::u16string::npos);
        EXPECT_NE(text.find(u"\u3002"), std::u16string::npos);  // Chinese full stops
    }
    const std::u16string body = txtToHTML(GetContent(folder + platform::kPathSeparator + u"符号测试.txt"));
    EXPECT_NE(body.find(u"A &amp; B &lt; C &gt; D &quot;E&quot; 'F'</P>\r\n"), std::u16string::npos);
    EXPECT_EQ(body.find(u"<b>"), std::u16string::npos);
}

}  // namespace
}  // namespace chmbook
