// The batch build end to end, with the stand-in compiler.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "book_fixture.h"
#include "batch/make_chm.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

const std::string kZhongWen = "\xD6\xD0\xCE\xC4";  // 中文 in code page 936

class MakeChmTest : public BookTest {
protected:
    fs::path Work() const { return app_ / "Temp"; }
    fs::path Seen(const std::string& name) const { return app_ / "seen" / name; }
    fs::path Output() const { return fs::path(frm_.file); }
    std::string ExpectedBook() const { return "FAKE-CHM " + (Work() / "Temp.hhp").string(); }
};

TEST_F(MakeChmTest, WritesEveryFileOfASmallBookByteForByte) {
    WriteBytes(app_ / "Hha.css", "p{color:red}");
    frm_.titleName = u"中文 Notes";
    frm_.file = U16(app_ / "Release" / "中文 Notes.chm");
    AddSource("alpha.txt", "Hello <b>world</b> & \"you\"\r\nsecond line\r\n");
    AddSource("beta.txt", kZhongWen + "\r\n");
    SetCompilerMode(app_, "ok snapshot");

    const BuildOutcome outcome = Build();
    ASSERT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_FALSE(outcome.Failed());
    EXPECT_EQ(outcome.pagesWritten, 3u);

    const std::string title = kZhongWen + " Notes";
    const std::string head = "<HTML>\r\n<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n";
    const std::string table = "<table border='0' width='100%' cellspacing='0' cellpadding='0'>";
    const std::string ad = "<BODY>\r\n<p class='ad'><font color='#FF0000'>AD</font></p><p>&nbsp;</p><p><h1>";
    const std::string foot = "</tr>\r\n</table>\r\n</body>\r\n</html>\r\n";
    const std::string escaped = "Hello &lt;b&gt;world&lt;/b&gt; &amp; &quot;you&quot;";
    EXPECT_EQ(ReadBytes(Seen("index.htm")),
              head + "<TITLE>" + title + "</TITLE>\r\np{color:red}\r\n</HEAD>\r\n" + ad + title +
                  "</h1></p><p>&nbsp;</p>\r\n" + table +
                  "\r\n<tr>\r\n<td width='100%' class='TitleDemo'>TD</td>\r\n</tr>\r\n</table><p>&nbsp;</p>\r\n" +
                  table +
                  "<tr>\r\n<td width='100%' height='40'><p>000. <a href='0.htm'>alpha</a></p><p class='bewrite'>"
                  "&nbsp;&nbsp;&nbsp;&nbsp;" + escaped + "\r\nsecond line\r\n</p></td>\r\n</tr>\r\n"
                  "<tr><td width='100%' height='30'></td></tr>\r\n"
                  "<tr>\r\n<td width='100%' height='40'><p>001. <a href='1.htm'>beta</a></p><p class='bewrite'>"
                  "&nbsp;&nbsp;&nbsp;&nbsp;" + kZhongWen + "\r\n</p></td>\r\n</tr>\r\n"
                  "<tr><td width='100%' height='30'></td></tr>\r\n</table>\r\n" + table +
                  "\r\n<tr>\r\n<td width='100%' height='100' class='FootDemo'>FD</td>\r\n" + foot);
    // The frame around a page is the renderer's; here the page's own lines.
    EXPECT_NE(ReadBytes(Seen("0.htm")).find("<TITLE>alpha</TITLE>\r\np{color:red}\r\n</HEAD>"), std::string::npos);
    EXPECT_NE(ReadBytes(Seen("0.htm")).find("<p>" + escaped + "</P>\r\n<p>second line</P>\r\n" + table), std::string::npos);
    EXPECT_NE(ReadBytes(Seen("1.htm")).find("</h1></p><p>&nbsp;</p>\r\n<p>" + kZhongWen + "</P>\r\n" + table),
              std::string::npos);
    EXPECT_EQ(ReadBytes(Seen("Temp.hhp")),
              "[OPTIONS]\r\nCompatibility=1.1 Or later\r\nDefault Window=Main\r\nDefault topic=index.htm\r\n"
              "Default font=Tahoma,8,1\r\nContents file=Temp.hhc\r\nIndex file=Temp.hhk\r\n"
              "Display compile progress=Yes\r\nFull-text search=Yes\r\n"
              "Language=0x804 " + kZhongWen + "(\xD6\xD0\xB9\xFA)\r\n\r\n[WINDOWS]\r\n"
              "Main=\"" + title + "\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\","
              ",,,,0x20,180,0x10387C,[80,60,720,540],0x0,0x0,,1,,,0\r\n\r\n[FILES]\r\nindex.htm");
    EXPECT_EQ(FakeBookMark(Output()), ExpectedBook());
    EXPECT_TRUE(FilesIn(Work()).empty());
    EXPECT_EQ(opened_, std::vector<std::u16string>{frm_.file});
    EXPECT_EQ(frm_.pointerHistory, (std::vector<int>{WindowState::kBusyPointer, WindowState::kDefaultPointer}));
}

// Page numbers are not 16-bit: more pages than a short counts, numbered past 10, 1000 and 32767.
TEST_F(MakeChmTest, NumbersPagesPastTheRangeOfAShort) {
    WriteBytes(sources_ / "p.txt", "x");
    frm_.list1.assign(32769, U16(sources_ / "p.txt"));
    SetCompilerMode(app_, "ok");
    options_.progress = [this](std::u16string_view, std::size_t pages) {
        if (pages == 32770 && !fs::exists(app_ / "index.htm")) fs::copy_file(Work() / "index.htm", app_ / "index.htm");
    };
    const BuildOutcome outcome = Build();
    ASSERT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_EQ(outcome.pagesWritten, 32770u);
    const std::string index = ReadBytes(app_ / "index.htm");
    for (const char* row : {"<p>000. <a href='0.htm'>p</a>", "<p>009. <a href='9.htm'>", "<p>010. <a href='10.htm'>",
                            "<p>1000. <a href='1000.htm'>", "<p>32768. <a href='32768.htm'>"})
        EXPECT_NE(index.find(row), std::string::npos) << row;
    EXPECT_EQ(index.find("32769.htm"), std::string::npos);
    EXPECT_TRUE(FilesIn(Work()).empty());
}

// A build that goes wrong at any step keeps the sources, opens nothing, leaves
// the book of an earlier run alone and leaves no work files behind.
struct FailureCase {
    const char* name;
    std::function<void()> arrange;
    MessageId step;
};

TEST_F(MakeChmTest, FailedBuildKeepsTheSourcesAndTheOldBook) {
    const std::vector<FailureCase> cases = {
        {"compiler missing", [this] { fs::remove(app_ / "hhc"); }, MessageId::kStepFindCompiler},
        {"compiler not a program",
         [this] {
             WriteBytes(app_ / "hhc", "not a program");
             fs::permissions(app_ / "hhc", fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
         },
         MessageId::kStepStartCompiler},
        {"compiler fails", [this] { SetCompilerMode(app_, "fail"); }, MessageId::kStepFindCompiledBook},
        {"compiler writes nothing",
         [this] {
             SetCompilerMode(app_, "silent");
             WriteBytes(Work() / "Temp.chm", "a book of an earlier run");
         },
         MessageId::kStepFindCompiledBook},
        {"compiler crashes", [this] { SetCompilerMode(app_, "crash"); }, MessageId::kStepRunCompiler},
        {"output folder missing",
         [this] { frm_.file = U16(root_ / "no such folder" / "x.chm"); }, MessageId::kStepCopyBook},
        {"file in place of the work folder",
         [this] {
             fs::remove_all(Work());
             WriteBytes(Work(), "not a folder");
         },
         MessageId::kStepUseWorkFolder},
        {"program folder unknown", [this] { frm_.appPath.clear(); }, MessageId::kStepFindProgramFolder},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& entry : fs::directory_iterator(root_)) fs::remove_all(entry.path());
        frm_.list1.clear();
        opened_.clear();
        SetUp();
        AddSource("a.txt", "A");
        frm_.check1 = 1;
        WriteBytes(Output(), "the book of yesterday");
        c.arrange();
        const BuildOutcome outcome = Build();
        EXPECT_FALSE(outcome.produced);
        EXPECT_EQ(outcome.failedStep, c.step);
        EXPECT_TRUE(outcome.sourcesKept || outcome.pagesWritten == 0);  // said whenever pages were written
        EXPECT_NE(outcome.Message().find(outcome.file), std::u16string::npos);
        EXPECT_EQ(ReadBytes(sources_ / "a.txt"), "A");
        EXPECT_TRUE(opened_.empty());
        if (fs::exists(Output())) {
            EXPECT_EQ(ReadBytes(Output()), "the book of yesterday");
        }
        if (fs::is_directory(Work())) {
            EXPECT_TRUE(FilesIn(Work()).empty());
        }
    }
}

TEST_F(MakeChmTest, RefusesSourcesThatLieInTheWorkFolder) {
    WriteBytes(Work() / "mine.txt", "precious");
    frm_.list1.push_back(U16(Work() / "mine.txt"));
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepUseSourceFile);
    EXPECT_EQ(ReadBytes(Work() / "mine.txt"), "precious");
}

TEST_F(MakeChmTest, UnreadableSourcesAndBlockedPagesAreSkippedAndTheSourcesKept) {
    fs::create_directory(Work() / "2.htm");  // survives the clearing and blocks that page
    AddSource("a.txt", "first");
    frm_.list1.push_back(U16(sources_ / "vanished.txt"));
    AddSource("c.txt", "blocked");
    AddSource("d.txt", "last");
    frm_.check1 = 1;
    SetCompilerMode(app_, "ok snapshot");

    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepReadSource);
    EXPECT_EQ(outcome.file, U16(sources_ / "vanished.txt"));
    EXPECT_EQ(outcome.pagesWritten, 4u);
    EXPECT_TRUE(outcome.sourcesKept);
    EXPECT_NE(ReadBytes(Seen("index.htm")).find("<a href='1.htm'>vanished</a></p><p class='bewrite'>&nbsp;&nbsp;&nbsp;&nbsp;</p>"),
              std::string::npos);
    EXPECT_NE(ReadBytes(Seen("1.htm")).find("</h1></p><p>&nbsp;</p>\r\n<table"), std::string::npos);
    EXPECT_FALSE(fs::exists(Seen("2.htm")));
    EXPECT_NE(ReadBytes(Seen("3.htm")).find("<p>last</P>"), std::string::npos);
    EXPECT_EQ(FilesIn(sources_).size(), 3u);
    EXPECT_TRUE(fs::is_directory(Work() / "2.htm"));
    EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(MakeChmTest, WaitsForASlowCompilerAndReplacesTheOldBook) {
    AddSource("a.txt", "A");
    WriteBytes(Output(), "the book of yesterday");
    SetCompilerMode(app_, "sleep 1000");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Build().produced);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(FakeBookMark(Output()), ExpectedBook());
    EXPECT_EQ(ReadBytes(app_ / "hhc-args.txt"), "1\n" + (Work() / "Temp.hhp").string() + "\n");
}

TEST_F(MakeChmTest, SourceThatCannotBeDeletedDoesNotStopTheOthers) {
    AddSource("a.txt", "A");
    AddSource("b.txt", "B");
    frm_.check1 = 1;
    // Once the book stands at its place, the next stage deletes the sources.
    options_.progress = [&](std::u16string_view, std::size_t) {
        if (fs::exists(Output())) fs::remove(sources_ / "a.txt");
    };
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepDeleteSource);
    EXPECT_EQ(outcome.file, U16(sources_ / "a.txt"));
    EXPECT_FALSE(fs::exists(sources_ / "b.txt"));
}

TEST_F(MakeChmTest, WorkFolderIsCreatedWhenMissingAndEmptiedButForItsSubfolders) {
    fs::remove_all(Work());
    AddSource("a.txt", "A");
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    ASSERT_TRUE(fs::is_directory(Work()));

    WriteBytes(Work() / "left over.htm", "old");
    WriteBytes(Work() / "sub" / "kept.txt", "kept");
    SetCompilerMode(app_, "ok snapshot");
    ASSERT_TRUE(Build().produced);
    EXPECT_FALSE(fs::exists(Seen("left over.htm")));
    EXPECT_TRUE(FilesIn(Work()).empty());
    EXPECT_EQ(ReadBytes(Work() / "sub" / "kept.txt"), "kept");
}

}  // namespace
}  // namespace chmbook::testing
