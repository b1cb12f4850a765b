// The batch build end to end, with the stand-in compiler.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "book_fixture.h"
#include "batch/make_chm.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

// 中文 and 中国 in code page 936.
const std::string kZhongWen = "\xD6\xD0\xCE\xC4";
const std::string kZhongGuo = "\xD6\xD0\xB9\xFA";

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
    EXPECT_EQ(outcome.Message(), u"");
    EXPECT_EQ(outcome.pagesWritten, 3u);

    const std::string title = kZhongWen + " Notes";
    const std::string head =
        "<HTML>\r\n"
        "<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n";
    const std::string tableStart = "<table border='0' width='100%' cellspacing='0' cellpadding='0'>";
    EXPECT_EQ(ReadBytes(Seen("index.htm")),
              head + "<TITLE>" + title + "</TITLE>\r\n" +
                  "p{color:red}\r\n"
                  "</HEAD>\r\n"
                  "<BODY>\r\n"
                  "<p class='ad'><font color='#FF0000'>AD</font></p><p>&nbsp;</p><p><h1>" + title +
                  "</h1></p><p>&nbsp;</p>\r\n" + tableStart + "\r\n" +
                  "<tr>\r\n"
                  "<td width='100%' class='TitleDemo'>TD</td>\r\n"
                  "</tr>\r\n"
                  "</table><p>&nbsp;</p>\r\n" +
                  tableStart + "<tr>\r\n" +
                  "<td width='100%' height='40'><p>000. <a href='0.htm'>alpha</a></p><p class='bewrite'>"
                  "&nbsp;&nbsp;&nbsp;&nbsp;Hello &lt;b&gt;world&lt;/b&gt; &amp; &quot;you&quot;\r\nsecond line\r\n"
                  "</p></td>\r\n"
                  "</tr>\r\n"
                  "<tr><td width='100%' height='30'></td></tr>\r\n"
                  "<tr>\r\n"
                  "<td width='100%' height='40'><p>001. <a href='1.htm'>beta</a></p><p class='bewrite'>"
                  "&nbsp;&nbsp;&nbsp;&nbsp;" + kZhongWen + "\r\n"
                  "</p></td>\r\n"
                  "</tr>\r\n"
                  "<tr><td width='100%' height='30'></td></tr>\r\n"
                  "</table>\r\n" + tableStart + "\r\n" +
                  "<tr>\r\n"
                  "<td width='100%' height='100' class='FootDemo'>FD</td>\r\n"
                  "</tr>\r\n"
                  "</table>\r\n"
                  "</body>\r\n"
                  "</html>\r\n");

    const std::string contentFoot = tableStart + "\r\n" +
                                    "<tr>\r\n"
                                    "<td width='100%' height='100' class='FootDemo'>PF</td>\r\n"
                                    "</tr>\r\n"
                                    "</table>\r\n"
                                    "</body>\r\n"
                                    "</html>\r\n";
    EXPECT_EQ(ReadBytes(Seen("0.htm")),
              head + "<TITLE>alpha</TITLE>\r\n" +
                  "p{color:red}\r\n"
                  "</HEAD>\r\n"
                  "<BODY>\r\n"
                  "<p class='ad'><font color='#FF0000'>AD</font></p><p>&nbsp;</p><p><h1>alpha"
                  "</h1></p><p>&nbsp;</p>\r\n"
                  "<p>Hello &lt;b&gt;world&lt;/b&gt; &amp; &quot;you&quot;</P>\r\n"
                  "<p>second line</P>\r\n" + contentFoot);
    const std::string beta = ReadBytes(Seen("1.htm"));
    EXPECT_NE(beta.find("<TITLE>beta</TITLE>\r\n"), std::string::npos);
    EXPECT_NE(beta.find("</h1></p><p>&nbsp;</p>\r\n<p>" + kZhongWen + "</P>\r\n" + tableStart),
              std::string::npos);

    EXPECT_EQ(ReadBytes(Seen("Temp.hhc")),
              "<html><head></head><body>\r\n"
              "<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" value=\"0x227\"></OBJECT>\r\n"
              "<UL></UL></body></html>");
    EXPECT_EQ(ReadBytes(Seen("Temp.hhk")), "<HTML><HEAD>\r\n</HEAD><BODY><UL>\r\n</UL></BODY></HTML>\r\n");
    EXPECT_EQ(ReadBytes(Seen("Temp.hhp")),
              "[OPTIONS]\r\n"
              "Compatibility=1.1 Or later\r\n"
              "Default Window=Main\r\n"
              "Default topic=index.htm\r\n"
              "Default font=Tahoma,8,1\r\n"
              "Contents file=Temp.hhc\r\n"
              "Index file=Temp.hhk\r\n"
              "Display compile progress=Yes\r\n"
              "Full-text search=Yes\r\n"
              "Language=0x804 " + kZhongWen + "(" + kZhongGuo + ")\r\n"
              "\r\n"
              "[WINDOWS]\r\n"
              "Main=\"" + title + "\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\","
              ",,,,0x20,180,0x10387C,[80,60,720,540],0x0,0x0,,1,,,0\r\n"
              "\r\n"
              "[FILES]\r\n"
              "index.htm");

    EXPECT_EQ(FakeBookMark(Output()), ExpectedBook());
    EXPECT_TRUE(FilesIn(Work()).empty());
    EXPECT_EQ(opened_, std::vector<std::u16string>{frm_.file});
}

TEST_F(MakeChmTest, NumbersPagesPastTenAndPastAThousand) {
    WriteBytes(sources_ / "page.txt", "x");
    for (int i = 0; i < 1001; ++i) frm_.list1.push_back(U16(sources_ / "page.txt"));
    SetCompilerMode(app_, "ok snapshot");

    const BuildOutcome outcome = Build();
    ASSERT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_EQ(outcome.pagesWritten, 1002u);
    const std::string index = ReadBytes(Seen("index.htm"));
    EXPECT_NE(index.find("<p>000. <a href='0.htm'>page</a>"), std::string::npos);
    EXPECT_NE(index.find("<p>009. <a href='9.htm'>page</a>"), std::string::npos);
    EXPECT_NE(index.find("<p>010. <a href='10.htm'>page</a>"), std::string::npos);
    EXPECT_NE(index.find("<p>999. <a href='999.htm'>page</a>"), std::string::npos);
    EXPECT_NE(index.find("<p>1000. <a href='1000.htm'>page</a>"), std::string::npos);
    EXPECT_EQ(index.find("1001.htm"), std::string::npos);
    for (const char* name : {"0.htm", "10.htm", "999.htm", "1000.htm"})
        EXPECT_NE(ReadBytes(Seen(name)).find("<TITLE>page</TITLE>"), std::string::npos) << name;
    EXPECT_FALSE(fs::exists(Seen("1001.htm")));
}

TEST_F(MakeChmTest, BuildsMoreThan32767Pages) {
    WriteBytes(sources_ / "p.txt", "");
    frm_.list1.assign(32769, U16(sources_ / "p.txt"));
    SetCompilerMode(app_, "ok");
    const BuildOutcome outcome = Build();
    ASSERT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_EQ(outcome.pagesWritten, 32770u);
    EXPECT_TRUE(FilesIn(Work()).empty());
}

TEST_F(MakeChmTest, ExcerptIsTheEscapedStartOfTheText) {
    // 300 Chinese characters with markup near the start: the excerpt is the
    // first 200 characters, escaped, and the rest of the list survives.
    std::string text = "<script>alert(1)</script><b";
    for (int i = 0; i < 300; ++i) text += kZhongWen.substr(0, 2);
    AddSource("a.txt", text);
    AddSource("b.txt", "short & sweet");
    SetCompilerMode(app_, "ok snapshot");
    ASSERT_TRUE(Build().produced);

    std::string excerpt = "&lt;script&gt;alert(1)&lt;/script&gt;&lt;b";
    for (int i = 0; i < 200 - 27; ++i) excerpt += kZhongWen.substr(0, 2);
    const std::string index = ReadBytes(Seen("index.htm"));
    EXPECT_NE(index.find("&nbsp;&nbsp;&nbsp;&nbsp;" + excerpt + "</p></td>\r\n"), std::string::npos);
    EXPECT_EQ(index.find("<script>"), std::string::npos);
    EXPECT_NE(index.find("<a href='1.htm'>b</a></p><p class='bewrite'>&nbsp;&nbsp;&nbsp;&nbsp;short &amp; sweet</p>"),
              std::string::npos);
}

TEST_F(MakeChmTest, UnreadableSourceGivesAnEmptyPageAndTheBuildGoesOn) {
    AddSource("a.txt", "first");
    frm_.list1.push_back(U16(sources_ / "vanished.txt"));
    fs::create_directory(sources_ / "folder.txt");
    frm_.list1.push_back(U16(sources_ / "folder.txt"));
    AddSource("d.txt", "last");
    frm_.check1 = 1;
    SetCompilerMode(app_, "ok snapshot");

    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.produced);
    EXPECT_EQ(outcome.pagesWritten, 5u);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepReadSource);
    EXPECT_EQ(outcome.file, U16(sources_ / "vanished.txt"));
    EXPECT_TRUE(outcome.sourcesKept);
    EXPECT_NE(outcome.Message().find(u"The book was made, but"), std::u16string::npos);
    EXPECT_NE(outcome.Message().find(u"The source files were not deleted."), std::u16string::npos);

    const std::string index = ReadBytes(Seen("index.htm"));
    EXPECT_NE(index.find("<a href='1.htm'>vanished</a></p><p class='bewrite'>&nbsp;&nbsp;&nbsp;&nbsp;</p>"),
              std::string::npos);
    const std::string empty = ReadBytes(Seen("1.htm"));
    EXPECT_NE(empty.find("</h1></p><p>&nbsp;</p>\r\n<table"), std::string::npos);
    EXPECT_EQ(empty.find("<p>first"), std::string::npos);
    EXPECT_NE(ReadBytes(Seen("3.htm")).find("<p>last</P>"), std::string::npos);
    // A build that lost a page's text never deletes the sources.
    EXPECT_TRUE(fs::exists(sources_ / "a.txt"));
    EXPECT_TRUE(fs::exists(sources_ / "d.txt"));
    EXPECT_EQ(opened_.size(), 1u);
}

TEST_F(MakeChmTest, UncreatablePagesAreSkippedAndTheOthersWritten) {
    // Folders in the work folder survive its clearing and block the pages' names.
    fs::create_directory(Work() / "index.htm");
    fs::create_directory(Work() / "1.htm");
    AddSource("a.txt", "A");
    AddSource("b.txt", "B");
    AddSource("c.txt", "C");
    frm_.check1 = 1;
    SetCompilerMode(app_, "ok snapshot");

    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepWritePage);
    EXPECT_EQ(outcome.file, U16(Work() / "index.htm"));
    EXPECT_EQ(outcome.pagesWritten, 2u);
    EXPECT_NE(ReadBytes(Seen("0.htm")).find("<p>A</P>"), std::string::npos);
    EXPECT_FALSE(fs::exists(Seen("1.htm")));
    EXPECT_NE(ReadBytes(Seen("2.htm")).find("<p>C</P>"), std::string::npos);
    EXPECT_TRUE(fs::exists(Seen("Temp.hhp")));
    EXPECT_TRUE(outcome.sourcesKept);
    EXPECT_EQ(FilesIn(sources_).size(), 3u);
    EXPECT_TRUE(fs::is_directory(Work() / "1.htm"));
    EXPECT_TRUE(FilesIn(Work()).empty());
}

TEST_F(MakeChmTest, MissingCompilerIsReportedAndNothingIsDeleted) {
    fs::remove(app_ / "hhc");
    AddSource("a.txt", "A");
    frm_.check1 = 1;
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepFindCompiler);
    EXPECT_EQ(outcome.file, U16(app_ / "hhc"));
    const std::u16string message = outcome.Message();
    EXPECT_NE(message.find(u"The book was not made: could not find the help compiler \"" + U16(app_ / "hhc") + u"\"."),
              std::u16string::npos);
    EXPECT_NE(message.find(u"Put the compiler hhc into the program's folder."), std::u16string::npos);
    EXPECT_NE(message.find(u"The source files were not deleted."), std::u16string::npos);
    EXPECT_TRUE(fs::exists(sources_ / "a.txt"));
    EXPECT_FALSE(fs::exists(Output()));
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(FilesIn(Work()).empty());
}

TEST_F(MakeChmTest, CompilerThatCannotBeStartedIsReported) {
    WriteBytes(app_ / "hhc", "not a program");
    fs::permissions(app_ / "hhc", fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    AddSource("a.txt", "A");
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepStartCompiler);
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_FALSE(fs::exists(Output()));
}

TEST_F(MakeChmTest, FailingCompilerIsReportedWithItsOutput) {
    AddSource("a.txt", "A");
    frm_.check1 = 1;
    SetCompilerMode(app_, "fail");
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepFindCompiledBook);
    EXPECT_EQ(outcome.file, U16(Work() / "Temp.chm"));
    const std::u16string message = outcome.Message();
    EXPECT_NE(message.find(u"exit code 3"), std::u16string::npos) << platform::ToUtf8(message);
    EXPECT_NE(message.find(u"error: the stand-in compiler was told to fail"), std::u16string::npos);
    EXPECT_TRUE(outcome.sourcesKept);
    EXPECT_TRUE(fs::exists(sources_ / "a.txt"));
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(FilesIn(Work()).empty());
}

TEST_F(MakeChmTest, CompilerThatWritesNothingLeavesNoBook) {
    AddSource("a.txt", "A");
    WriteBytes(Work() / "Temp.chm", "a book of an earlier run");
    SetCompilerMode(app_, "silent");
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepFindCompiledBook);
    EXPECT_NE(outcome.Message().find(u"It wrote no output."), std::u16string::npos);
    EXPECT_FALSE(fs::exists(Output()));
}

TEST_F(MakeChmTest, CrashingCompilerLeavesNoBook) {
    AddSource("a.txt", "A");
    SetCompilerMode(app_, "crash");
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepRunCompiler);
    EXPECT_FALSE(fs::exists(Output()));
    EXPECT_TRUE(FilesIn(Work()).empty());
}

TEST_F(MakeChmTest, WaitsForASlowCompiler) {
    AddSource("a.txt", "A");
    SetCompilerMode(app_, "sleep 1500");
    const auto start = std::chrono::steady_clock::now();
    const BuildOutcome outcome = Build();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_TRUE(outcome.produced);
    EXPECT_EQ(FakeBookMark(Output()), ExpectedBook());
}

TEST_F(MakeChmTest, CompilerGetsTheProjectAsItsOneArgument) {
    AddSource("a.txt", "A");
    ASSERT_TRUE(Build().produced);
    EXPECT_EQ(ReadBytes(app_ / "hhc-args.txt"), "1\n" + (Work() / "Temp.hhp").string() + "\n");
}

TEST_F(MakeChmTest, StaleBookAtTheOutputPathIsNeitherOpenedNorCounted) {
    AddSource("a.txt", "A");
    WriteBytes(Output(), "the book of yesterday");
    SetCompilerMode(app_, "fail");
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(ReadBytes(Output()), "the book of yesterday");
}

TEST_F(MakeChmTest, ReplacesTheBookOfAnEarlierBuild) {
    AddSource("a.txt", "A");
    WriteBytes(Output(), "the book of yesterday");
    ASSERT_TRUE(Build().produced);
    EXPECT_EQ(FakeBookMark(Output()), ExpectedBook());
}

TEST_F(MakeChmTest, OutputFolderThatIsMissingFailsTheCopy) {
    AddSource("a.txt", "A");
    frm_.file = U16(root_ / "no such folder" / "x.chm");
    frm_.check1 = 1;
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepCopyBook);
    EXPECT_EQ(outcome.file, frm_.file);
    EXPECT_TRUE(fs::exists(sources_ / "a.txt"));
    EXPECT_TRUE(opened_.empty());
    EXPECT_TRUE(FilesIn(Work()).empty());
}

TEST_F(MakeChmTest, DeletesTheSourcesOnlyWhenAskedAndTheBookIsMade) {
    AddSource("a.txt", "A");
    AddSource("b.txt", "B");
    frm_.check1 = 0;
    ASSERT_TRUE(Build().produced);
    EXPECT_EQ(FilesIn(sources_).size(), 2u);

    frm_.check1 = 1;
    const BuildOutcome outcome = Build();
    ASSERT_TRUE(outcome.produced);
    EXPECT_FALSE(outcome.Failed());
    EXPECT_FALSE(outcome.sourcesKept);
    EXPECT_TRUE(FilesIn(sources_).empty());
}

TEST_F(MakeChmTest, SourceThatCannotBeDeletedDoesNotStopTheOthers) {
    AddSource("a.txt", "A");
    AddSource("b.txt", "B");
    frm_.check1 = 1;
    options_.progress = [&](std::u16string_view stage, std::size_t) {
        if (stage == u"Deleting the source files") fs::remove(sources_ / "a.txt");
    };
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepDeleteSource);
    EXPECT_EQ(outcome.file, U16(sources_ / "a.txt"));
    EXPECT_FALSE(fs::exists(sources_ / "b.txt"));
}

TEST_F(MakeChmTest, EmptiesTheWorkFolderButKeepsItsSubfolders) {
    WriteBytes(Work() / "left over.htm", "old");
    WriteBytes(Work() / "Temp.log", "old");
    fs::create_directories(Work() / "sub");
    WriteBytes(Work() / "sub" / "kept.txt", "kept");
    AddSource("a.txt", "A");
    SetCompilerMode(app_, "ok snapshot");
    ASSERT_TRUE(Build().produced);
    EXPECT_FALSE(fs::exists(Seen("left over.htm")));
    EXPECT_TRUE(FilesIn(Work()).empty());
    EXPECT_EQ(ReadBytes(Work() / "sub" / "kept.txt"), "kept");
}

TEST_F(MakeChmTest, MissingWorkFolderIsCreatedAndTheBuildGoesOn) {
    fs::remove_all(Work());
    AddSource("a.txt", "A");
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_TRUE(fs::is_directory(Work()));
}

TEST_F(MakeChmTest, FileInPlaceOfTheWorkFolderStopsTheBuildAtOnce) {
    fs::remove_all(Work());
    WriteBytes(Work(), "not a folder");
    AddSource("a.txt", "A");
    frm_.check1 = 1;
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepUseWorkFolder);
    EXPECT_EQ(ReadBytes(Work()), "not a folder");
    EXPECT_TRUE(fs::exists(sources_ / "a.txt"));
    EXPECT_TRUE(frm_.pointerHistory.empty());
}

TEST_F(MakeChmTest, UnknownProgramFolderStopsTheBuildAtOnce) {
    AddSource("a.txt", "A");
    frm_.appPath.clear();
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepFindProgramFolder);
    EXPECT_EQ(outcome.pagesWritten, 0u);
}

TEST_F(MakeChmTest, RefusesSourcesThatLieInTheWorkFolder) {
    WriteBytes(Work() / "mine.txt", "precious");
    frm_.list1.push_back(U16(Work() / "mine.txt"));
    const BuildOutcome outcome = Build();
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepUseSourceFile);
    EXPECT_EQ(ReadBytes(Work() / "mine.txt"), "precious");
}

TEST_F(MakeChmTest, OpensTheBookOnlyWhenAsked) {
    AddSource("a.txt", "A");
    options_.openBook = false;
    ASSERT_TRUE(Build().produced);
    EXPECT_TRUE(opened_.empty());
    options_.openBook = true;
    ASSERT_TRUE(Build().produced);
    EXPECT_EQ(opened_, std::vector<std::u16string>{frm_.file});
}

TEST_F(MakeChmTest, ShowsTheBusyPointerDuringTheBuildAndReportsEachStage) {
    AddSource("a.txt", "A");
    AddSource("b.txt", "B");
    frm_.check1 = 1;
    ASSERT_TRUE(Build().produced);
    EXPECT_EQ(frm_.pointerHistory, (std::vector<int>{WindowState::kBusyPointer, WindowState::kDefaultPointer}));
    EXPECT_EQ(frm_.doEventsCalls, 1);
    std::vector<std::pair<std::u16string, std::size_t>> expected = {
        {u"Preparing the work folder", 0},   {u"Writing the list page", 0},
        {u"Writing the content pages", 1},   {u"Writing the content pages", 2},
        {u"Writing the content pages", 3},   {u"Writing the project files", 3},
        {u"Running the help compiler", 3},   {u"Copying the book to its place", 3},
        {u"Deleting the source files", 3},   {u"Opening the book", 3}};
    EXPECT_EQ(stages_, expected);
}

TEST_F(MakeChmTest, UsesTheTitleExactlyAsTyped) {
    frm_.titleName = u"  a \"quoted\", title  ";
    AddSource("a.txt", "A");
    SetCompilerMode(app_, "ok snapshot");
    ASSERT_TRUE(Build().produced);
    EXPECT_NE(ReadBytes(Seen("index.htm")).find("<TITLE>  a \"quoted\", title  </TITLE>"), std::string::npos);
    EXPECT_NE(ReadBytes(Seen("Temp.hhp")).find("Main=\"  a \"quoted\", title  \",\"Temp.hhc\""), std::string::npos);
}

}  // namespace
}  // namespace chmbook::testing
