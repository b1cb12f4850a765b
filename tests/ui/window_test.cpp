// What is the Qt window's own: the keyboard (tab order, access keys, Enter in
// the boxes), the focus, its real dialogs, the busy state in the widgets and
// the put-off close through real events. The commands behind the controls are
// tested once in tests/app.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>

#include "batch/book_inputs.h"
#include "book_fixture.h"
#include "test_support/scratch_folder.h"
#include "ui/main_window.h"

namespace chmbook {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;
using enum Control;

// Types as a user would: Latin letters key by key, other characters as an
// input method commits them.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
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

// The window with the folder dialog answered from a queue (when one is
// queued), the message boxes recorded, and the build's events watched.
class TestWindow : public MainWindow {
public:
    explicit TestWindow(std::u16string appPath) : MainWindow(std::move(appPath), BuildOptions{.openBook = false, .progress = {}, .openDocument = {}}) {}
    bool realDialogs = false;
    std::vector<std::u16string> messages;
    std::deque<std::u16string> folderAnswers;  // "" cancels
    std::function<void()> onDoEvents;          // runs inside each DoEvents, before the events

    void ShowMessage(MessageIcon icon, const std::u16string& caption, const std::u16string& text) override {
        if (realDialogs) MainWindow::ShowMessage(icon, caption, text);
        messages.push_back(text);
    }
    std::u16string ChooseFolder(const std::u16string& title) override {
        if (realDialogs) return MainWindow::ChooseFolder(title);
        std::u16string answer = folderAnswers.empty() ? u"" : folderAnswers.front();
        if (!folderAnswers.empty()) folderAnswers.pop_front();
        return answer;
    }
    void DoEvents() override {
        if (onDoEvents) onDoEvents();
        MainWindow::DoEvents();
    }
};

class QtWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QWidget* Ui(Control control) const { return window.Widget(control); }

    ScratchFolder app{"chmbook-ui", test_support::ScratchUse::kPrograms};
    ScratchFolder source{"chmbook-ui"};
    TestWindow window{app.u16()};
};

TEST_F(QtWindow, TabWalksTheInputsAndTheGreyedBoxesTakeNoFocus) {
    EXPECT_EQ(QApplication::focusWidget(), Ui(txtTitleName));
    for (QWidget* box : {Ui(txtAd), Ui(Text1), Ui(txtFile)}) {
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), Ui(txtTitleName)) << box->objectName().toStdString();
    }
    for (const Control expected : {txtTitleDemo, txtFootDemo, txtPaperTop, txtPaperFoot, Command1, cmdRefresh, List1,
                                   Check1, cmdNext, txtTitleName}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), Ui(expected)) << LayoutOf(expected).name;
    }
    EXPECT_EQ(window.frm().txtTitleDemo(), StatementText()) << "Tab typed nothing into a box";
}

// The buttons' keys press them; a label's key only moves the focus, even to a button.
TEST_F(QtWindow, AccessKeysPressTheButtonsOrOnlyMoveTheFocus) {
    QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Ui(txtTitleDemo));
    window.folderAnswers.push_back(u"");
    QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Ui(Command1));
    QTest::qWait(300);  // longer than a button's animated click
    EXPECT_EQ(window.folderAnswers.size(), 1u) << "Alt+D only moves the focus";

    source.Write("a.txt", "a");
    window.folderAnswers = {source.u16()};
    QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ListCount() == 1; }, 2000)) << "Alt+B browses";
    fs::remove(source / "a.txt");
    QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.ListCount() == 0; }, 2000)) << "Alt+R refreshes";
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.messages.size() == 1; }, 2000)) << "Alt+O generates";
}

TEST_F(QtWindow, BoxesHandTheirLinesOverWithCrLfAndEnterPressesNoButton) {
    EXPECT_EQ(window.frm().txtFootDemo(), StatementTextInFourLines());
    QTest::mouseClick(window.WidgetAs<QPlainTextEdit>(txtPaperTop)->viewport(), Qt::LeftButton);
    TypeText(Ui(txtPaperTop), QStringLiteral("<b>头</b>"));
    QTest::keyClick(Ui(txtPaperTop), Qt::Key_Return);
    TypeText(Ui(txtPaperTop), QString(QChar(0x00A0)) + QStringLiteral("two"));
    QTest::keyClick(Ui(txtPaperTop), Qt::Key_Enter);
    EXPECT_EQ(window.frm().txtPaperTop(), u"<b>头</b>\r\n\u00A0two\r\n");

    TypeText(Ui(txtTitleName), QStringLiteral("x书"));
    QTest::keyClick(Ui(txtTitleName), Qt::Key_Return);
    EXPECT_TRUE(window.messages.empty()) << "there is no default button";
    EXPECT_EQ(window.frm().txtFile(), OutputPathForTitle(app.u16(), u"x书")) << "typing reaches the command";
}

// The real message box is the window's, with OK only; the real folder dialog
// fills the list and, cancelled, changes nothing.
TEST_F(QtWindow, MessageBoxHasOkOnlyAndTheFolderDialogCanBeCancelled) {
    window.realDialogs = true;
    source.Write("a.txt", "a");
    QMessageBox::StandardButtons buttons;
    QWidget* owner = nullptr;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        buttons = box->standardButtons();
        owner = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(Ui(cmdNext), Qt::LeftButton);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(owner, &window);
    EXPECT_EQ(window.focusWidget(), Ui(txtTitleName));

    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->selectFile(QString::fromStdString(source.path().string()));
        QMetaObject::invokeMethod(dialog, "accept");  // what the Choose button does
    });
    QTest::mouseClick(Ui(Command1), Qt::LeftButton);
    ASSERT_EQ(window.ListCount(), 1u);
    WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QTest::mouseClick(Ui(Command1), Qt::LeftButton);
    EXPECT_EQ(window.frm().Text1(), source.u16());
    EXPECT_EQ(window.ListCount(), 1u);
}

// While the build runs the widgets show the busy state (the two-line caption,
// the busy cursor); a close asked for meanwhile is carried out after it.
TEST_F(QtWindow, GenerateShowsTheBusyStateAndAPutOffCloseFollowsTheBuild) {
    testing::InstallStandInCompiler(app.path());
    source.Write("one.txt", "text");
    TypeText(Ui(txtTitleName), QStringLiteral("b"));
    window.folderAnswers.push_back(source.u16());
    QTest::mouseClick(Ui(Command1), Qt::LeftButton);
    Ui(cmdNext)->setFocus();
    std::vector<QString> captions;
    std::vector<bool> busyCursor, closed;
    bool closeDuring = false;
    window.onDoEvents = [&] {
        captions.push_back(Ui(List1)->isEnabled() ? QString() : window.WidgetAs<QPushButton>(cmdNext)->text());
        const QCursor* cursor = QApplication::overrideCursor();
        busyCursor.push_back(cursor && cursor->shape() == Qt::BusyCursor);
        if (closeDuring) closed.push_back(window.close() || !window.isVisible());
    };
    QTest::mouseClick(Ui(cmdNext), Qt::LeftButton);
    EXPECT_EQ(captions, (std::vector<QString>(2, QStringLiteral("正在生成\n请您稍候"))));
    EXPECT_EQ(busyCursor, (std::vector<bool>{false, true}));
    EXPECT_TRUE(fs::exists(app / "Release" / "b.chm"));
    EXPECT_EQ(window.WidgetAs<QPushButton>(cmdNext)->text(), QStringLiteral("立即生成(&O)"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), Ui(cmdNext)) << "the focus comes back";

    closeDuring = true;
    QTest::mouseClick(Ui(cmdNext), Qt::LeftButton);
    EXPECT_EQ(closed, (std::vector<bool>{false, false})) << "the close is put off while the build runs";
    EXPECT_EQ(window.messages, std::vector<std::u16string>{}) << "the build ran to its end";
    EXPECT_FALSE(window.isVisible()) << "and the window closed then";
}

}  // namespace
}  // namespace chmbook
