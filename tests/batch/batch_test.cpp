// The batch build end to end, with the stand-in compiler; then its texts:
// the catalogue and the choice of language, titles that cannot name a file,
// the list page's excerpt and what a failure quotes of the compiler's output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>

#include "batch/book_inputs.h"
#include "batch/compiler_output.h"
#include "batch/list_page.h"
#include "batch/title_check.h"
#include "batch/write_chm.h"
#include "book_fixture.h"
#include "platform/platform.h"
#include "test_support/run_command.h"

namespace chmbook::testing {
namespace {

class MakeChmTest : public BookTest {
protected:
    fs::path Work() const { return app_ / "Temp"; }
    fs::path Seen(const std::string& name) const { return app_ / "seen" / name; }
    fs::path Output() const { return fs::path(frm_.file); }
};

// Another build holds the work folder: this one says that it waits, and goes
// on once the other lets go (here, as soon as the wait is announced). Then a
// content page's body and the project file, as the compiler is given them
// (the frame is the renderer's, the list page's rows the readers' test). Its
// book replaces the one of an earlier run; the files that run left in the
// work folder are gone before the pages are written, its subfolders stay (one
// blocks a page). A source that cannot be read and a page that cannot be
// written are passed over: the first is reported, the rest of the book is
// made, the sources stay.
TEST_F(MakeChmTest, WaitsForAnotherBuildThenWritesASmallBookPassingOverWhatItCannot) {
    platform::FileLock other;
    ASSERT_EQ(platform::LockFile(U16(app_ / "Temp.lock"), false, other, nullptr), platform::LockResult::kLocked);
    const std::u16string waiting = Text(MessageId::kStageWaiting, Language::kEnglish);
    std::vector<std::u16string> stages;
    options_.progress = [&](std::u16string_view stage, std::size_t) {
        stages.emplace_back(stage);
        if (stage == waiting) platform::UnlockFile(other);
    };
    frm_.titleName = u"中文 Notes";
    frm_.file = U16(app_ / "Release" / "中文 Notes.chm");
    WriteBytes(Output(), "the book of yesterday");
    WriteBytes(Work() / "left over.htm", "old");
    fs::create_directories(Work() / "2.htm");  // survives the clearing and blocks that page
    AddSource("alpha.txt", "<a> & \"b\"\r\n");
    frm_.list1.push_back(U16(sources_ / "vanished.txt"));
    AddSource("c.txt", "blocked");
    AddSource("d.txt", "last");
    frm_.check1 = 1;

    const BuildOutcome outcome = MakeChm(frm_, options_);
    ASSERT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_EQ(outcome.failedStep, MessageId::kStepReadSource);
    EXPECT_EQ(outcome.file, U16(sources_ / "vanished.txt"));
    EXPECT_EQ(outcome.pagesWritten, 4u);
    EXPECT_TRUE(outcome.sourcesKept);
    EXPECT_EQ(FilesIn(sources_).size(), 3u);
    EXPECT_EQ(stages.at(1), waiting);
    EXPECT_NE(ReadBytes(Seen("3.htm")).find("<p>last</P>"), std::string::npos);
    EXPECT_NE(ReadBytes(Seen("0.htm")).find("<p>&lt;a&gt; &amp; &quot;b&quot;</P>\r\n<table"), std::string::npos);
    EXPECT_EQ(ReadBytes(Seen("Temp.hhp")),
              "[OPTIONS]\r\nCompatibility=1.1 Or later\r\nDefault Window=Main\r\nDefault topic=index.htm\r\n"
              "Default font=Tahoma,8,1\r\nContents file=Temp.hhc\r\nIndex file=Temp.hhk\r\n"
              "Display compile progress=Yes\r\nFull-text search=Yes\r\n"
              "Language=0x804 \xD6\xD0\xCE\xC4(\xD6\xD0\xB9\xFA)\r\n\r\n[WINDOWS]\r\n"  // 中文(中国), in code page 936
              "Main=\"\xD6\xD0\xCE\xC4 Notes\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\","
              ",,,,0x20,180,0x10387C,[80,60,720,540],0x0,0x0,,1,,,0\r\n\r\n[FILES]\r\nindex.htm");
    EXPECT_FALSE(fs::exists(Seen("left over.htm")));
    // The stand-in compiler refuses any arguments but the project's path, and names it in its book.
    EXPECT_TRUE(ReadBytes(Output()).ends_with("FAKE-CHM " + (Work() / "Temp.hhp").string()));
    EXPECT_TRUE(FilesIn(Work()).empty());
    EXPECT_EQ(opened_, std::vector<std::u16string>{frm_.file});
}

// Page numbers are not 16-bit: more pages than a short counts, numbered past 10 and 32767.
TEST_F(MakeChmTest, NumbersPagesPastTheRangeOfAShort) {
    WriteBytes(sources_ / "p.txt", "x");
    frm_.list1.assign(32769, U16(sources_ / "p.txt"));
    const BuildOutcome outcome = MakeChm(frm_, options_);
    ASSERT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_EQ(outcome.pagesWritten, 32770u);
    const std::string index = ReadBytes(Seen("index.htm"));
    for (const char* row : {"<p>000. <a href='0.htm'>p</a>", "<p>010. <a href='10.htm'>", "<p>32768. <a href='32768.htm'>"})
        EXPECT_NE(index.find(row), std::string::npos) << row;
    EXPECT_EQ(index.find("32769.htm"), std::string::npos);
}

// The guard on the user's data: a build that goes wrong at any step, or whose
// book lacks a page, deletes no source even with the delete option ticked,
// opens nothing, leaves the book of an earlier run alone and no work files.
TEST_F(MakeChmTest, FailedBuildKeepsTheSourcesAndTheOldBook) {
    const struct {
        const char* name;
        std::function<void()> arrange;
        MessageId step;
    } cases[] = {
        {"compiler missing", [this] { fs::remove(app_ / CompilerFileName()); }, MessageId::kStepFindCompiler},
#ifndef _WIN32
        {"compiler not a program", [this] { fs::permissions(app_ / "hhc", fs::perms::none); }, MessageId::kStepStartCompiler},
#endif
        {"compiler fails", [this] { SetCompilerMode(app_, "fail"); }, MessageId::kStepFindCompiledBook},
        {"compiler crashes", [this] { SetCompilerMode(app_, "crash"); }, MessageId::kStepRunCompiler},
        {"index.htm", [this] { SetCompilerMode(app_, "ok drop=index.htm"); }, MessageId::kStepFindEveryPage},
        {"1.htm (b.txt)", [this] { SetCompilerMode(app_, "ok drop=1.htm"); }, MessageId::kStepFindEveryPage},
        {"output folder missing", [this] { frm_.file = U16(root_ / "no such folder" / "x.chm"); }, MessageId::kStepCopyBook},
        {"file in place of the work folder", [this] { WriteBytes(Work(), "x"); }, MessageId::kStepUseWorkFolder},
        {"program folder unknown", [this] { frm_.appPath.clear(); }, MessageId::kStepFindProgramFolder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(root_)) fs::remove_all(entry.path());
        frm_.list1.clear();
        SetUp();
        AddSource("a.txt", "A");
        AddSource("b.txt", "B");
        frm_.check1 = 1;
        WriteBytes(Output(), "the book of yesterday");
        c.arrange();
        const BuildOutcome outcome = MakeChm(frm_, options_);
        EXPECT_FALSE(outcome.produced);
        EXPECT_EQ(outcome.failedStep, c.step);
        EXPECT_TRUE(outcome.sourcesKept || outcome.pagesWritten == 0);  // said whenever pages were written
        EXPECT_NE(outcome.Message().find(outcome.file), std::u16string::npos);
        if (c.step == MessageId::kStepFindEveryPage) {  // the missing page, with its source
            EXPECT_NE(platform::ToUtf8(outcome.Message()).find(c.name), std::string::npos);
        }
        EXPECT_EQ(ReadBytes(sources_ / "a.txt") + ReadBytes(sources_ / "b.txt"), "AB");
        EXPECT_TRUE(opened_.empty());
        EXPECT_TRUE(!fs::exists(Output()) || ReadBytes(Output()) == "the book of yesterday");
        EXPECT_TRUE(!fs::is_directory(Work()) || FilesIn(Work()).empty());
    }
}

TEST_F(MakeChmTest, RefusesSourcesThatLieInTheWorkFolder) {
    WriteBytes(Work() / "mine.txt", "precious");
    frm_.list1.push_back(U16(Work() / "mine.txt"));
    EXPECT_EQ(MakeChm(frm_, options_).failedStep, MessageId::kStepUseSourceFile);
    EXPECT_EQ(ReadBytes(Work() / "mine.txt"), "precious");
}

TEST_F(MakeChmTest, SourceThatCannotBeDeletedDoesNotStopTheOthers) {
    AddSource("a.txt", "A");
    AddSource("b.txt", "B");
    frm_.check1 = 1;
    // Once the book stands at its place, the next stage deletes the sources.
    options_.progress = [&](std::u16string_view, std::size_t) {
        if (fs::exists(Output())) fs::remove(sources_ / "a.txt");
    };
    const BuildOutcome outcome = MakeChm(frm_, options_);
    EXPECT_TRUE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepDeleteSource);
    EXPECT_EQ(outcome.file, U16(sources_ / "a.txt"));
    EXPECT_FALSE(fs::exists(sources_ / "b.txt"));
}

#ifndef _WIN32
// A full disk is named at whichever step it strikes. Each case mounts a tiny
// memory file system (this needs root, as on the CI machines; elsewhere the
// test is skipped).
TEST_F(MakeChmTest, FullDiskIsNamedAtEveryStep) {
    const std::pair<fs::path, MessageId> cases[] = {{root_ / "output", MessageId::kStepCopyBook},
                                                    {Work(), MessageId::kStepWritePage},
                                                    {root_ / "program folder", MessageId::kStepCreateWorkFolder}};
    for (const auto& [disk, step] : cases) {
        SCOPED_TRACE(disk);
        frm_.list1.clear();
        AddSource("a.txt", "A");
        AddSource("b.txt", "B");
        frm_.check1 = 1;
        fs::create_directories(disk);
        // Room for one file: the lock file, a page, or a part of the book.
        if (std::system(("mount -t tmpfs -o size=4k,nr_inodes=2 tmpfs " + test_support::Quote(disk) + " 2>/dev/null").c_str()))
            GTEST_SKIP() << "cannot mount a tmpfs here (not root?)";
        frm_.appPath = U16(step == MessageId::kStepCreateWorkFolder ? disk : app_);
        frm_.file = step == MessageId::kStepCopyBook ? U16(disk / "Notes.chm") : OutputPathForTitle(U16(app_), frm_.titleName);

        const BuildOutcome outcome = MakeChm(frm_, options_);
        std::system(("umount -l " + test_support::Quote(disk)).c_str());
        EXPECT_FALSE(outcome.produced);
        EXPECT_EQ(outcome.failedStep, step);
        const std::string en = platform::ToUtf8(outcome.Message(Language::kEnglish));
        EXPECT_NE(en.find("The disk is full"), std::string::npos) << en;
        // Said when the build stopped before it wrote anything.
        EXPECT_EQ(en.find("the source files were kept") != std::string::npos, step == MessageId::kStepCreateWorkFolder);
    }
}
#endif

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
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const MessageTexts& entry = catalogue[i];
        const std::string en = platform::ToUtf8(entry.en);
        EXPECT_EQ(static_cast<std::size_t>(entry.id), i + 1) << en;
        EXPECT_EQ(Placeholders(entry.zh), Placeholders(entry.en)) << en;
        EXPECT_EQ(HasHan(entry.zh), entry.id != MessageId::kSystemText && entry.id != MessageId::kStepOnFile) << en;
        EXPECT_FALSE(entry.en.empty() || HasHan(entry.en)) << en;
    }
}

TEST(MessageCatalogue, LanguageFollowsTheFirstLocaleVariableThatIsSet) {
    for (const char* zh : {"zh", "zh_CN.UTF-8", "zh-Hans"}) EXPECT_EQ(LanguageOfLocale("", zh, "C"), Language::kChinese) << zh;
    for (const char* other : {"zu_ZA", "zhx", "C"}) EXPECT_EQ(LanguageOfLocale(other, nullptr, "zh"), Language::kEnglish) << other;
}

// The refusal quotes the offending character; nullptr: the title is fine.
TEST(TitleProblem, TitlesThatCannotNameAFileAreRefusedNamingTheCharacter) {
    const std::u16string longest(239 - 4, u'a');  // with ".chm" and room for ".part-4294967295"
    const std::pair<std::u16string, const char16_t*> cases[] = {
        {u"中文 书名 (2)", nullptr}, {u" blank before", nullptr}, {longest, nullptr}, {longest + u"a", u"aaaa.chm"},
        {u"../../evil", u"/"}, {u".", u"“.”"}, {u"..", u"“..”"}, {std::u16string(u"a\0b", 3), u"U+0000"}, {u"del\x7F", u"U+007F"},
#ifdef _WIN32
        {u"a\\b", u"\\"}, {u"say \"hi\"", u"\""}, {u"CON", u"CON"}, {u"nul.txt", u"nul.txt"}, {u"Com1", u"Com1"},
        {u"dots.", u"“.”"}, {u"blank ", u"U+0020"}, {u"CONSOLE", nullptr}, {u"COM0", nullptr},
#else
        {u"CON", nullptr}, {std::u16string(80, u'中'), u"中中中.chm"},  // three bytes each in UTF-8
#endif
    };
    for (const auto& [title, named] : cases) {
        const std::u16string zh = TitleProblem(title, Language::kChinese), en = TitleProblem(title, Language::kEnglish);
        SCOPED_TRACE(platform::ToUtf8(title) + ": " + platform::ToUtf8(zh) + " / " + platform::ToUtf8(en));
        EXPECT_EQ(en.empty(), named == nullptr);  // the Chinese text has the same placeholders, checked above
        EXPECT_NE(zh.find(named ? named : u""), std::u16string::npos);
    }
}

TEST(ListPage, ExcerptIsTheFirst200CharactersEscaped) {
    const std::u16string x199(199, u'x');
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"<a&b>\"c\"\r\nd", u"&lt;a&amp;b&gt;&quot;c&quot;\r\nd"},
        {x199 + u"&yz", x199 + u"&amp;"},       // cut first, then escaped
        {x199 + u"\U00020000" + u"tail", x199},  // never half a surrogate pair
        {x199.substr(1) + u"\U00020000", x199.substr(1) + u"\U00020000"},
    };
    for (const auto& [text, excerpt] : cases) EXPECT_EQ(ListExcerpt(text), excerpt);
}

// The last lines, decoded as UTF-8 or else the ANSI code page; long output is
// cut at the start of a line.
TEST(CompilerOutput, QuotesTheLastLinesDecoded) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"1\r\n2\n3\n4\n5\n6\n7\r\n8\r\n \n", u"3\n4\n5\n6\n7\n8"},
        {"error: \xE4\xB8\xAD\xE6\x96\x87", u"error: 中文"},
        {"error: \xD6\xD0\xCE\xC4", u"error: 中文"},
        {std::string(1000, 'x') + "\nlast", u"last"},  // a line too long to quote is left out whole
    };
    const test_support::ScratchFolder dir;
    for (const auto& [log, tail] : cases) {
        dir.Write("log.txt", log);
        EXPECT_EQ(CompilerOutputTail(dir.u16("log.txt")), tail) << log;
    }
}

}  // namespace
}  // namespace chmbook::testing
