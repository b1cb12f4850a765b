// What is the Qt window's own: its layout holding together, the keyboard
// (tab order, access keys, Enter in the boxes), focus, its real dialogs,
// the put-off close through real events, and one whole build through it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "batch/book_inputs.h"
#include "book_fixture.h"
#include "platform/platform.h"
#include "test_support/scratch_folder.h"
#include "test_window.h"

namespace chmbook::uitest {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::ScratchFolder;
using test_support::U16;
using enum Control;

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

class QtWindow : public ::testing::Test {
protected:
    void SetUp() override { window.ShowActive(); }

    ScratchFolder app{"chmbook-ui", test_support::ScratchUse::kPrograms};
    ScratchFolder source{"chmbook-ui"};
    TestWindow window{app.u16()};
    template <typename T = QWidget>
    T* Ui(Control control) const { return window.WidgetAs<T>(control); }
};

// No control covers another or runs out of its frame, and no caption is cut off.
TEST_F(QtWindow, ControlsNeitherOverlapNorCutTheirCaptions) {
    for (QWidget* container : {static_cast<QWidget*>(&window), Ui(Frame1), Ui(Frame2), Ui(Frame3)}) {
        const QList<QWidget*> controls = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = 0; i < controls.size(); ++i) {
            SCOPED_TRACE(controls[i]->objectName().toStdString());
            EXPECT_TRUE(container->rect().contains(controls[i]->geometry()));
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                // Places rounded from twips may make neighbours share one pixel line.
                const QRect shared = controls[i]->geometry() & controls[j]->geometry();
                EXPECT_TRUE(shared.width() <= 1 || shared.height() <= 1)
                    << "overlaps " << controls[j]->objectName().toStdString();
            }
        }
    }
    for (QLabel* label : window.findChildren<QLabel*>())
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        const QString caption = QString(button->text()).remove(u'&');
        EXPECT_LE(button->fontMetrics().horizontalAdvance(caption) + 8, button->width())
            << button->objectName().toStdString();
    }
}

TEST_F(QtWindow, TabWalksTheInputsAndTheGreyedBoxesTakeNoFocus) {
    EXPECT_EQ(QApplication::focusWidget(), Ui(txtTitleName));
    for (QWidget* box : {Ui(txtAd), Ui(Text1), Ui(txtFile)}) {
        EXPECT_FALSE(box->isEnabled());
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), Ui(txtTitleName)) << box->objectName().toStdString();
    }
    const QWidget* const order[] = {Ui(txtTitleDemo), Ui(txtFootDemo), Ui(txtPaperTop), Ui(txtPaperFoot),
                                    Ui(Command1),     Ui(cmdRefresh),  Ui(List1),       Ui(Check1),
                                    Ui(cmdNext),      Ui(txtTitleName)};
    for (const QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    }
    EXPECT_EQ(window.frm().txtTitleDemo(), StatementText()) << "Tab typed nothing into a box";
}

TEST_F(QtWindow, AccessKeysPressTheButtonsOrOnlyMoveTheFocus) {
    QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Ui(txtTitleDemo));
    QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), Ui(Command1));
    QTest::qWait(300);  // longer than a button's animated click
    EXPECT_EQ(window.folderDialogs, 0) << "Alt+D only moves the focus";

    source.Write("a.txt", "a");
    window.folderAnswers.push_back(source.u16());
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
    QTest::mouseClick(Ui<QPlainTextEdit>(txtPaperTop)->viewport(), Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), Ui(txtPaperTop));
    TypeText(Ui(txtPaperTop), QStringLiteral("<b>头</b>"));
    QTest::keyClick(Ui(txtPaperTop), Qt::Key_Return);
    TypeText(Ui(txtPaperTop), QString(QChar(0x00A0)) + QStringLiteral("two"));
    QTest::keyClick(Ui(txtPaperTop), Qt::Key_Enter);
    EXPECT_EQ(window.frm().txtPaperTop(), u"<b>头</b>\r\n\u00A0two\r\n");

    TypeText(Ui(txtTitleName), QStringLiteral("x"));
    QTest::keyClick(Ui(txtTitleName), Qt::Key_Return);
    EXPECT_TRUE(window.messages.empty()) << "there is no default button";
    EXPECT_EQ(window.frm().txtFile(), OutputPathForTitle(app.u16(), u"x"));
}

// The window's own message box and folder dialog, as the user sees them.
TEST(QtWindowDialogs, MessageBoxHasOkOnlyAndTheFolderDialogCanBeCancelled) {
    ScratchFolder app{"chmbook-ui"};
    ScratchFolder source{"chmbook-ui"};
    source.Write("a.txt", "a");
    MainWindow window(app.u16(), BuildOptions{});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget* owner = nullptr;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        icon = box->icon();
        buttons = box->standardButtons();
        owner = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(window.Widget(cmdNext), Qt::LeftButton);
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(owner, &window);
    EXPECT_EQ(window.focusWidget(), window.Widget(txtTitleName));

    QString title;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        dialog->selectFile(QString::fromStdString(source.path().string()));
        QMetaObject::invokeMethod(dialog, "accept");  // what the Choose button does
    });
    QTest::mouseClick(window.Widget(Command1), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("请选择一个文件夹"));
    EXPECT_EQ(window.frm().Text1(), source.u16());
    ASSERT_EQ(window.ListCount(), 1u);
    WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QTest::mouseClick(window.Widget(Command1), Qt::LeftButton);
    EXPECT_EQ(window.frm().Text1(), source.u16());
    EXPECT_EQ(window.ListCount(), 1u);
}

// The window, the build and our own compiler together: a real book, with the
// busy state visible in the widgets while the build runs.
TEST_F(QtWindow, GenerateMakesABookAndShowsTheBusyStateMeanwhile) {
#ifdef CHMBOOK_HHC
    fs::copy_file(CHMBOOK_HHC, app / "hhc");
#else
    testing::InstallStandInCompiler(app.path());
#endif
    source.Write("one.txt", "first text");
    TypeText(Ui(txtTitleName), QStringLiteral("样书"));
    window.folderAnswers.push_back(source.u16());
    QTest::mouseClick(Ui(Command1), Qt::LeftButton);
    Ui(cmdNext)->setFocus();
    std::vector<QString> captions;
    std::vector<bool> busyCursor;
    window.onDoEvents = [&] {
        const bool busy = !Ui(cmdNext)->isEnabled() && !Ui(List1)->isEnabled();
        captions.push_back(busy ? Ui<QPushButton>(cmdNext)->text() : QString());
        const QCursor* cursor = QApplication::overrideCursor();
        busyCursor.push_back(cursor && cursor->shape() == Qt::BusyCursor);
    };
    QTest::mouseClick(Ui(cmdNext), Qt::LeftButton);

    EXPECT_EQ(captions, (std::vector<QString>(2, QStringLiteral("正在生成\n请您稍候"))));
    EXPECT_EQ(busyCursor, (std::vector<bool>{false, true}));
    EXPECT_TRUE(window.messages.empty()) << platform::ToUtf8(window.messages.front());
    const fs::path book = app / "Release" / "样书.chm";
#ifdef CHMBOOK_HHC
    EXPECT_EQ(ReadBytes(book).substr(0, 4), "ITSF");
#endif
    EXPECT_EQ(window.opened, std::vector<std::u16string>{U16(book)});
    EXPECT_EQ(Ui<QPushButton>(cmdNext)->text(), QStringLiteral("立即生成(&O)"));
    EXPECT_TRUE(Ui(cmdNext)->isEnabled() && Ui(List1)->isEnabled() && Ui(txtTitleName)->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Ui(cmdNext));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtWindow, ClosingDuringABuildWaitsForItsEnd) {
    testing::InstallStandInCompiler(app.path());
    source.Write("one.txt", "text");
    TypeText(Ui(txtTitleName), QStringLiteral("b"));
    window.folderAnswers.push_back(source.u16());
    QTest::mouseClick(Ui(Command1), Qt::LeftButton);
    std::vector<bool> closedInside;
    window.onDoEvents = [&] { closedInside.push_back(window.close() || !window.isVisible()); };
    QTest::mouseClick(Ui(cmdNext), Qt::LeftButton);
    EXPECT_EQ(closedInside, (std::vector<bool>{false, false})) << "the close is put off while the build runs";
    EXPECT_TRUE(fs::exists(app / "Release" / "b.chm")) << "the build ran to its end";
    EXPECT_FALSE(window.isVisible()) << "and the window closed then";
}

}  // namespace
}  // namespace chmbook::uitest
