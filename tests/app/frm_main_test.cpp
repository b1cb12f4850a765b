// The main window's commands, tested once here against a window without a
// toolkit: the starting texts, the output path, the file list, the input
// checks, the busy state seen from inside the build, the failure message and
// the put-off close, with the stand-in compiler. The Qt and the native window
// test only what is their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

#include "app/frm_main.h"
#include "batch/book_inputs.h"
#include "book_fixture.h"
#include "platform/platform.h"

namespace chmbook {
namespace {

namespace fs = std::filesystem;
using testing::InstallStandInCompiler;
using test_support::ReadBytes;
using test_support::ScratchFolder;
using test_support::U16;
using test_support::WriteBytes;
using enum Control;

using Messages = std::vector<std::tuple<MessageIcon, std::u16string, std::u16string>>;  // icon, caption, text

// Controls as plain values, the folder dialog answered by the test, message
// boxes recorded, and the event processing and the close written to a log.
class FakeView : public WindowView {
public:
    std::map<Control, std::u16string> texts;
    int check = 0;
    std::vector<std::u16string> list;
    std::set<Control> disabled;
    std::u16string nextCaption;
    std::optional<Control> focus = txtTitleName;
    bool busyPointer = false;
    std::u16string folderAnswer;  // "" cancels
    Messages messages;
    std::vector<std::string> log;      // "events" and "close", in turn
    std::function<void()> onDoEvents;  // runs inside every DoEvents

    std::u16string Text(Control box) const override { return texts.count(box) ? texts.at(box) : u""; }
    void SetText(Control box, const std::u16string& text) override { texts[box] = text; }
    int CheckValue() const override { return check; }
    std::size_t ListCount() const override { return list.size(); }
    std::u16string ListItem(std::size_t index) const override { return list.at(index); }
    void ClearList() override { list.clear(); }
    void AddListItem(const std::u16string& entry) override { list.push_back(entry); }
    void SetEnabled(Control control, bool enabled) override {
        enabled ? (void)disabled.erase(control) : (void)disabled.insert(control);
        if (!enabled && focus == control) focus.reset();  // as a real window moves the focus away
    }
    void SetNextCaption(const std::u16string& caption) override { nextCaption = caption; }
    std::optional<Control> FocusedControl() const override { return focus; }
    void SetFocus(Control control) override { focus = control; }
    std::u16string ChooseFolder(const std::u16string&) override { return folderAnswer; }
    void ShowMessage(MessageIcon icon, const std::u16string& caption, const std::u16string& text) override {
        messages.emplace_back(icon, caption, text);
    }
    void SetBusyPointer(bool busy) override { busyPointer = busy; }
    void DoEvents() override {
        log.push_back("events");
        if (onDoEvents) onDoEvents();
    }
    void SetCaption(const std::u16string&) override {}
    void Close() override { log.push_back("close"); }
};

// Every control the busy state disables: all that could start a second build or change an input.
const Control kBusyControls[] = {cmdNext,      txtTitleName, txtTitleDemo, txtFootDemo, txtPaperTop,
                                 txtPaperFoot, Check1,       Command1,     cmdRefresh,  List1};

class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(app);
        fs::create_directories(source);
        frm.Form_Load();
    }
    std::u16string OutputPath(const std::u16string& title) const { return U16(app / "Release" / (title + u".chm")); }
    void TypeTitle(const std::u16string& title) {
        view.texts[txtTitleName] = title;
        frm.txtTitleName_Change();
    }
    void Browse(const std::u16string& folder) {
        view.folderAnswer = folder;
        frm.Command1_Click();
    }
    // A title, one source listed and, unless told otherwise, the compiler in place.
    void ReadyToBuild(bool compiler = true) {
        if (compiler) InstallStandInCompiler(app);
        WriteBytes(source / "one.txt", "first text");
        TypeTitle(u"b");
        Browse(U16(source));
    }
    std::u16string Entry(const std::string& name) const { return U16(source / name); }
    // The window back at rest: every control enabled, the idle caption, the default pointer.
    void ExpectIdle() const {
        EXPECT_TRUE(view.disabled.empty());
        EXPECT_FALSE(frm.IsBusy());
        EXPECT_EQ(view.nextCaption, u"立即生成(&O)");
        EXPECT_FALSE(view.busyPointer);
    }

    ScratchFolder scratch{"chmbook app", test_support::ScratchUse::kPrograms};
    const fs::path app = scratch / "program folder";
    const fs::path source = scratch / "sources";
    FakeView view;
    std::vector<std::u16string> opened;
    bool desktopOpensBooks = true;
    frmMain frm{view, U16(app), {.openBook = true, .progress = {}, .openDocument = [this](const std::u16string& path) {
                                     opened.push_back(path);
                                     return desktopOpensBooks;
                                 }}};
};

TEST_F(FrmMainTest, StartsWithTheDefaultTextsAndThePathFollowsTheTitle) {
    EXPECT_EQ(view.Text(txtAd), NoticeText());
    EXPECT_EQ(view.Text(txtTitleDemo), StatementText());
    EXPECT_EQ(view.Text(txtFootDemo), StatementTextInFourLines());
    EXPECT_EQ(view.Text(txtPaperFoot), StatementText());
    EXPECT_EQ(view.Text(txtFile), OutputPath(u"test"));
    EXPECT_FALSE(fs::exists(app / "Release")) << "made only when the title changes";
    WriteBytes(app / "Release", "mine");
    TypeTitle(u"我的 Book");
    EXPECT_EQ(view.Text(txtFile), OutputPath(u"我的 Book")) << "shown though the folder cannot be made";
    EXPECT_EQ(ReadBytes(app / "Release"), "mine");
    fs::remove(app / "Release");
    TypeTitle(u"t");
    EXPECT_TRUE(fs::is_directory(app / "Release"));
}

TEST_F(FrmMainTest, BrowseAndRefreshListTheFolderAndACancelKeepsIt) {
    for (const char* name : {"b.txt", "A.TXT", "_x.txt", "notes.md", "a.txt.bak", ".hidden.txt", "sub/d.txt"})
        WriteBytes(source / name, "x");
    fs::create_directories(source / "folder.txt");
    const std::vector<std::u16string> listed = {Entry("A.TXT"), Entry("b.txt"), Entry("_x.txt")};
    Browse(U16(source));
    Browse(U16(source) + platform::kPathSeparator);
    EXPECT_EQ(view.list, listed) << "no doubled separator, no entry twice";
    fs::remove(source / "b.txt");
    WriteBytes(source / "e.txt", "e");
    Browse(u"");  // cancelled
    EXPECT_EQ(view.list, listed);
    EXPECT_EQ(view.Text(Text1), U16(source) + platform::kPathSeparator);
    frm.cmdRefresh_Click();
    EXPECT_EQ(view.list, (std::vector<std::u16string>{Entry("A.TXT"), Entry("e.txt"), Entry("_x.txt")}));
    fs::remove_all(source);
    frm.cmdRefresh_Click();
    EXPECT_TRUE(view.list.empty());
    EXPECT_TRUE(view.messages.empty());
}

// The title first (empty, then one that cannot name a file), then the list;
// nothing is disabled and no build starts.
TEST_F(FrmMainTest, GenerateChecksTheTitleFirstThenTheList) {
    const struct {
        std::u16string title;
        std::size_t entries;
        std::u16string text;
        Control focusAfter;
    } cases[] = {
        {u"", 0, u"请输入该CHM文件的标题名称！", txtTitleName},
        {u"", 1, u"请输入该CHM文件的标题名称！", txtTitleName},
#ifdef _WIN32
        // Windows drops a file name's trailing blanks: such a title is refused.
        {u"   ", 1, u"标题不能以字符“U+0020”结尾：Windows 会从文件名中去掉它。请换一个标题。", txtTitleName},
        {u"  a", 0, u"您当前尚没有至少一个有效的TXT文件进行生成！", cmdNext},
#else
        {u"   ", 0, u"您当前尚没有至少一个有效的TXT文件进行生成！", cmdNext},
#endif
        {u"a/b", 1, u"标题中不能含有字符“/”：它不能用在文件名中。请换一个标题。", txtTitleName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.text));
        view.texts[txtTitleName] = c.title;
        view.list.assign(c.entries, Entry("a.txt"));
        view.messages.clear();
        view.focus = cmdNext;
        frm.cmdNext_Click();
        EXPECT_EQ(view.messages, (Messages{{MessageIcon::kInformation, u"条件不足", c.text}}));
        EXPECT_EQ(view.focus, c.focusAfter);
        EXPECT_TRUE(view.log.empty()) << "no busy state: " << view.log.front();
    }
    EXPECT_FALSE(fs::exists(app / "Temp")) << "no build started";
}

// Whenever the build lets events through, the window is busy: every input
// disabled, the busy caption on Generate, the busy pointer from the build's
// own step on, and a close is put off. Afterwards all is back, the focus too,
// and the close is carried out, once.
TEST_F(FrmMainTest, GenerateBuildsInTheBusyStateThenReturnsToIdleAndCarriesOutAPutOffClose) {
    WriteBytes(source / "two.txt", "\xD6\xD0\xCE\xC4");  // "中文" in code page 936
    ReadyToBuild();
    view.focus = cmdNext;
    std::vector<bool> pointers;
    view.onDoEvents = [&] {
        EXPECT_EQ(view.disabled.size(), std::size(kBusyControls));
        for (const Control control : kBusyControls) EXPECT_TRUE(view.disabled.count(control));
        EXPECT_EQ(view.nextCaption, u"正在生成\r\n请您稍候");
        pointers.push_back(view.busyPointer);
        EXPECT_FALSE(frm.Form_QueryUnload()) << "no close while the build runs";
    };
    frm.cmdNext_Click();
    EXPECT_EQ(pointers, (std::vector<bool>{false, true}));
    EXPECT_EQ(view.log.back(), "close") << "closed after the window returned to idle";
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "close"), 1);
    const fs::path book = app / "Release" / "b.chm";
    EXPECT_EQ(testing::FakeBookMark(book).rfind("FAKE-CHM ", 0), 0u);
    EXPECT_EQ(opened, std::vector<std::u16string>{U16(book)});
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(fs::is_empty(app / "Temp"));
    ExpectIdle();
    EXPECT_EQ(view.focus, cmdNext) << "the focus comes back";
    EXPECT_TRUE(fs::exists(source / "one.txt")) << "delete option not ticked";

    // Deleting the sources; without a program for the book the user would
    // otherwise see nothing at all, so its path is shown.
    view.check = 1;
    desktopOpensBooks = false;
    view.onDoEvents = nullptr;
    view.log.clear();
    EXPECT_TRUE(frm.Form_QueryUnload()) << "idle: the window closes at once";
    frm.cmdNext_Click();
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), "close"), 0) << "a close once carried out is forgotten";
    EXPECT_EQ(opened.size(), 2u);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(std::get<0>(view.messages[0]), MessageIcon::kInformation);
    EXPECT_NE(std::get<2>(view.messages[0]).find(U16(book)), std::u16string::npos);
    EXPECT_FALSE(fs::exists(source / "one.txt")) << "the sources are deleted, but the list is not refreshed";
    EXPECT_EQ(view.list.size(), 2u);
}

TEST_F(FrmMainTest, ABuildWithoutABookIsReportedOnceKeepsTheSourcesAndReturnsToIdle) {
    ReadyToBuild(/*compiler=*/false);
    view.check = 1;
    for (const std::u16string& named : {U16(app / "hhc"), std::u16string(u"Temp.chm")}) {  // the message names it
        SCOPED_TRACE(platform::ToUtf8(named));
        view.messages.clear();
        frm.cmdNext_Click();
        ASSERT_EQ(view.messages.size(), 1u);
        const auto& [icon, caption, text] = view.messages[0];
        EXPECT_EQ(icon, MessageIcon::kWarning);
        EXPECT_EQ(caption, u"生成失败");
        EXPECT_NE(text.find(named), std::u16string::npos) << platform::ToUtf8(text);
        EXPECT_TRUE(opened.empty() && fs::exists(source / "one.txt") && !fs::exists(app / "Release" / "b.chm"));
        ExpectIdle();
        InstallStandInCompiler(app);  // now there, but failing
        testing::SetCompilerMode(app, "fail");
    }
}

}  // namespace
}  // namespace chmbook
