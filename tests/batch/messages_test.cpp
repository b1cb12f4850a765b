// The build's texts: the catalogue and the choice of language, titles that
// cannot name a file, the output path, the list page's pieces and what a
// failure quotes of the compiler's output.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "batch/book_inputs.h"
#include "batch/compiler_output.h"
#include "batch/list_page.h"
#include "batch/messages.h"
#include "batch/title_check.h"
#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook {
namespace {

std::multiset<std::u16string> Placeholders(std::u16string_view text) {
    std::multiset<std::u16string> found;
    for (std::size_t at = text.find(u'{'); at != std::u16string_view::npos; at = text.find(u'{', at + 1))
        found.insert(std::u16string(text.substr(at, 3)));
    return found;
}

bool HasHan(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t c) { return c >= 0x4E00 && c <= 0x9FFF; });
}

TEST(MessageCatalogue, EveryIdHasAChineseAndAnEnglishTextWithTheSamePlaceholders) {
    const auto catalogue = MessageCatalogue();
    ASSERT_EQ(catalogue.size(), static_cast<std::size_t>(MessageId::kCount) - 1);
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const MessageTexts& entry = catalogue[i];
        const std::string en = platform::ToUtf8(entry.en);
        EXPECT_EQ(static_cast<std::size_t>(entry.id), i + 1) << en;
        EXPECT_FALSE(entry.en.empty() || entry.zh.empty()) << en;
        EXPECT_EQ(Placeholders(entry.zh), Placeholders(entry.en)) << en;
        EXPECT_EQ(HasHan(entry.zh), entry.id != MessageId::kSystemText && entry.id != MessageId::kStepOnFile) << en;
        EXPECT_FALSE(HasHan(entry.en)) << en;
    }
    EXPECT_EQ(Text(MessageId::kReasonCompilerNoBook, Language::kEnglish, {u"3"}),
              u"The help compiler ended (exit code 3) without writing it.");
    EXPECT_EQ(Text(MessageId::kStepOnFile, Language::kChinese, {u"读取源文件", u"a.txt"}), u"读取源文件“a.txt”");
}

TEST(MessageCatalogue, LanguageFollowsTheFirstLocaleVariableThatIsSet) {
    const struct {
        const char *lcAll, *lcMessages, *lang;
        Language expected;
    } cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", Language::kChinese}, {nullptr, nullptr, "zh_TW", Language::kChinese},
        {nullptr, nullptr, "zh", Language::kChinese},          {nullptr, nullptr, "en_US.UTF-8", Language::kEnglish},
        {nullptr, nullptr, "zu_ZA", Language::kEnglish},       {nullptr, nullptr, nullptr, Language::kEnglish},
        {"C", nullptr, "zh_CN", Language::kEnglish},           {"", "zh_CN.GBK", "en_GB", Language::kChinese},
        {"zh_CN.UTF-8", "en_US", "en_US", Language::kChinese},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageOfLocale(c.lcAll, c.lcMessages, c.lang), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
}

// The refusal quotes the offending character (the English text without the
// Chinese quotation marks); nullptr: the title is fine.
TEST(TitleProblem, TitlesThatCannotNameAFileAreRefusedNamingTheCharacter) {
    const std::u16string longest(239 - 4, u'a');  // with ".chm" and room for ".part-4294967295"
    const std::pair<std::u16string, const char16_t*> cases[] = {
        {u"Notes", nullptr}, {u"中文 书名 (2)", nullptr}, {u" blank before", nullptr}, {u"a.b", nullptr},
        {longest, nullptr}, {longest + u"a", u"aaaa.chm"}, {u"../../evil", u"/"}, {u"a/b", u"/"}, {u".", u"“.”"},
        {u"..", u"“..”"}, {u"line\nbreak", u"U+000A"}, {u"tab\there", u"U+0009"},
        {std::u16string(u"nul") + u'\0', u"U+0000"}, {u"del\x7F", u"U+007F"},
#ifdef _WIN32
        {u"a\\b", u"\\"}, {u"c:d", u":"}, {u"star*", u"*"}, {u"what?", u"?"}, {u"say \"hi\"", u"\""},
        {u"<b>", u"<"}, {u"pipe|", u"|"}, {u"CON", u"CON"}, {u"nul.txt", u"nul.txt"}, {u"Com1", u"Com1"},
        {u"LPT9.x", u"LPT9.x"}, {u"dots.", u"“.”"}, {u"blank ", u"U+0020"}, {u"CONSOLE", nullptr}, {u"COM0", nullptr},
#else
        {u"a\\b", nullptr}, {u"c:d", nullptr}, {u"CON", nullptr}, {u"dots.", nullptr}, {u" blanks around ", nullptr},
        {std::u16string(80, u'中'), u"中中中.chm"},  // three bytes each in UTF-8
#endif
    };
    for (const auto& [title, named] : cases) {
        const std::u16string zh = TitleProblem(title, Language::kChinese), en = TitleProblem(title, Language::kEnglish);
        SCOPED_TRACE(platform::ToUtf8(title) + ": " + platform::ToUtf8(zh) + " / " + platform::ToUtf8(en));
        if (!named) {
            EXPECT_EQ(zh + en, u"");
            continue;
        }
        const std::u16string quoted = named;
        EXPECT_NE(zh.find(quoted), std::u16string::npos);
        EXPECT_TRUE(HasHan(zh));
        EXPECT_NE(en.find(quoted[0] == u'“' ? quoted.substr(1, quoted.size() - 2) : quoted), std::u16string::npos);
    }
}

TEST(OutputPath, FollowsTheTitleInTheReleaseFolder) {
    const std::u16string sep(1, platform::kPathSeparator);
    const std::u16string app = sep + u"opt" + sep + u"book", release = app + sep + u"Release" + sep;
    EXPECT_EQ(DefaultOutputPath(app), release + u"test.chm");
    EXPECT_EQ(OutputPathForTitle(app, u" My Book "), release + u" My Book .chm");
    EXPECT_EQ(DefaultOutputPath(sep), sep + u"Release" + sep + u"test.chm");  // no doubled separator at the root
}

TEST(ListPage, NumbersHaveAtLeastThreeDigitsAndLinksNone) {
    const std::tuple<std::size_t, std::u16string, std::u16string> cases[] = {
        {0, u"000", u"0.htm"}, {7, u"007", u"7.htm"}, {10, u"010", u"10.htm"}, {100000, u"100000", u"100000.htm"}};
    for (const auto& [page, visible, link] : cases) {
        EXPECT_EQ(VisibleNumber(page), visible);
        EXPECT_EQ(PageFileName(page), link);
    }
}

TEST(ListPage, ExcerptIsTheFirst200CharactersEscaped) {
    const std::u16string x199(199, u'x');
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", u""},
        {std::u16string(5000, u'中'), std::u16string(200, u'中')},
        {u"<a&b>\"c\"\r\nd", u"&lt;a&amp;b&gt;&quot;c&quot;\r\nd"},
        {u"&lt;", u"&amp;lt;"},
        {x199 + u"&yz", x199 + u"&amp;"},       // cut first, then escaped
        {x199 + u"\U00020000" + u"tail", x199},  // never half a surrogate pair
        {x199.substr(1) + u"\U00020000", x199.substr(1) + u"\U00020000"},
    };
    for (const auto& [text, excerpt] : cases) EXPECT_EQ(ListExcerpt(text), excerpt);
}

// The last lines, decoded as UTF-8 or else the ANSI code page; long output is
// cut at the start of a line.
TEST(CompilerOutput, QuotesTheLastLinesDecoded) {
    std::string longLog;
    for (int i = 0; i < 100; ++i) longLog += std::string(150, 'x') + "\n";
    const std::pair<std::string, std::u16string> cases[] = {
        {"", u""},
        {"\r\n \n", u""},
        {"one\r\ntwo\r\n", u"one\ntwo"},
        {"1\n2\n3\n4\n5\n6\n7\n8\n", u"3\n4\n5\n6\n7\n8"},
        {"error: \xE4\xB8\xAD\xE6\x96\x87", u"error: 中文"},
        {"error: \xD6\xD0\xCE\xC4", u"error: 中文"},
    };
    test_support::ScratchFolder dir;
    for (const auto& [log, tail] : cases) {
        dir.Write("log.txt", log);
        EXPECT_EQ(CompilerOutputTail(dir.u16("log.txt")), tail) << log;
    }
    dir.Write("log.txt", longLog + "last words");
    const std::u16string tail = CompilerOutputTail(dir.u16("log.txt"));
    EXPECT_TRUE(tail.starts_with(std::u16string(150, u'x') + u"\n"));
    EXPECT_TRUE(tail.ends_with(u"\nlast words"));
    EXPECT_LE(tail.size(), kQuotedOutputBytes);
    EXPECT_EQ(CompilerOutputTail(dir.u16("missing.txt")), u"");
}

}  // namespace
}  // namespace chmbook
