// The ANSI code page (936) and UTF-8 conversions.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/platform.h"

#ifdef CHMBOOK_HAVE_ICONV
#include <iconv.h>
#endif

namespace chmbook::platform {
namespace {

// Conversions one way or both: Chinese and ASCII text, the single bytes above
// ASCII, look-alikes Windows uses for characters the code page lacks, and a
// stand-in '?' for what cannot be converted. Codes the C library's GBK
// converter knows are left to the sweep below.
TEST(AnsiCodePage, SamplesConvertAsOnWindows) {
    enum Way { kBoth, kDecode, kEncode };
    const std::tuple<std::string, std::u16string, Way> cases[] = {
        {"abc\r\n\xD6\xD0\xCE\xC4 <&>\"\r\n", u"abc\r\n\u4E2D\u6587 <&>\"\r\n", kBoth},
        {"", u"", kBoth}, {"\x80", u"\u20AC", kBoth}, {"\xFF", u"\uF8F5", kBoth},
        // Look-alikes: A with grave as a with grave, the feminine ordinal as
        // 'a', circled one as the ideograph one.
        {"\xA8\xA4", u"\u00C0", kEncode}, {"a", u"\u00AA", kEncode}, {"\xD2\xBB", u"\u3280", kEncode},
        // One stand-in for each unit of a surrogate pair and each lone surrogate.
        {"a?b", u"a\u263Ab", kEncode}, {"??", u"\U0001F600", kEncode}, {"?x?", u"\xD800x\xDC00", kEncode},
        // A lead byte at the end or before NUL; an invalid trail byte: one
        // stand-in for the pair.
        {"\xD6\xD0\xCE", u"\u4E2D?", kDecode}, {std::string("\x81\0b", 3), std::u16string(u"?\0b", 3), kDecode},
        {"\x81\x30z", u"?z", kDecode}, {"\x81\x7Fz", u"?z", kDecode},
        // Codes outside the user-defined areas that Windows maps to private use.
        {"\xA2\xAB", u"\uE766", kDecode}, {"\xA2\xE3", u"\uE76C", kDecode}, {"\xA8\xBC", u"\uE7C7", kDecode},
        {"\xA8\xBF", u"\uE7C8", kDecode}, {"\xD7\xFA", u"\uE810", kDecode}, {"\xFE\x50", u"\uE815", kDecode},
        {"\xFE\xA0", u"\uE864", kDecode}};
    for (const auto& [ansi, text, way] : cases) {
        EXPECT_EQ(way == kEncode ? text : AnsiToUnicode(ansi), text) << ::testing::PrintToString(ansi);
        EXPECT_EQ(way == kDecode ? ansi : UnicodeToAnsi(text), ansi) << ::testing::PrintToString(ansi);
    }
}

// Every double-byte code decodes to one character that encodes back to it:
// in the user-defined areas the private-use character Windows gives (counted
// row by row), elsewhere the character the C library's GBK converter gives
// where that assigns one.
TEST(AnsiCodePage, EveryDoubleByteCodeRoundTrips) {
#ifdef CHMBOOK_HAVE_ICONV
    iconv_t gbk = iconv_open("UTF-16LE", "GBK");
    ASSERT_NE(gbk, reinterpret_cast<iconv_t>(-1));
    int agreed = 0;
#endif
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string text = AnsiToUnicode(bytes);
            ASSERT_EQ(text.size(), 1u) << std::hex << lead << trail;
            ASSERT_NE(text[0], u'?') << std::hex << lead << trail;
            ASSERT_EQ(UnicodeToAnsi(text), bytes) << std::hex << lead << trail;
            const unsigned high = trail - 0xA1, low = trail - 0x40 - (trail > 0x7F);
            char16_t expected = 0;
            if (lead >= 0xAA && lead <= 0xAF && trail >= 0xA1) expected = 0xE000 + (lead - 0xAA) * 94 + high;
            if (lead >= 0xF8 && trail >= 0xA1) expected = 0xE234 + (lead - 0xF8) * 94 + high;
            if (lead >= 0xA1 && lead <= 0xA7 && trail <= 0xA0) expected = 0xE4C6 + (lead - 0xA1) * 96 + low;
            ASSERT_TRUE(!expected || text[0] == expected) << std::hex << lead << trail;
#ifdef CHMBOOK_HAVE_ICONV
            char16_t converted = 0;
            char* in = bytes.data();
            char* out = reinterpret_cast<char*>(&converted);
            std::size_t inLeft = 2, outLeft = 2;
            iconv(gbk, nullptr, nullptr, nullptr, nullptr);
            if (expected || iconv(gbk, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) continue;
            ASSERT_EQ(text[0], converted) << std::hex << lead << trail;  // little-endian hosts
            ++agreed;
#endif
        }
    }
#ifdef CHMBOOK_HAVE_ICONV
    iconv_close(gbk);
    EXPECT_GT(agreed, 21000);
#endif
}

// ASCII maps to itself; every other character encodes to '?' or to bytes
// that decode to one character encoding back to the same bytes.
TEST(AnsiCodePage, EveryEncodedCharacterDecodesToAStableCharacter) {
    for (unsigned code = 0; code < 0x10000; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF) continue;
        const std::string bytes = UnicodeToAnsi(std::u16string(1, static_cast<char16_t>(code)));
        if (bytes == "?") continue;
        const std::u16string decoded = AnsiToUnicode(bytes);
        ASSERT_EQ(decoded.size(), 1u) << std::hex << code;
        ASSERT_TRUE(code >= 0x80 || (bytes == std::string(1, static_cast<char>(code)) && decoded[0] == code)) << code;
        ASSERT_EQ(UnicodeToAnsi(decoded), bytes) << std::hex << code;
    }
}

// Bytes that are not UTF-8 (a file name in another encoding) survive as lone
// surrogates U+DC00 + byte; other lone surrogates become U+FFFD.
TEST(Utf8, ConvertsBothWaysAndKeepsInvalidBytes) {
    const std::pair<std::string, std::u16string> both[] = {
        {"\xE4\xB8\xAD\xE6\x96\x87 abc \xF0\x9F\x98\x80", u"\u4E2D\u6587 abc \U0001F600"}, {"a\xFF!", u"a\xDCFF!"},
        {"\xE4\xB8", u"\xDCE4\xDCB8"}, {"\xC0\xAF", u"\xDCC0\xDCAF"},  // cut short, overlong
        {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"}, {"\xD6\xD0.txt", u"\xDCD6\xDCD0.txt"}};  // a surrogate, GBK
    for (const auto& [utf8, text] : both) {
        EXPECT_EQ(FromUtf8(utf8), text) << ::testing::PrintToString(utf8);
        EXPECT_EQ(ToUtf8(text), utf8) << ::testing::PrintToString(utf8);
    }
    EXPECT_EQ(ToUtf8(u"\xDC00.\xD800.\xDBFFx"), "\xEF\xBF\xBD.\xEF\xBF\xBD.\xEF\xBF\xBDx");
}

}  // namespace
}  // namespace chmbook::platform
