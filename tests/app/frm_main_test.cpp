// The main window's commands against a window without a toolkit: defaults,
// output path, folder and file list, the input checks, the busy state seen
// from inside the build, the failure message, the put-off close, and whole
// builds with the stand-in compiler.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/frm_main.h"
#include "batch/book_inputs.h"
#include "book_fixture.h"
#include "fake_view.h"
#include "platform/platform.h"

namespace chmbook::apptest {
namespace {

namespace fs = std::filesystem;
using testing::InstallStandInCompiler;
using testing::SetCompilerMode;
using test_support::ReadBytes;
using test_support::ScratchFolder;
using test_support::U16;
using test_support::WriteBytes;

constexpr char16_t kSep = platform::kPathSeparator;

// The controls of the busy state, cmdNext first, in the order they are disabled and enabled.
const std::vector<Control> kBusyOrder = {
    Control::cmdNext,     Control::txtTitleName, Control::txtTitleDemo, Control::txtFootDemo,
    Control::txtPaperTop, Control::txtPaperFoot, Control::Check1,       Control::Command1,
    Control::cmdRefresh,  Control::List1};

class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(app);
        fs::create_directories(source);
        frm.Form_Load();
    }

    BuildOptions Options() {
        BuildOptions options;
        options.openDocument = [this](const std::u16string& path) {
            opened.push_back(path);
            return desktopOpensBooks;
        };
        return options;
    }
    std::u16string OutputPath(const std::u16string& title) const {
        return U16(app) + kSep + u"Release" + kSep + title + u".chm";
    }
    void TypeTitle(const std::u16string& title) {
        view.texts[Control::txtTitleName] = title;
        frm.txtTitleName_Change();
    }
    void Browse(const std::u16string& folder) {
        view.folderAnswers.push_back(folder);
        frm.Command1_Click();
    }
    std::u16string Entry(const std::string& name) const { return U16(source / name); }
    bool AllEnabled() const {
        for (const Control control : kBusyOrder)
            if (!view.Enabled(control)) return false;
        return true;
    }

    ScratchFolder scratch{"chmbook app", test_support::ScratchUse::kPrograms};
    const fs::path app = scratch / "program folder";
    const fs::path source = scratch / "sources";
    FakeView view;
    std::vector<std::u16string> opened;
    bool desktopOpensBooks = true;
    frmMain frm{view, U16(app), Options()};
};

TEST_F(FrmMainTest, StartsWithTheDefaultTextsAndTheTestOutputPath) {
    EXPECT_EQ(view.Text(Control::txtAd), NoticeText());
    EXPECT_EQ(view.Text(Control::txtTitleDemo), StatementText());
    EXPECT_EQ(view.Text(Control::txtFootDemo), StatementTextInFourLines());
    EXPECT_EQ(view.Text(Control::txtPaperTop), u"");
    EXPECT_EQ(view.Text(Control::txtPaperFoot), StatementText());
    EXPECT_EQ(view.Text(Control::Text1), u"");
    EXPECT_EQ(view.Text(Control::txtFile), OutputPath(u"test"));
    EXPECT_FALSE(fs::exists(app / "Release")) << "made only when the title changes";
    EXPECT_EQ(frm.AppPath(), U16(app));
}

// A file named Release stays, and the path is still shown.
TEST_F(FrmMainTest, OutputPathFollowsEveryChangeOfTheTitleUnchanged) {
    WriteBytes(app / "Release", "mine");
    TypeTitle(u"t");
    EXPECT_EQ(view.Text(Control::txtFile), OutputPath(u"t"));
    EXPECT_EQ(ReadBytes(app / "Release"), "mine");
    fs::remove(app / "Release");
    for (const std::u16string title : {u"我", u"我的 Book", u"", u"   ", u"  a\\b/c:*?  "}) {
        TypeTitle(title);
        EXPECT_EQ(view.Text(Control::txtFile), OutputPath(title)) << platform::ToUtf8(title);
        EXPECT_TRUE(fs::is_directory(app / "Release"));
    }
}

TEST_F(FrmMainTest, BrowseAndRefreshListTheFolderAndACancelKeepsIt) {
    for (const char* name : {"b.txt", "A.TXT", "c.Txt", "_x.txt", "notes.md", "a.txt.bak", ".hidden.txt", "sub/d.txt"})
        WriteBytes(source / name, "x");
    fs::create_directories(source / "folder.txt");
    const std::vector<std::u16string> listed = {Entry("A.TXT"), Entry("b.txt"), Entry("c.Txt"), Entry("_x.txt")};

    Browse(U16(source));
    EXPECT_EQ(view.folderTitles, std::vector<std::u16string>{u"请选择一个文件夹"});
    EXPECT_EQ(view.Text(Control::Text1), U16(source));
    EXPECT_EQ(view.list, listed);
    frm.cmdRefresh_Click();
    EXPECT_EQ(view.list, listed) << "no entry twice";
    Browse(U16(source) + kSep);
    EXPECT_EQ(view.list, listed) << "no doubled separator, no entry twice";

    fs::remove(source / "b.txt");
    WriteBytes(source / "e.txt", "e");
    Browse(u"");  // cancelled
    EXPECT_EQ(view.Text(Control::Text1), U16(source) + kSep);
    EXPECT_EQ(view.list, listed);
    frm.cmdRefresh_Click();
    EXPECT_EQ(view.list, (std::vector<std::u16string>{Entry("A.TXT"), Entry("c.Txt"), Entry("e.txt"), Entry("_x.txt")}));

    fs::remove_all(source);
    frm.cmdRefresh_Click();
    EXPECT_TRUE(view.list.empty());
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(FrmMainTest, GenerateChecksTheTitleFirstThenTheList) {
    struct Case {
        std::u16string title;
        std::size_t entries;
        std::u16string text;
        Control focusAfter;
    };
    const Case cases[] = {
        {u"", 0, u"请输入该CHM文件的标题名称！", Control::txtTitleName},
        {u"", 1, u"请输入该CHM文件的标题名称！", Control::txtTitleName},
#ifdef _WIN32
        // Windows drops a file name's trailing blanks: such a title is refused.
        {u"   ", 1, u"标题不能以字符“U+0020”结尾：Windows 会从文件名中去掉它。请换一个标题。", Control::txtTitleName},
        {u"  a", 0, u"您当前尚没有至少一个有效的TXT文件进行生成！", Control::cmdNext},
#else
        {u"   ", 0, u"您当前尚没有至少一个有效的TXT文件进行生成！", Control::cmdNext},
#endif
        {u"a/b", 1, u"标题中不能含有字符“/”：它不能用在文件名中。请换一个标题。", Control::txtTitleName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.text));
        view.texts[Control::txtTitleName] = c.title;
        view.list.assign(c.entries, Entry("a.txt"));
        view.messages.clear();
        view.log.clear();
        view.focus = Control::cmdNext;
        frm.cmdNext_Click();
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_EQ(view.messages[0].icon, MessageIcon::kInformation);
        EXPECT_EQ(view.messages[0].caption, u"条件不足");
        EXPECT_EQ(view.messages[0].text, c.text);
        EXPECT_EQ(view.focus, c.focusAfter);
        EXPECT_TRUE(view.log.empty()) << "no busy state: " << view.log.front();
    }
    EXPECT_FALSE(fs::exists(app / "Temp")) << "no build started";
}

// What the window showed whenever the build let events through.
struct Moment {
    bool busy;
    bool anyEnabled;
    std::u16string caption;
    bool busyPointer;
};

TEST_F(FrmMainTest, GenerateBuildsTheBookInTheBusyStateAndReturnsToIdle) {
    InstallStandInCompiler(app);
    WriteBytes(source / "one.txt", "first text");
    WriteBytes(source / "two.txt", "\xD6\xD0\xCE\xC4");  // "中文" in code page 936
    TypeTitle(u"书 one");
    Browse(U16(source));
    view.focus = Control::cmdNext;
    view.log.clear();
    std::vector<Moment> moments;
    view.onDoEvents = [&] {
        bool anyEnabled = false;
        for (const Control control : kBusyOrder) anyEnabled |= view.Enabled(control);
        moments.push_back({frm.IsBusy(), anyEnabled, view.nextCaption, view.busyPointer});
    };
    frm.cmdNext_Click();

    std::vector<std::string> expected;
    for (const Control control : kBusyOrder) expected.push_back("-" + FakeView::Name(control));
    expected.insert(expected.begin() + 1, "caption");
    expected.insert(expected.end(), {"events", "pointer busy", "events", "pointer default"});
    for (const Control control : kBusyOrder) expected.push_back("+" + FakeView::Name(control));
    expected.insert(expected.end() - 9, "caption");
    EXPECT_EQ(view.log, expected);
    ASSERT_EQ(moments.size(), 2u);
    for (const Moment& moment : moments) {
        EXPECT_TRUE(moment.busy);
        EXPECT_FALSE(moment.anyEnabled);
        EXPECT_EQ(moment.caption, u"正在生成\r\n请您稍候");
    }
    EXPECT_FALSE(moments[0].busyPointer);
    EXPECT_TRUE(moments[1].busyPointer);

    const fs::path book = app / "Release" / u"书 one.chm";
    EXPECT_EQ(testing::FakeBookMark(book).rfind("FAKE-CHM ", 0), 0u);
    EXPECT_EQ(opened, std::vector<std::u16string>{U16(book)});
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(fs::is_empty(app / "Temp"));
    EXPECT_TRUE(AllEnabled());
    EXPECT_FALSE(frm.IsBusy());
    EXPECT_EQ(view.nextCaption, u"立即生成(&O)");
    EXPECT_EQ(view.focus, Control::cmdNext) << "the focus comes back";
    EXPECT_TRUE(fs::exists(source / "one.txt")) << "delete option not ticked";

    // Deleting the sources; without a program for the book the user would
    // otherwise see nothing at all, so its path is shown.
    view.check = 1;
    desktopOpensBooks = false;
    frm.cmdNext_Click();
    EXPECT_EQ(opened.size(), 2u);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].icon, MessageIcon::kInformation);
    EXPECT_NE(view.messages[0].text.find(U16(book)), std::u16string::npos);
    EXPECT_FALSE(fs::exists(source / "one.txt"));
    EXPECT_FALSE(fs::exists(source / "two.txt"));
    EXPECT_EQ(view.list.size(), 2u) << "the list is not refreshed after a build";
    EXPECT_TRUE(AllEnabled());
}

TEST_F(FrmMainTest, ABuildWithoutABookIsReportedOnceAndKeepsTheSources) {
    struct Case {
        const char* name;
        bool installCompiler;
        std::u16string named;  // the message names this
    };
    const Case cases[] = {
        {"no compiler", false, U16(app / "hhc")},
        {"compiler fails", true, u"Temp.chm"},
    };
    WriteBytes(source / "one.txt", "text");
    TypeTitle(u"b");
    Browse(U16(source));
    view.check = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.installCompiler) {
            InstallStandInCompiler(app);
            SetCompilerMode(app, "fail");
        }
        view.messages.clear();
        frm.cmdNext_Click();
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_EQ(view.messages[0].icon, MessageIcon::kWarning);
        EXPECT_EQ(view.messages[0].caption, u"生成失败");
        EXPECT_NE(view.messages[0].text.find(c.named), std::u16string::npos) << platform::ToUtf8(view.messages[0].text);
        EXPECT_FALSE(fs::exists(app / "Release" / "b.chm"));
        EXPECT_TRUE(opened.empty());
        EXPECT_TRUE(fs::exists(source / "one.txt"));
        EXPECT_TRUE(AllEnabled());
        EXPECT_FALSE(view.busyPointer);
        EXPECT_EQ(view.nextCaption, u"立即生成(&O)");
    }
}

TEST_F(FrmMainTest, ACloseDuringABuildIsCarriedOutAfterIt) {
    InstallStandInCompiler(app);
    WriteBytes(source / "one.txt", "text");
    TypeTitle(u"b");
    Browse(U16(source));
    std::vector<bool> answers;
    view.onDoEvents = [&] { answers.push_back(frm.Form_QueryUnload()); };
    view.log.clear();
    frm.cmdNext_Click();
    EXPECT_EQ(answers, (std::vector<bool>{false, false})) << "no close while the build runs";
    EXPECT_TRUE(fs::exists(app / "Release" / "b.chm")) << "the build ran to its end";
    ASSERT_FALSE(view.log.empty());
    EXPECT_EQ(view.log.back(), "close") << "closed after the window returned to idle";
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "close"), 1);

    view.log.clear();
    view.onDoEvents = nullptr;
    EXPECT_TRUE(frm.Form_QueryUnload()) << "idle: the window closes at once";
    frm.cmdNext_Click();
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "close"), 0) << "a close once carried out is forgotten";
}

}  // namespace
}  // namespace chmbook::apptest
