// What is the Qt window's own: the keyboard (tab order, access keys, Enter in
// the boxes), the focus, the controls wired to the commands, the busy state in
// the widgets and the put-off close through real events. The commands behind
// the controls are tested once in tests/app.
#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "batch/book_inputs.h"
#include "book_fixture.h"
#include "test_support/scratch_folder.h"
#include "test_window.h"
#include "ui/main_window.h"

namespace chmbook {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;
using enum Control;

// Types what no key gives, as an input method commits it.
void Commit(QWidget* widget, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

// On Qt's offscreen platform (ctest sets it), one window, driven in turn
// through the keyboard and the mouse:
// - Tab walks the inputs, the greyed boxes take no focus; the boxes hand their
//   lines over with CR LF, a no-break space stays one (Qt's plain text turns
//   it into a blank);
// - the buttons' keys press them; a label's key only moves the focus, even to
//   a button; the command's focus reaches the widget;
// - the title is typed with an input method; no button is the default one:
//   Enter there would otherwise report the empty list;
// - while the build runs the widgets show the busy state (the inputs greyed,
//   the two-line caption, the busy cursor); a close asked for meanwhile is
//   carried out after it.
TEST(QtWindow, KeyboardFocusThenABuildInTheBusyStateAndAPutOffCloseAfterIt) {
    int argc = 1;
    char* argv[] = {const_cast<char*>("chmbook_ui_tests"), nullptr};
    QApplication qt(argc, argv);
    ScratchFolder app{"chmbook-ui", test_support::ScratchUse::kPrograms};
    TestWindow<MainWindow> window{app.u16()};
    const auto Ui = [&](Control control) { return window.Widget(control); };
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const Control box : {txtAd, Text1, txtFile}) EXPECT_FALSE(Ui(box)->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Ui(txtTitleName));
    for (const Control expected : {txtTitleDemo, txtFootDemo, txtPaperTop, txtPaperFoot, Command1, cmdRefresh, List1,
                                   Check1, cmdNext, txtTitleName}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), Ui(expected)) << LayoutOf(expected).name;
    }
    EXPECT_EQ(window.frm().txtFootDemo(), StatementTextInFourLines());
    QTest::mouseClick(window.WidgetAs<QPlainTextEdit>(txtPaperTop)->viewport(), Qt::LeftButton);
    Commit(Ui(txtPaperTop), QStringLiteral("头"));
    QTest::keyClick(Ui(txtPaperTop), Qt::Key_Return);
    Commit(Ui(txtPaperTop), QString(QChar(0x00A0)));
    QTest::keyClick(Ui(txtPaperTop), Qt::Key_Enter);
    EXPECT_EQ(window.frm().txtPaperTop(), u"头\r\n\u00A0\r\n");

    testing::InstallStandInCompiler(app.path());
    app.Write("one.txt", "text");
    window.folderAnswer = app.u16();
    QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Ui(txtTitleDemo));
    QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Ui(Command1));
    QTest::qWait(300);  // longer than a button's animated click
    EXPECT_EQ(window.ListCount(), 0u) << "Alt+D only moves the focus";
    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.messages.size() == 1; }, 2000)) << "Alt+O generates";
    EXPECT_EQ(QApplication::focusWidget(), Ui(txtTitleName));
    Commit(Ui(txtTitleName), QStringLiteral("书"));
    QTest::keyClick(Ui(txtTitleName), Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ListCount() == 1; }, 2000)) << "Alt+B browses";
    app.Write("two.txt", "text");
    QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.ListCount() == 2; }, 2000)) << "Alt+R refreshes";
    std::vector<QString> seen;  // Generate's text, and what else shows, each time the build lets events through
    window.onDoEvents = [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        seen.push_back(window.WidgetAs<QPushButton>(cmdNext)->text() + (Ui(List1)->isEnabled() ? " enabled" : "") +
                       (cursor && cursor->shape() == Qt::BusyCursor ? " busy" : ""));
        EXPECT_FALSE(window.close() || !window.isVisible()) << "the close is put off while the build runs";
    };
    QTest::mouseClick(Ui(cmdNext), Qt::LeftButton);
    EXPECT_EQ(seen, (std::vector<QString>{"正在生成\n请您稍候", "正在生成\n请您稍候 busy"}));
    EXPECT_TRUE(window.messages.size() == 1 && fs::exists(app / "Release" / u8"书.chm")) << "the build ran to its end";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(window.isVisible()) << "and the window closed then";
}

}  // namespace
}  // namespace chmbook
