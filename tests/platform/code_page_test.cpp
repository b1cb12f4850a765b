// The ANSI code page (936) and UTF-8 conversions.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

#ifdef CHMBOOK_HAVE_ICONV
#include <iconv.h>
#endif

namespace chmbook::platform {
namespace {

bool IsTrailByte(unsigned b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

std::string Pair(unsigned lead, unsigned trail) {
    return std::string{static_cast<char>(lead), static_cast<char>(trail)};
}

TEST(AnsiCodePage, ChineseTextBothWays) {
    EXPECT_EQ(AnsiToUnicode("\xD6\xD0\xCE\xC4"), u"\u4E2D\u6587");
    EXPECT_EQ(UnicodeToAnsi(u"\u4E2D\u6587"), "\xD6\xD0\xCE\xC4");
    const std::string mixed = "abc\r\n\xD6\xD0\xCE\xC4 <&>\"\r\n";
    EXPECT_EQ(AnsiToUnicode(mixed), u"abc\r\n\u4E2D\u6587 <&>\"\r\n");
    EXPECT_EQ(UnicodeToAnsi(AnsiToUnicode(mixed)), mixed);
}

TEST(AnsiCodePage, EmptyAndAsciiPassThrough) {
    EXPECT_EQ(AnsiToUnicode(""), u"");
    EXPECT_EQ(UnicodeToAnsi(u""), "");
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
    const std::u16string wide = AnsiToUnicode(ascii);
    ASSERT_EQ(wide.size(), 0x80u);
    for (int c = 0; c < 0x80; ++c) EXPECT_EQ(wide[c], static_cast<char16_t>(c));
    EXPECT_EQ(UnicodeToAnsi(wide), ascii);
}

TEST(AnsiCodePage, SingleBytesAboveAscii) {
    EXPECT_EQ(AnsiToUnicode("\x80"), u"\u20AC");
    EXPECT_EQ(AnsiToUnicode("\xFF"), u"\uF8F5");
    EXPECT_EQ(UnicodeToAnsi(u"\u20AC"), "\x80");
    EXPECT_EQ(UnicodeToAnsi(u"\uF8F5"), "\xFF");
}

TEST(AnsiCodePage, EveryDoubleByteCodeRoundTrips) {
    int checked = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (!IsTrailByte(trail)) continue;
            const std::string bytes = Pair(lead, trail);
            const std::u16string text = AnsiToUnicode(bytes);
            ASSERT_EQ(text.size(), 1u) << std::hex << lead << trail;
            ASSERT_NE(text[0], u'?') << std::hex << lead << trail;
            ASSERT_EQ(UnicodeToAnsi(text), bytes) << std::hex << lead << trail;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 126 * 190);
}

// Codes that GBK leaves unassigned decode to private-use characters, as on Windows.
TEST(AnsiCodePage, UserDefinedAreasArePrivateUse) {
    EXPECT_EQ(AnsiToUnicode(Pair(0xAA, 0xA1)), u"\uE000");
    EXPECT_EQ(AnsiToUnicode(Pair(0xAF, 0xFE)), u"\uE233");
    EXPECT_EQ(AnsiToUnicode(Pair(0xF8, 0xA1)), u"\uE234");
    EXPECT_EQ(AnsiToUnicode(Pair(0xFE, 0xFE)), u"\uE4C5");
    EXPECT_EQ(AnsiToUnicode(Pair(0xA1, 0x40)), u"\uE4C6");
    EXPECT_EQ(AnsiToUnicode(Pair(0xA7, 0xA0)), u"\uE765");
    EXPECT_EQ(AnsiToUnicode(Pair(0xA2, 0xAB)), u"\uE766");
    EXPECT_EQ(AnsiToUnicode(Pair(0xA2, 0xE3)), u"\uE76C");
    EXPECT_EQ(AnsiToUnicode(Pair(0xA8, 0xBC)), u"\uE7C7");
    EXPECT_EQ(AnsiToUnicode(Pair(0xA8, 0xBF)), u"\uE7C8");
    EXPECT_EQ(AnsiToUnicode(Pair(0xD7, 0xFA)), u"\uE810");
    EXPECT_EQ(AnsiToUnicode(Pair(0xFE, 0x50)), u"\uE815");
    EXPECT_EQ(AnsiToUnicode(Pair(0xFE, 0xA0)), u"\uE864");
    EXPECT_EQ(AnsiToUnicode(Pair(0xFE, 0x40)), u"\uFA0C");
}

TEST(AnsiCodePage, BadBytesGiveQuestionMarks) {
    EXPECT_EQ(AnsiToUnicode("\x81"), u"?");                 // lead byte at the end
    EXPECT_EQ(AnsiToUnicode("a\xD6"), u"a?");
    EXPECT_EQ(AnsiToUnicode(std::string("\x81\0b", 3)), std::u16string(u"?\0b", 3));  // before NUL
    EXPECT_EQ(AnsiToUnicode("\x81\x30z"), u"?z");           // invalid trail: one stand-in for the pair
    EXPECT_EQ(AnsiToUnicode("\x81\x7Fz"), u"?z");
    EXPECT_EQ(AnsiToUnicode("\x81\xFFz"), u"?z");
    EXPECT_EQ(AnsiToUnicode("\xD6\xD0\xCE"), u"\u4E2D?");
}

TEST(AnsiCodePage, UnencodableCharactersGiveQuestionMarks) {
    EXPECT_EQ(UnicodeToAnsi(u"a\u263Ab"), "a?b");
    EXPECT_EQ(UnicodeToAnsi(u"\U0001F600"), "??");         // one stand-in per unit of a pair
    EXPECT_EQ(UnicodeToAnsi(std::u16string(1, char16_t(0xD800)) + u"x"), "?x");
    EXPECT_EQ(UnicodeToAnsi(std::u16string(1, char16_t(0xDC00))), "?");
    EXPECT_EQ(UnicodeToAnsi(u"\uFFFD"), "?");
}

// Characters that code page 936 lacks but Windows encodes as a look-alike.
TEST(AnsiCodePage, LookAlikesForMissingCharacters) {
    EXPECT_EQ(UnicodeToAnsi(u"\u00C0"), "\xA8\xA4");   // A with grave -> a with grave
    EXPECT_EQ(UnicodeToAnsi(u"\u00AA"), "a");
    EXPECT_EQ(UnicodeToAnsi(u"\u00B2"), "2");
    EXPECT_EQ(UnicodeToAnsi(u"\u00A2"), "\xA1\xE9");   // cent sign -> fullwidth cent sign
    EXPECT_EQ(UnicodeToAnsi(u"\u3280"), "\xD2\xBB");   // circled one -> the ideograph one
    EXPECT_EQ(AnsiToUnicode("\xA8\xA4"), u"\u00E0");   // decoding is unaffected
}

TEST(AnsiCodePage, EveryEncodedCharacterDecodesToAStableCharacter) {
    for (char32_t c = 0x80; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::u16string text(1, static_cast<char16_t>(c));
        const std::string bytes = UnicodeToAnsi(text);
        if (bytes == "?") continue;
        const std::u16string decoded = AnsiToUnicode(bytes);
        ASSERT_EQ(decoded.size(), 1u) << std::hex << static_cast<unsigned>(c);
        ASSERT_EQ(UnicodeToAnsi(decoded), bytes) << std::hex << static_cast<unsigned>(c);
    }
}

#ifdef CHMBOOK_HAVE_ICONV
// The C library's own GBK converter, as an independent check of the tables.
TEST(AnsiCodePage, AgreesWithIconvWhereGbkAssignsACharacter) {
    iconv_t cd = iconv_open("UTF-16LE", "GBK");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int agreed = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (!IsTrailByte(trail)) continue;
            std::string in = Pair(lead, trail);
            char out[8];
            char* inPtr = in.data();
            char* outPtr = out;
            std::size_t inLeft = 2, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) continue;
            const char16_t expected = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                            (static_cast<unsigned char>(out[1]) << 8));
            ASSERT_EQ(AnsiToUnicode(in), std::u16string(1, expected)) << std::hex << lead << trail;
            ++agreed;
        }
    }
    iconv_close(cd);
    EXPECT_GT(agreed, 21000);
}
#endif

TEST(Utf8, RoundTripsChineseAndSupplementaryCharacters) {
    const std::u16string text = u"\u4E2D\u6587 abc \U0001F600";
    EXPECT_EQ(ToUtf8(text), "\xE4\xB8\xAD\xE6\x96\x87 abc \xF0\x9F\x98\x80");
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(Utf8, InvalidBytesSurviveTheRoundTrip) {
    EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\xDCFF" u"b");
    EXPECT_EQ(FromUtf8("\xE4\xB8"), u"\xDCE4\xDCB8");                // cut short
    EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\xDCC0\xDCAF");                // overlong
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\xDCED\xDCA0\xDC80");      // encoded surrogate
    const std::string gbkName = "\xD6\xD0\xCE\xC4.txt";
    EXPECT_EQ(ToUtf8(FromUtf8(gbkName)), gbkName);
}

TEST(Utf8, OtherLoneSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xDBFF)) + u"x"), "\xEF\xBF\xBDx");
}

}  // namespace
}  // namespace chmbook::platform
