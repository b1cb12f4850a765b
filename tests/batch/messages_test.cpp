// The build's catalogue of texts, the choice of language and the check of
// titles that cannot name a file.
#include <gtest/gtest.h>

#include <set>

#include "batch/messages.h"
#include "batch/title_check.h"
#include "platform/platform.h"

namespace chmbook {
namespace {

std::multiset<std::u16string> Placeholders(std::u16string_view text) {
    std::multiset<std::u16string> found;
    for (std::size_t at = text.find(u'{'); at != std::u16string_view::npos; at = text.find(u'{', at + 1))
        found.insert(std::u16string(text.substr(at, 3)));
    return found;
}

bool HasHan(std::u16string_view text) {
    for (char16_t c : text)
        if (c >= 0x4E00 && c <= 0x9FFF) return true;
    return false;
}

TEST(MessageCatalogue, EveryIdHasAChineseAndAnEnglishTextWithTheSamePlaceholders) {
    const auto catalogue = MessageCatalogue();
    ASSERT_EQ(catalogue.size(), static_cast<std::size_t>(MessageId::kCount) - 1);
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const MessageTexts& entry = catalogue[i];
        const std::string en = platform::ToUtf8(entry.en);
        EXPECT_EQ(static_cast<std::size_t>(entry.id), i + 1) << en;
        EXPECT_FALSE(entry.en.empty());
        EXPECT_FALSE(entry.zh.empty()) << en;
        EXPECT_EQ(Placeholders(entry.zh), Placeholders(entry.en)) << en;
        if (entry.id != MessageId::kSystemText && entry.id != MessageId::kStepOnFile) {
            EXPECT_TRUE(HasHan(entry.zh)) << en;
        }
        EXPECT_FALSE(HasHan(entry.en)) << en;
    }
    EXPECT_EQ(Text(MessageId::kReasonCompilerNoBook, Language::kEnglish, {u"3"}),
              u"The help compiler ended (exit code 3) without writing it.");
    EXPECT_EQ(Text(MessageId::kStepOnFile, Language::kChinese, {u"读取源文件", u"a.txt"}), u"读取源文件“a.txt”");
}

TEST(MessageCatalogue, LanguageFollowsTheFirstLocaleVariableThatIsSet) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        Language expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", Language::kChinese}, {nullptr, nullptr, "zh_TW", Language::kChinese},
        {nullptr, nullptr, "zh", Language::kChinese},          {nullptr, nullptr, "en_US.UTF-8", Language::kEnglish},
        {nullptr, nullptr, "zu_ZA", Language::kEnglish},       {nullptr, nullptr, nullptr, Language::kEnglish},
        {"C", nullptr, "zh_CN", Language::kEnglish},           {"", "zh_CN.GBK", "en_GB", Language::kChinese},
        {"zh_CN.UTF-8", "en_US", "en_US", Language::kChinese},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageOfLocale(c.lcAll, c.lcMessages, c.lang), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
}

TEST(TitleProblem, TitlesThatCannotNameAFileAreRefusedNamingTheCharacter) {
    struct Case {
        std::u16string title;
        const char16_t* named;  // what the refusal must quote; nullptr: the title is fine
    };
    const std::u16string longest(239 - 4, u'a');  // with ".chm" and room for ".part-4294967295"
    std::vector<Case> cases = {
        {u"Notes", nullptr},
        {u"中文 书名 (2)", nullptr},
        {u" blank before", nullptr},
        {u"a.b", nullptr},
        {longest, nullptr},
        {longest + u"a", u"aaaa.chm"},
        {u"../../evil", u"/"},
        {u"a/b", u"/"},
        {u".", u"“.”"},
        {u"..", u"“..”"},
        {u"line\nbreak", u"U+000A"},
        {u"tab\there", u"U+0009"},
        {std::u16string(u"nul") + u'\0', u"U+0000"},
        {u"del\x7F", u"U+007F"},
#ifdef _WIN32
        {u"a\\b", u"\\"}, {u"c:d", u":"}, {u"star*", u"*"}, {u"what?", u"?"}, {u"say \"hi\"", u"\""},
        {u"<b>", u"<"}, {u"pipe|", u"|"}, {u"CON", u"CON"}, {u"nul.txt", u"nul.txt"}, {u"Com1", u"Com1"},
        {u"LPT9.x", u"LPT9.x"}, {u"dots.", u"“.”"}, {u"blank ", u"U+0020"}, {u"CONSOLE", nullptr}, {u"COM0", nullptr},
#else
        {u"a\\b", nullptr}, {u"c:d", nullptr}, {u"CON", nullptr}, {u"dots.", nullptr}, {u" blanks around ", nullptr},
        {std::u16string(80, u'中'), u"中中中.chm"},  // three bytes each in UTF-8
#endif
    };
    for (const Case& c : cases) {
        const std::u16string zh = TitleProblem(c.title, Language::kChinese);
        const std::u16string en = TitleProblem(c.title, Language::kEnglish);
        const std::string shown = platform::ToUtf8(c.title);
        if (!c.named) {
            EXPECT_EQ(zh, u"") << shown;
            EXPECT_EQ(en, u"") << shown;
            continue;
        }
        EXPECT_NE(zh.find(c.named), std::u16string::npos) << shown << ": " << platform::ToUtf8(zh);
        EXPECT_TRUE(HasHan(zh)) << shown;
        const std::u16string named = c.named;
        const std::u16string plain = named.substr(0, 1) == u"“" ? named.substr(1, named.size() - 2) : named;
        EXPECT_NE(en.find(plain), std::u16string::npos) << shown << ": " << platform::ToUtf8(en);
    }
}

}  // namespace
}  // namespace chmbook
