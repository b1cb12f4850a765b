// The main window's commands, tested once here against a window without a
// toolkit, with the stand-in compiler. The Qt and the native window test only
// what is their own.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
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
using test_support::ScratchFolder;
using test_support::U16;
using test_support::WriteBytes;
using enum Control;
using Log = std::vector<std::u16string>;

// Controls as plain values and the folder dialog answered by the test; the
// messages, pointer changes, event processing and the close are written to a
// log, one line a call, so that a case compares it whole.
class FakeView : public WindowView {
public:
    std::map<Control, std::u16string> texts;
    std::vector<std::u16string> list;
    std::set<Control> disabled;
    std::u16string nextCaption;
    std::optional<Control> focus = txtTitleName;
    std::u16string folderAnswer;  // "" cancels
    Log log;
    std::function<void()> onDoEvents;  // runs inside every DoEvents

    std::u16string Text(Control box) const override { return texts.count(box) ? texts.at(box) : u""; }
    void SetText(Control box, const std::u16string& text) override { texts[box] = text; }
    int CheckValue() const override { return 0; }
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
        log.push_back((icon == MessageIcon::kWarning ? u"warning " : u"information ") + caption + u": " + text);
    }
    void SetBusyPointer(bool busy) override { log.push_back(busy ? u"busy pointer" : u"default pointer"); }
    void DoEvents() override {
        log.push_back(u"events");
        if (onDoEvents) onDoEvents();
    }
    void SetCaption(const std::u16string&) override {}
    void Close() override { log.push_back(u"close"); }
};

class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(app);
        WriteBytes(source / "one.txt", "first text");
        frm.Form_Load();
    }
    void Browse(const std::u16string& folder) {
        view.folderAnswer = folder;
        frm.Command1_Click();
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

// The output folder is made when the title changes, not before.
TEST_F(FrmMainTest, DefaultTextsThePathFollowsTheTitleTheListTheFolderAndGenerateChecksTheInputs) {
    EXPECT_EQ(view.texts, (std::map<Control, std::u16string>{{txtAd, NoticeText()},
                                                              {txtTitleDemo, StatementText()},
                                                              {txtFootDemo, StatementTextInFourLines()},
                                                              {txtPaperFoot, StatementText()},
                                                              {txtFile, U16(app / "Release" / "test.chm")}}));
    EXPECT_FALSE(fs::exists(app / "Release"));
    view.texts[txtTitleName] = u"我的 Book";
    frm.txtTitleName_Change();
    EXPECT_EQ(view.Text(txtFile), U16(app / "Release" / u"我的 Book.chm"));
    EXPECT_TRUE(fs::is_directory(app / "Release"));

    // Browse and Refresh list the folder; a cancelled dialog keeps it.
    Browse(U16(source) + platform::kPathSeparator);
    const std::u16string one = U16(source / "one.txt");
    EXPECT_EQ(view.list, Log{one}) << "no doubled separator";
    WriteBytes(source / "two.txt", "x");
    Browse(u"");
    EXPECT_EQ(view.list, Log{one});
    frm.cmdRefresh_Click();
    EXPECT_EQ(view.list, (Log{one, U16(source / "two.txt")}));

    // Generate checks the title first (empty, then one that cannot name a
    // file), then the list; no build starts (no events in the log).
    const std::tuple<std::u16string, std::size_t, std::u16string, Control> cases[] = {
        {u"", 0, u"请输入该CHM文件的标题名称！", txtTitleName},
        {u"a/b", 1, u"标题中不能含有字符“/”：它不能用在文件名中。请换一个标题。", txtTitleName},
        {u"a", 0, u"您当前尚没有至少一个有效的TXT文件进行生成！", cmdNext},
    };
    for (const auto& [title, entries, text, focusAfter] : cases) {
        view.texts[txtTitleName] = title;
        view.list.assign(entries, one);
        view.log.clear();
        view.focus = cmdNext;
        frm.cmdNext_Click();
        EXPECT_EQ(view.log, Log{u"information 条件不足: " + text});
        EXPECT_EQ(view.focus, focusAfter);
    }
}

// Without a compiler the steps of a build run and one warning replaces the
// close. With it, whenever the build lets events through, the window is busy:
// every input disabled, the busy caption on Generate, and a close is put off.
// After either, all is back, the focus too, and the close is carried out, once
// (the good build's idle window is the failed one's, through the same code).
TEST_F(FrmMainTest, GenerateBuildsInTheBusyStateThenReturnsToIdleAndCarriesOutAPutOffClose) {
    view.texts[txtTitleName] = u"b";
    frm.txtTitleName_Change();
    Browse(U16(source));
    frm.cmdNext_Click();
    EXPECT_EQ(view.log.back().rfind(u"warning 生成失败: ", 0), 0u) << "the failed build is reported";
    view.log.pop_back();
    EXPECT_EQ(view.log, (Log{u"events", u"busy pointer", u"events", u"default pointer"}));
    EXPECT_TRUE(view.disabled.empty() && !frm.IsBusy()) << "every control enabled again";
    EXPECT_EQ(view.nextCaption, u"立即生成(&O)");

    InstallStandInCompiler(app);
    view.log.clear();
    view.focus = cmdNext;
    view.onDoEvents = [&] {
        EXPECT_EQ(view.disabled, (std::set<Control>{cmdNext, txtTitleName, txtTitleDemo, txtFootDemo, txtPaperTop,
                                                    txtPaperFoot, Check1, Command1, cmdRefresh, List1}));
        EXPECT_EQ(view.nextCaption, u"正在生成\r\n请您稍候");
        EXPECT_FALSE(frm.Form_QueryUnload()) << "no close while the build runs";
    };
    frm.cmdNext_Click();
    EXPECT_EQ(view.log, (Log{u"events", u"busy pointer", u"events", u"default pointer", u"close"}));
    const fs::path book = app / "Release" / "b.chm";
    EXPECT_EQ(opened, Log{U16(book)});
    EXPECT_EQ(view.focus, cmdNext) << "the focus comes back";

    // Without a program for the book the user would see nothing at all, so its path is shown.
    desktopOpensBooks = false;
    view.onDoEvents = nullptr;
    EXPECT_TRUE(frm.Form_QueryUnload()) << "idle: the window closes at once";
    frm.cmdNext_Click();
    EXPECT_EQ(view.log.back(), u"information " + BookNotOpenedCaption() + u": " + BookNotOpenedText(U16(book)))
        << "and a close once carried out is forgotten";
}

}  // namespace
}  // namespace chmbook
