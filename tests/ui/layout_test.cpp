// The window as it opens: controls, places, captions, default texts, states,
// the keyboard (tab order, access keys, Enter in the boxes).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "batch/book_inputs.h"
#include "test_support/scratch_folder.h"
#include "test_window.h"

namespace chmbook::uitest {
namespace {

using test_support::ScratchFolder;
using test_support::U16;

class WindowLayout : public ::testing::Test {
protected:
    ScratchFolder app{"chmbook-ui"};
    TestWindow window{app.u16()};
    const frmMain::Controls& ui = window.ui();
};

TEST_F(WindowLayout, ClientAreaHasFixedSizeAndTheWindowItsCaptionAndIcon) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("批量将TXT生成CHM文件（TXT文件需要ANSI编码）"));
    EXPECT_EQ(window.minimumSize(), QSize(821, 545));
    EXPECT_EQ(window.maximumSize(), QSize(821, 545));
    const QIcon icon = window.windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().value(0), QSize(16, 16));
    // No more than 16 colours, and some of it transparent.
    const QImage image = icon.pixmap(16, 16).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) colours.insert(image.pixel(x, y));
    EXPECT_LE(colours.size(), 16);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}

TEST_F(WindowLayout, EveryControlSitsInItsContainerAtItsPlace) {
    struct Place {
        QWidget* control;
        const char* name;
        QWidget* container;
        QRect rect;
    };
    const Place places[] = {
        {ui.Frame1, "Frame1", &window, {11, 9, 379, 313}},
        {ui.txtAd, "txtAd", ui.Frame1, {12, 38, 356, 59}},
        {ui.txtTitleName, "txtTitleName", ui.Frame1, {73, 107, 287, 18}},
        {ui.txtTitleDemo, "txtTitleDemo", ui.Frame1, {12, 155, 356, 57}},
        {ui.txtFootDemo, "txtFootDemo", ui.Frame1, {12, 239, 356, 59}},
        {ui.Frame2, "Frame2", &window, {11, 333, 379, 202}},
        {ui.txtPaperTop, "txtPaperTop", ui.Frame2, {11, 47, 356, 57}},
        {ui.txtPaperFoot, "txtPaperFoot", ui.Frame2, {11, 131, 356, 59}},
        {ui.Frame3, "Frame3", &window, {397, 9, 411, 526}},
        {ui.Text1, "Text1", ui.Frame3, {15, 44, 383, 19}},
        {ui.Command1, "Command1", ui.Frame3, {249, 72, 70, 21}},
        {ui.cmdRefresh, "cmdRefresh", ui.Frame3, {328, 72, 70, 21}},
        {ui.List1, "List1", ui.Frame3, {15, 106, 383, 292}},
        {ui.txtFile, "txtFile", ui.Frame3, {13, 436, 275, 45}},
        {ui.cmdNext, "cmdNext", ui.Frame3, {301, 421, 96, 78}},
        {ui.Check1, "Check1", ui.Frame3, {13, 491, 289, 17}},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        ASSERT_NE(place.control, nullptr);
        EXPECT_EQ(place.control->objectName(), QString::fromLatin1(place.name));
        EXPECT_EQ(place.control->parentWidget(), place.container);
        EXPECT_EQ(place.control->geometry(), place.rect);
        EXPECT_EQ(window.findChild<QWidget*>(QString::fromLatin1(place.name)), place.control);
    }
}

// Labels size themselves to their caption; each starts at its place, fits
// its frame, and ends above (or, for the title, left of) its box.
TEST_F(WindowLayout, LabelsStartAtTheirPlaceAndFitBesideTheirBoxes) {
    struct LabelPlace {
        QLabel* label;
        const char* name;
        QWidget* frame;
        QPoint pos;
        QWidget* box;
        const char* caption;
    };
    const LabelPlace labels[] = {
        {ui.Label8, "Label8", ui.Frame1, {15, 22}, ui.txtAd, "该CHM文件每一页的置顶信息（允许加入HTML代码）:"},
        {ui.Label1, "Label1", ui.Frame1, {15, 109}, ui.txtTitleName, "标题(&T):"},
        {ui.Label2, "Label2", ui.Frame1, {16, 135}, ui.txtTitleDemo, "该CHM文件的描述说明（允许加入HTML代码）:"},
        {ui.Label3, "Label3", ui.Frame1, {16, 219}, ui.txtFootDemo, "该页面页脚信息（允许加入HTML代码）:"},
        {ui.Label4, "Label4", ui.Frame2, {15, 25}, ui.txtPaperTop, "该页面的头部信息说明（允许加入HTML代码）:"},
        {ui.Label5, "Label5", ui.Frame2, {15, 111}, ui.txtPaperFoot, "该页面页脚信息（允许加入HTML代码）:"},
        {ui.Label6, "Label6", ui.Frame3, {15, 24}, ui.Text1, "请选择TXT文件所在的一个目录(&D):"},
        {ui.Label7, "Label7", ui.Frame3, {13, 418}, ui.txtFile, "CHM保存的文件名称及路径:"},
    };
    for (const LabelPlace& l : labels) {
        SCOPED_TRACE(l.name);
        EXPECT_EQ(l.label->objectName(), QString::fromLatin1(l.name));
        EXPECT_EQ(l.label->parentWidget(), l.frame);
        EXPECT_EQ(l.label->text(), QString::fromUtf8(l.caption));
        EXPECT_EQ(l.label->pos(), l.pos);
        EXPECT_GE(l.label->width(), l.label->sizeHint().width()) << "caption cut off";
        EXPECT_LE(l.label->geometry().right(), l.frame->width() - 2) << "caption runs out of its frame";
        if (l.label == ui.Label1) {
            EXPECT_LT(l.label->geometry().right(), l.box->x());
        } else {
            EXPECT_LE(l.label->geometry().bottom(), l.box->y());
        }
        EXPECT_EQ(l.label->focusPolicy(), Qt::NoFocus);
    }
}

TEST_F(WindowLayout, FramesButtonsAndCheckBoxCarryTheirCaptions) {
    EXPECT_EQ(ui.Frame1->title(), QStringLiteral("列表页设置"));
    EXPECT_EQ(ui.Frame2->title(), QStringLiteral("内容页设置"));
    EXPECT_EQ(ui.Frame3->title(), QStringLiteral("批量文件设置"));
    EXPECT_EQ(ui.Command1->text(), QStringLiteral("浏览(&B)"));
    EXPECT_EQ(ui.cmdRefresh->text(), QStringLiteral("刷新(&R)"));
    EXPECT_EQ(ui.cmdNext->text(), QStringLiteral("立即生成(&O)"));
    EXPECT_EQ(ui.Check1->text(), QStringLiteral("在生成 CHM 电子书文件后删除原目标文件文件。"));
    // The captions fit their controls.
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(ui.Command1),
                                    static_cast<QAbstractButton*>(ui.cmdRefresh),
                                    static_cast<QAbstractButton*>(ui.cmdNext),
                                    static_cast<QAbstractButton*>(ui.Check1)}) {
        SCOPED_TRACE(button->objectName().toStdString());
        const QString caption = QString(button->text()).remove(u'&');
        EXPECT_LE(button->fontMetrics().horizontalAdvance(caption) + 8, button->width());
        EXPECT_LE(button->fontMetrics().height(), button->height());
    }
}

TEST_F(WindowLayout, StartsWithTheDefaultTextsAndNothingChosen) {
    EXPECT_EQ(window.txtAd(), NoticeText());
    EXPECT_EQ(window.txtTitleName(), u"");
    EXPECT_EQ(window.txtTitleDemo(), StatementText());
    EXPECT_EQ(window.txtFootDemo(), StatementTextInFourLines());
    EXPECT_EQ(window.txtPaperTop(), u"");
    EXPECT_EQ(window.txtPaperFoot(), StatementText());
    EXPECT_EQ(window.Text1(), u"");
    EXPECT_EQ(window.List1ListCount(), 0u);
    EXPECT_EQ(window.Check1(), 0);
    EXPECT_EQ(window.AppPath(), app.u16());

    // The output path is set at start, but its folder is made only when the title changes.
    EXPECT_EQ(window.txtFile(), U16(app / "Release" / "test.chm"));
    EXPECT_EQ(window.txtFile(), DefaultOutputPath(app.u16()));
    EXPECT_FALSE(std::filesystem::exists(app / "Release"));
    EXPECT_FALSE(std::filesystem::exists(app / "Temp"));
}

TEST_F(WindowLayout, OnlyTheProgramFillsTheFolderOutputAndNoticeBoxes) {
    for (QWidget* box : {static_cast<QWidget*>(ui.txtAd), static_cast<QWidget*>(ui.Text1),
                         static_cast<QWidget*>(ui.txtFile)}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_FALSE(box->isEnabled());
        EXPECT_EQ(box->focusPolicy(), Qt::NoFocus);
    }
    for (QWidget* control : {static_cast<QWidget*>(ui.txtTitleName), static_cast<QWidget*>(ui.txtTitleDemo),
                             static_cast<QWidget*>(ui.txtFootDemo), static_cast<QWidget*>(ui.txtPaperTop),
                             static_cast<QWidget*>(ui.txtPaperFoot), static_cast<QWidget*>(ui.Command1),
                             static_cast<QWidget*>(ui.cmdRefresh), static_cast<QWidget*>(ui.List1),
                             static_cast<QWidget*>(ui.Check1), static_cast<QWidget*>(ui.cmdNext)}) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_TRUE(control->isEnabled());
    }
}

TEST_F(WindowLayout, MultiLineBoxesHaveTheirScrollBars) {
    EXPECT_EQ(ui.txtAd->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(ui.txtAd->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    for (QPlainTextEdit* box : {ui.txtTitleDemo, ui.txtFootDemo, ui.txtPaperTop, ui.txtPaperFoot, ui.txtFile}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        EXPECT_EQ(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        EXPECT_NE(box->lineWrapMode(), QPlainTextEdit::NoWrap);
    }
    EXPECT_EQ(ui.List1->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_FALSE(ui.List1->isSortingEnabled());
}

class WindowKeyboard : public WindowLayout {
protected:
    void SetUp() override { window.ShowActive(); }
};

TEST_F(WindowKeyboard, FocusStartsInTheTitleAndTabWalksTheInputsInOrder) {
    EXPECT_EQ(QApplication::focusWidget(), ui.txtTitleName);
    const QWidget* const order[] = {ui.txtTitleDemo, ui.txtFootDemo, ui.txtPaperTop, ui.txtPaperFoot,
                                    ui.Command1,     ui.cmdRefresh,  ui.List1,       ui.Check1,
                                    ui.cmdNext,      ui.txtTitleName};
    for (const QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    }
    // Tab in a multi-line box moves on instead of typing a tab.
    EXPECT_EQ(window.txtTitleDemo().find(u'\t'), std::u16string::npos);
}

TEST_F(WindowKeyboard, ClickingAGreyedBoxLeavesTheFocusWhereItIs) {
    for (QWidget* box : {static_cast<QWidget*>(ui.txtAd), static_cast<QWidget*>(ui.Text1),
                         static_cast<QWidget*>(ui.txtFile)}) {
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), ui.txtTitleName) << box->objectName().toStdString();
    }
}

TEST_F(WindowKeyboard, LabelAccessKeysMoveTheFocusToTheControlAfterTheLabel) {
    QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), ui.txtTitleDemo);
    QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), ui.Command1);
    QTest::qWait(300);  // longer than a button's animated click
    EXPECT_EQ(window.folderDialogs, 0) << "Alt+D only moves the focus";
}

// A button's access key presses it as a short animated click.
TEST_F(WindowKeyboard, ButtonAccessKeysPressTheButtons) {
    QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.folderDialogs == 1; }, 2000));

    const ScratchFolder source{"chmbook-ui"};
    source.Write("a.txt", "a");
    window.folderAnswers.push_back(QString::fromStdString(source.path().string()));
    QTest::keyClick(&window, Qt::Key_B, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.List1ListCount() == 1; }, 2000));
    std::filesystem::remove(source / "a.txt");
    QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.List1ListCount() == 0; }, 2000)) << "Alt+R refreshes the list";

    QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.messages.size() == 1; }, 2000)) << "Alt+O generates";
    EXPECT_EQ(window.messages[0].text, frmMain::kNoTitleText);
}

TEST_F(WindowKeyboard, EnterInAMultiLineBoxGivesTheBuildCrLf) {
    QTest::mouseClick(ui.txtPaperTop->viewport(), Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), ui.txtPaperTop);
    TypeText(ui.txtPaperTop, QStringLiteral("<b>头</b>"));
    QTest::keyClick(ui.txtPaperTop, Qt::Key_Return);
    TypeText(ui.txtPaperTop, QStringLiteral("two"));
    QTest::keyClick(ui.txtPaperTop, Qt::Key_Enter);
    EXPECT_EQ(window.txtPaperTop(), u"<b>头</b>\r\ntwo\r\n");
    EXPECT_EQ(window.messages.size(), 0u) << "Enter must not press a button";
    EXPECT_EQ(window.List1ListCount(), 0u);

    // Enter in the title box presses nothing either: there is no default button.
    TypeText(ui.txtTitleName, QStringLiteral("x"));
    QTest::keyClick(ui.txtTitleName, Qt::Key_Return);
    EXPECT_EQ(window.messages.size(), 0u);
}

TEST_F(WindowKeyboard, NonBreakingSpacesInASnippetReachTheBuild) {
    ui.txtPaperFoot->clear();
    TypeText(ui.txtPaperFoot, QString(QChar(0x00A0)) + QStringLiteral("x"));
    EXPECT_EQ(window.txtPaperFoot(), u"\u00A0x");
}

}  // namespace
}  // namespace chmbook::uitest
