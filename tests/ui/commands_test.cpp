// The commands behind the window's controls, driven through its widgets:
// the output path from the title, the folder and file list, the input checks,
// and a whole build with the stand-in compiler.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "batch/book_inputs.h"
#include "platform/platform.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"
#include "test_window.h"
#include "ui/box_text.h"

namespace chmbook::uitest {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::ScratchFolder;
using test_support::U16;

QString QPath(const fs::path& path) { return QString::fromStdString(path.string()); }


std::vector<std::u16string> ListEntries(const frmMain& window) {
    std::vector<std::u16string> entries;
    for (std::size_t i = 0; i < window.List1ListCount(); ++i) entries.push_back(window.List1List(i));
    return entries;
}

// Runs `act` on the next modal dialog of type Dialog as soon as it is up.
template <typename Dialog, typename Act>
void WhenModal(Act act) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

class WindowCommands : public ::testing::Test {
protected:
    void SetUp() override { window.ShowActive(); }

    void Browse(const fs::path& folder) {
        window.folderAnswers.push_back(QPath(folder));
        QTest::mouseClick(ui.Command1, Qt::LeftButton);
    }
    void TypeTitle(const QString& title) { TypeText(ui.txtTitleName, title); }

    ScratchFolder app{"chmbook-ui", test_support::ScratchUse::kPrograms};  // the compiler runs from here
    ScratchFolder source{"chmbook-ui"};
    TestWindow window{app.u16()};
    const frmMain::Controls& ui = window.ui();
};

// ---- Output path -----------------------------------------------------------

TEST_F(WindowCommands, OutputPathFollowsTheTitleKeyByKey) {
    const QString title = QStringLiteral("我的 Book");
    for (int typed = 1; typed <= title.size(); ++typed) {
        TypeText(ui.txtTitleName, QString(title[typed - 1]));
        const std::u16string expected = ToU16(title.left(typed));
        ASSERT_EQ(window.txtTitleName(), expected);
        EXPECT_EQ(window.txtFile(), U16(app / "Release") + u"/" + expected + u".chm");
    }
    EXPECT_TRUE(fs::is_directory(app / "Release")) << "made with the first change of the title";

    for (int left = title.size() - 1; left >= 0; --left) {
        QTest::keyClick(ui.txtTitleName, Qt::Key_Backspace);
        EXPECT_EQ(window.txtFile(), OutputPathForTitle(app.u16(), ToU16(title.left(left))));
    }
    EXPECT_EQ(window.txtFile(), U16(app / "Release") + u"/.chm");
}

TEST_F(WindowCommands, OutputPathFollowsAPastedTitleAsTyped) {
    QGuiApplication::clipboard()->setText(QStringLiteral("  粘贴 a/b  "));
    QTest::keyClick(ui.txtTitleName, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(window.txtTitleName(), u"  粘贴 a/b  ");
    EXPECT_EQ(window.txtFile(), U16(app / "Release") + u"/  粘贴 a/b  .chm") << "nothing trimmed or replaced";
}

// ---- Input checks ------------------------------------------------------------

TEST_F(WindowCommands, GenerateWithoutTitleAsksForItAndPutsTheFocusThere) {
    QTest::mouseClick(ui.cmdNext, Qt::LeftButton);  // no title, no files
    ASSERT_EQ(window.messages.size(), 1u) << "only the title is asked for";
    EXPECT_EQ(window.messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(window.messages[0].caption, QStringLiteral("条件不足"));
    EXPECT_EQ(window.messages[0].text, QStringLiteral("请输入该CHM文件的标题名称！"));
    EXPECT_EQ(QApplication::focusWidget(), ui.txtTitleName);
    EXPECT_FALSE(fs::exists(app / "Temp")) << "no build started";
}

TEST_F(WindowCommands, GenerateWithoutFilesSaysSoAndLeavesTheFocus) {
    TypeTitle(QStringLiteral("   "));  // blanks are a title
    ui.Check1->setFocus();
    QTest::keyClick(ui.Check1, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), ui.cmdNext);
    QTest::keyClick(ui.cmdNext, Qt::Key_Space);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(window.messages[0].caption, QStringLiteral("条件不足"));
    EXPECT_EQ(window.messages[0].text, QStringLiteral("您当前尚没有至少一个有效的TXT文件进行生成！"));
    EXPECT_EQ(QApplication::focusWidget(), ui.cmdNext);
    EXPECT_FALSE(fs::exists(app / "Temp"));
    EXPECT_EQ(ui.cmdNext->text(), frmMain::kNextCaption);
}

// The real message box: information icon, OK only, owned by the window.
class PlainWindow : public frmMain {
public:
    using frmMain::frmMain;
};

TEST(WindowMessageBox, IsAnInformationBoxWithOkOnly) {
    ScratchFolder app{"chmbook-ui"};
    PlainWindow window(app.u16());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* owner = nullptr;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        owner = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(window.ui().cmdNext, Qt::LeftButton);
    EXPECT_EQ(caption, frmMain::kInputCaption);
    EXPECT_EQ(text, frmMain::kNoTitleText);
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(owner, &window);
    EXPECT_EQ(window.focusWidget(), window.ui().txtTitleName);
}

// ---- Folder and file list ----------------------------------------------------

TEST_F(WindowCommands, BrowseListsTheTextFilesInFileSystemOrder) {
    source.Write("b.txt", "b");
    source.Write("A.TXT", "a");
    source.Write("c.Txt", "c");
    source.Write("notes.md", "no");
    source.Write("a.txt.bak", "no");
    source.Write(".hidden.txt", "no");
    fs::create_directories(source / "folder.txt");
    source.Write("sub/d.txt", "not below the folder");

    Browse(source.path());
    EXPECT_EQ(window.Text1(), source.u16());
    const std::u16string folder = source.u16() + u"/";
    const std::vector<std::u16string> expected = {folder + u"A.TXT", folder + u"b.txt", folder + u"c.Txt"};
    EXPECT_EQ(ListEntries(window), expected);

    QTest::mouseClick(ui.cmdRefresh, Qt::LeftButton);
    EXPECT_EQ(ListEntries(window), expected) << "no entry twice";
    Browse(source.path());
    EXPECT_EQ(ListEntries(window), expected) << "no entry twice";

    // Refresh sees files that came and went since.
    fs::remove(source / "b.txt");
    source.Write("e.txt", "e");
    QTest::mouseClick(ui.cmdRefresh, Qt::LeftButton);
    EXPECT_EQ(ListEntries(window), (std::vector<std::u16string>{folder + u"A.TXT", folder + u"c.Txt", folder + u"e.txt"}));
}

TEST_F(WindowCommands, CancelledBrowseKeepsFolderAndList) {
    source.Write("a.txt", "a");
    Browse(source.path());
    ASSERT_EQ(window.List1ListCount(), 1u);
    QTest::mouseClick(ui.Command1, Qt::LeftButton);  // the dialog answers "cancel"
    EXPECT_EQ(window.folderDialogs, 2);
    EXPECT_EQ(window.Text1(), source.u16());
    EXPECT_EQ(window.List1ListCount(), 1u);
}

TEST_F(WindowCommands, AFolderEndingInASeparatorGetsNoSecondOne) {
    source.Write("a.txt", "a");
    window.folderAnswers.push_back(QPath(source.path()) + QStringLiteral("/"));
    QTest::mouseClick(ui.Command1, Qt::LeftButton);
    EXPECT_EQ(ListEntries(window), std::vector<std::u16string>{source.u16() + u"/a.txt"});
}

TEST_F(WindowCommands, RefreshBeforeAnyBrowseListsTheRootWithOneSeparator) {
    QTest::mouseClick(ui.cmdRefresh, Qt::LeftButton);
    for (const std::u16string& entry : ListEntries(window)) {
        EXPECT_EQ(entry.rfind(u'/'), 0u) << platform::ToUtf8(entry);
    }
    EXPECT_EQ(ListSourceFiles(u"/"), ListEntries(window));
}

TEST_F(WindowCommands, AVanishedFolderEmptiesTheList) {
    source.Write("a.txt", "a");
    Browse(source.path());
    ASSERT_EQ(window.List1ListCount(), 1u);
    fs::remove_all(source.path());
    QTest::mouseClick(ui.cmdRefresh, Qt::LeftButton);
    EXPECT_EQ(window.List1ListCount(), 0u);
    EXPECT_TRUE(window.messages.empty());
}

TEST(WindowFolderDialog, IsTitledAndCancelChangesNothing) {
    ScratchFolder app{"chmbook-ui"};
    ScratchFolder source{"chmbook-ui"};
    source.Write("a.txt", "a");
    PlainWindow window(app.u16());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QString title;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        dialog->selectFile(QPath(source.path()));
        QMetaObject::invokeMethod(dialog, "accept");  // what the Choose button does
    });
    QTest::mouseClick(window.ui().Command1, Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("请选择一个文件夹"));
    EXPECT_EQ(window.Text1(), source.u16());
    ASSERT_EQ(window.List1ListCount(), 1u);

    WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QTest::mouseClick(window.ui().Command1, Qt::LeftButton);
    EXPECT_EQ(window.Text1(), source.u16());
    EXPECT_EQ(window.List1ListCount(), 1u);
}

// ---- Generate ----------------------------------------------------------------

// What the window looked like at one moment of a build.
struct WindowSnapshot {
    bool busy;
    bool cmdNextEnabled;
    QString cmdNextCaption;
    std::vector<bool> inputsEnabled;  // the nine controls of the busy state
    bool greyedBoxesEnabled;          // Text1, txtFile, txtAd
    bool busyPointer;
};

class WindowBuild : public WindowCommands {
protected:
    void SetUp() override {
        WindowCommands::SetUp();
        source.Write("one.txt", "first text");
        source.Write("two.txt", "\xD6\xD0\xCE\xC4");  // "中文" in code page 936
        window.onDoEvents = [this] { snapshots.push_back(Snapshot()); };
    }

    void InstallCompiler() {
        fs::copy_file(CHMBOOK_FAKE_HHC, app / "hhc");
    }

    std::vector<QWidget*> Inputs() const {
        return {ui.txtTitleName, ui.txtTitleDemo, ui.txtFootDemo, ui.txtPaperTop, ui.txtPaperFoot,
                ui.Check1,       ui.Command1,     ui.cmdRefresh,  ui.List1};
    }

    WindowSnapshot Snapshot() const {
        WindowSnapshot shot;
        shot.busy = window.IsBusy();
        shot.cmdNextEnabled = ui.cmdNext->isEnabled();
        shot.cmdNextCaption = ui.cmdNext->text();
        for (QWidget* input : Inputs()) shot.inputsEnabled.push_back(input->isEnabled());
        shot.greyedBoxesEnabled = ui.Text1->isEnabled() || ui.txtFile->isEnabled() || ui.txtAd->isEnabled();
        const QCursor* cursor = QApplication::overrideCursor();
        shot.busyPointer = cursor && cursor->shape() == Qt::BusyCursor;
        return shot;
    }

    void ExpectIdle() {
        const WindowSnapshot now = Snapshot();
        EXPECT_FALSE(now.busy);
        EXPECT_TRUE(now.cmdNextEnabled);
        EXPECT_EQ(now.cmdNextCaption, QStringLiteral("立即生成(&O)"));
        EXPECT_EQ(now.inputsEnabled, std::vector<bool>(9, true));
        EXPECT_FALSE(now.greyedBoxesEnabled);
        EXPECT_FALSE(now.busyPointer);
    }

    void Generate() { QTest::mouseClick(ui.cmdNext, Qt::LeftButton); }

    std::vector<WindowSnapshot> snapshots;
};

// Records the order in which controls become disabled or enabled.
class EnabledChanges : public QObject {
public:
    explicit EnabledChanges(const std::vector<QWidget*>& watched) {
        for (QWidget* widget : watched) widget->installEventFilter(this);
    }
    QStringList order;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange) {
            auto* widget = static_cast<QWidget*>(watched);
            order << (widget->isEnabled() ? QStringLiteral("+") : QStringLiteral("-")) + widget->objectName();
        }
        return false;
    }
};

TEST_F(WindowBuild, GenerateBuildsTheBookBusyThenIdle) {
    InstallCompiler();
    TypeTitle(QStringLiteral("书 one"));
    Browse(source.path());
    ASSERT_EQ(window.List1ListCount(), 2u);
    ASSERT_FALSE(fs::exists(app / "Temp")) << "the first Generate builds as well";

    std::vector<QWidget*> watched = Inputs();
    watched.insert(watched.begin(), ui.cmdNext);
    EnabledChanges changes(watched);
    ui.cmdNext->setFocus();
    Generate();

    // Busy from before the build's first step to its last.
    ASSERT_EQ(snapshots.size(), 2u) << "the window lets events through once, and the build once";
    for (const WindowSnapshot& shot : snapshots) {
        EXPECT_TRUE(shot.busy);
        EXPECT_FALSE(shot.cmdNextEnabled);
        EXPECT_EQ(shot.cmdNextCaption, QStringLiteral("正在生成\n请您稍候"));
        EXPECT_EQ(shot.inputsEnabled, std::vector<bool>(9, false));
        EXPECT_FALSE(shot.greyedBoxesEnabled);
    }
    EXPECT_FALSE(snapshots[0].busyPointer) << "the build sets the pointer itself";
    EXPECT_TRUE(snapshots[1].busyPointer);
    EXPECT_EQ(window.pointers, (std::vector<int>{WindowState::kBusyPointer, WindowState::kDefaultPointer}));
    const QStringList names = {"cmdNext", "txtTitleName", "txtTitleDemo", "txtFootDemo", "txtPaperTop",
                               "txtPaperFoot", "Check1", "Command1", "cmdRefresh", "List1"};
    QStringList expectedOrder;
    for (const QString& name : names) expectedOrder << "-" + name;
    for (const QString& name : names) expectedOrder << "+" + name;
    EXPECT_EQ(changes.order, expectedOrder);

    // The book is at the output path, opened, and nothing was said.
    const fs::path book = app / "Release" / "书 one.chm";
    EXPECT_EQ(window.txtFile(), U16(book));
    EXPECT_NE(ReadBytes(book).find("FAKE-CHM "), std::string::npos);
    EXPECT_EQ(window.opened, std::vector<std::u16string>{U16(book)});
    EXPECT_TRUE(window.messages.empty());
    EXPECT_TRUE(fs::is_empty(app / "Temp"));
    EXPECT_EQ(window.List1ListCount(), 2u) << "the list is not refreshed after a build";
    EXPECT_TRUE(fs::exists(source / "one.txt")) << "delete option not ticked";
    ExpectIdle();
    EXPECT_EQ(QApplication::focusWidget(), ui.cmdNext);

    // A second build runs the same way.
    snapshots.clear();
    Generate();
    EXPECT_EQ(snapshots.size(), 2u);
    EXPECT_EQ(window.opened.size(), 2u);
    ExpectIdle();
}

// The window, the build and our own compiler together: a real book.
TEST_F(WindowBuild, GenerateWithOurCompilerMakesARealBook) {
#ifndef CHMBOOK_HHC
    GTEST_SKIP() << "the compiler is not part of this build";
#else
    fs::copy_file(CHMBOOK_HHC, app / "hhc");
    TypeTitle(QStringLiteral("样书"));
    Browse(source.path());
    Generate();
    EXPECT_TRUE(window.messages.empty()) << window.messages[0].text.toStdString();
    const fs::path book = app / "Release" / "样书.chm";
    EXPECT_EQ(ReadBytes(book).substr(0, 4), "ITSF");
    EXPECT_EQ(window.opened, std::vector<std::u16string>{U16(book)});
    ExpectIdle();
#endif
}

TEST_F(WindowBuild, TickedDeleteOptionRemovesTheSourcesAfterABook) {
    InstallCompiler();
    TypeTitle(QStringLiteral("b"));
    Browse(source.path());
    QTest::mouseClick(ui.Check1, Qt::LeftButton);
    ASSERT_EQ(window.Check1(), 1);
    Generate();
    EXPECT_TRUE(fs::exists(app / "Release" / "b.chm"));
    EXPECT_FALSE(fs::exists(source / "one.txt"));
    EXPECT_FALSE(fs::exists(source / "two.txt"));
    EXPECT_EQ(window.List1ListCount(), 2u) << "the list still shows them until the next refresh";
    EXPECT_TRUE(window.messages.empty());
}

TEST_F(WindowBuild, MissingCompilerIsReportedOnceAndNothingIsLost) {
    TypeTitle(QStringLiteral("b"));
    Browse(source.path());
    QTest::mouseClick(ui.Check1, Qt::LeftButton);
    Generate();

    ASSERT_EQ(window.messages.size(), 1u);
    const ShownMessage& message = window.messages[0];
    EXPECT_EQ(message.icon, QMessageBox::Warning);
    EXPECT_EQ(message.caption, frmMain::kFailureCaption);
    EXPECT_TRUE(message.text.contains(QPath(app / "hhc"))) << message.text.toStdString();
    EXPECT_TRUE(message.text.contains(QStringLiteral("找到帮助编译器"))) << message.text.toStdString();
    EXPECT_FALSE(message.text.isEmpty());
    EXPECT_FALSE(fs::exists(app / "Release" / "b.chm"));
    EXPECT_TRUE(window.opened.empty());
    EXPECT_TRUE(fs::exists(source / "one.txt")) << "a failed build deletes no source";
    ExpectIdle();
}

TEST_F(WindowBuild, FailingCompilerIsReportedWithItsOutput) {
    InstallCompiler();
    app.Write("hhc-mode.txt", "fail");
    TypeTitle(QStringLiteral("b"));
    Browse(source.path());
    Generate();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(window.messages[0].text.contains(QStringLiteral("Temp.chm"))) << window.messages[0].text.toStdString();
    EXPECT_TRUE(window.opened.empty());
    ExpectIdle();
}

TEST_F(WindowBuild, AFileNamedReleaseShowsInThePathAndTheBuildNamesIt) {
    InstallCompiler();
    app.Write("Release", "not a folder");
    TypeTitle(QStringLiteral("t"));
    EXPECT_EQ(window.txtFile(), U16(app / "Release") + u"/t.chm");
    Browse(source.path());
    Generate();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_TRUE(window.messages[0].text.contains(ToQString(window.txtFile()))) << window.messages[0].text.toStdString();
    EXPECT_EQ(ReadBytes(app / "Release"), "not a folder") << "the user's file stays";
    EXPECT_TRUE(window.opened.empty());
    ExpectIdle();
}

TEST_F(WindowBuild, ClosingDuringABuildWaitsForItsEnd) {
    InstallCompiler();
    TypeTitle(QStringLiteral("b"));
    Browse(source.path());
    bool closed = true;
    bool visibleAfterClose = false;
    window.onDoEvents = [&] {
        if (!window.IsBusy() || !closed) return;
        closed = window.close();
        visibleAfterClose = window.isVisible();
    };
    Generate();
    EXPECT_FALSE(closed) << "the close is put off while the build runs";
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_TRUE(fs::exists(app / "Release" / "b.chm")) << "the build ran to its end";
    EXPECT_TRUE(fs::is_empty(app / "Temp"));
    EXPECT_FALSE(window.isVisible()) << "and the window closed then";
}

TEST_F(WindowBuild, ClosingWhenIdleClosesAtOnce) {
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowBuild, TheBuildReadsTheSnippetsWithCrLf) {
    InstallCompiler();
    app.Write("hhc-mode.txt", "ok snapshot");
    TypeTitle(QStringLiteral("b"));
    Browse(source.path());
    ui.txtPaperTop->setFocus();
    TypeText(ui.txtPaperTop, QStringLiteral("top1"));
    QTest::keyClick(ui.txtPaperTop, Qt::Key_Return);
    TypeText(ui.txtPaperTop, QStringLiteral("top2"));
    Generate();
    const std::string page = ReadBytes(app / "seen" / "0.htm");
    EXPECT_NE(page.find("top1\r\ntop2"), std::string::npos);
    EXPECT_EQ(page.find("top1\ntop2"), std::string::npos);
}

}  // namespace
}  // namespace chmbook::uitest
