#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/platform.h"
#include "ui/box_text.h"

namespace chmbook {

const QString MainWindow::kCaption = QStringLiteral("批量将TXT生成CHM文件（TXT文件需要ANSI编码）");

namespace {

// The client area and every control's place, in pixels at 96 dpi. A frame is
// placed in the client area; a control inside a frame is placed from the
// frame's own top-left corner.
constexpr int kClientWidth = 821;
constexpr int kClientHeight = 545;

const QRect kFrame1Rect(11, 9, 379, 313);
const QPoint kLabel8Pos(15, 22);
const QRect kTxtAdRect(12, 38, 356, 59);
const QPoint kLabel1Pos(15, 109);
const QRect kTxtTitleNameRect(73, 107, 287, 18);
const QPoint kLabel2Pos(16, 135);
const QRect kTxtTitleDemoRect(12, 155, 356, 57);
const QPoint kLabel3Pos(16, 219);
const QRect kTxtFootDemoRect(12, 239, 356, 59);

const QRect kFrame2Rect(11, 333, 379, 202);
const QPoint kLabel4Pos(15, 25);
const QRect kTxtPaperTopRect(11, 47, 356, 57);
const QPoint kLabel5Pos(15, 111);
const QRect kTxtPaperFootRect(11, 131, 356, 59);

const QRect kFrame3Rect(397, 9, 411, 526);
const QPoint kLabel6Pos(15, 24);
const QRect kText1Rect(15, 44, 383, 19);
const QRect kCommand1Rect(249, 72, 70, 21);
const QRect kCmdRefreshRect(328, 72, 70, 21);
const QRect kList1Rect(15, 106, 383, 292);
const QPoint kLabel7Pos(13, 418);
const QRect kTxtFileRect(13, 436, 275, 45);
const QRect kCmdNextRect(301, 421, 96, 78);
const QRect kCheck1Rect(13, 491, 289, 17);

// Every control uses one font: 9 points at 96 dpi, that is 12 pixels, which
// is what the sizes above were measured with. A CJK face first, so that the
// Chinese captions and the Latin letters between them share one design.
QFont WindowFont() {
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"), font.family()});
    font.setPixelSize(12);
    return font;
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption, const QRect& rect) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(rect);
    return frame;
}

// A label sizes itself to its caption, from its top-left corner.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, const QPoint& pos) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(pos);
    label->adjustSize();
    return label;
}

QLineEdit* MakeLineBox(QWidget* parent, const char* name, const QRect& rect) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(rect);
    return box;
}

enum class ScrollBar { kNone, kVertical };

// A multi-line box: Tab moves the focus on, Enter starts a new line, long lines
// wrap at the box's edge.
QPlainTextEdit* MakeMultiLineBox(QWidget* parent, const char* name, const QRect& rect, ScrollBar bar) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(rect);
    box->setTabChangesFocus(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(bar == ScrollBar::kVertical ? Qt::ScrollBarAlwaysOn
                                                                : Qt::ScrollBarAlwaysOff);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& rect) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    button->setAutoDefault(false);  // Enter belongs to the text boxes: no default button
    return button;
}

// A label's access key moves the focus to its buddy and does nothing more:
// Qt would also press a buddy that is a button.
class FocusBuddyOnAccessKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Shortcut) return false;
        QWidget* buddy = static_cast<QLabel*>(watched)->buddy();
        if (buddy && buddy->isEnabled()) buddy->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
};

// A box that only the program fills: shown greyed, never focused or selected.
void MakeReadOnlyForUser(QWidget* box) {
    box->setEnabled(false);
    box->setFocusPolicy(Qt::NoFocus);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : MainWindow(platform::ProgramFolder(), BuildOptions{}, parent) {}

MainWindow::MainWindow(std::u16string appPath, BuildOptions options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      frm_(*this, std::move(appPath), std::move(options)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/chmbook.xpm")));
    setFont(WindowFont());
    setFixedSize(kClientWidth, kClientHeight);

    CreateControls();
    SetTabOrder();
    frm_.Form_Load();
    ConnectCommands();
    ui_.txtTitleName->setFocus();
}

MainWindow::~MainWindow() { SetBusyPointer(false); }

void MainWindow::CreateControls() {
    ui_.Frame1 = MakeFrame(this, "Frame1", QStringLiteral("列表页设置"), kFrame1Rect);
    ui_.Label8 = MakeLabel(ui_.Frame1, "Label8",
                           QStringLiteral("该CHM文件每一页的置顶信息（允许加入HTML代码）:"), kLabel8Pos);
    ui_.txtAd = MakeMultiLineBox(ui_.Frame1, "txtAd", kTxtAdRect, ScrollBar::kNone);
    ui_.Label1 = MakeLabel(ui_.Frame1, "Label1", QStringLiteral("标题(&T):"), kLabel1Pos);
    ui_.txtTitleName = MakeLineBox(ui_.Frame1, "txtTitleName", kTxtTitleNameRect);
    ui_.Label2 = MakeLabel(ui_.Frame1, "Label2",
                           QStringLiteral("该CHM文件的描述说明（允许加入HTML代码）:"), kLabel2Pos);
    ui_.txtTitleDemo = MakeMultiLineBox(ui_.Frame1, "txtTitleDemo", kTxtTitleDemoRect, ScrollBar::kVertical);
    ui_.Label3 = MakeLabel(ui_.Frame1, "Label3",
                           QStringLiteral("该页面页脚信息（允许加入HTML代码）:"), kLabel3Pos);
    ui_.txtFootDemo = MakeMultiLineBox(ui_.Frame1, "txtFootDemo", kTxtFootDemoRect, ScrollBar::kVertical);

    ui_.Frame2 = MakeFrame(this, "Frame2", QStringLiteral("内容页设置"), kFrame2Rect);
    ui_.Label4 = MakeLabel(ui_.Frame2, "Label4",
                           QStringLiteral("该页面的头部信息说明（允许加入HTML代码）:"), kLabel4Pos);
    ui_.txtPaperTop = MakeMultiLineBox(ui_.Frame2, "txtPaperTop", kTxtPaperTopRect, ScrollBar::kVertical);
    ui_.Label5 = MakeLabel(ui_.Frame2, "Label5",
                           QStringLiteral("该页面页脚信息（允许加入HTML代码）:"), kLabel5Pos);
    ui_.txtPaperFoot = MakeMultiLineBox(ui_.Frame2, "txtPaperFoot", kTxtPaperFootRect, ScrollBar::kVertical);

    ui_.Frame3 = MakeFrame(this, "Frame3", QStringLiteral("批量文件设置"), kFrame3Rect);
    ui_.Label6 = MakeLabel(ui_.Frame3, "Label6",
                           QStringLiteral("请选择TXT文件所在的一个目录(&D):"), kLabel6Pos);
    ui_.Text1 = MakeLineBox(ui_.Frame3, "Text1", kText1Rect);
    ui_.Command1 = MakeButton(ui_.Frame3, "Command1", QStringLiteral("浏览(&B)"), kCommand1Rect);
    ui_.cmdRefresh = MakeButton(ui_.Frame3, "cmdRefresh", QStringLiteral("刷新(&R)"), kCmdRefreshRect);
    ui_.List1 = new QListWidget(ui_.Frame3);
    ui_.List1->setObjectName(QStringLiteral("List1"));
    ui_.List1->setGeometry(kList1Rect);
    ui_.List1->setSelectionMode(QAbstractItemView::SingleSelection);
    ui_.List1->setSortingEnabled(false);
    ui_.Label7 = MakeLabel(ui_.Frame3, "Label7", QStringLiteral("CHM保存的文件名称及路径:"), kLabel7Pos);
    ui_.txtFile = MakeMultiLineBox(ui_.Frame3, "txtFile", kTxtFileRect, ScrollBar::kVertical);
    ui_.cmdNext = MakeButton(ui_.Frame3, "cmdNext", QString::fromStdU16String(std::u16string(frmMain::kNextCaption)), kCmdNextRect);
    ui_.Check1 = new QCheckBox(QStringLiteral("在生成 CHM 电子书文件后删除原目标文件文件。"), ui_.Frame3);
    ui_.Check1->setObjectName(QStringLiteral("Check1"));
    ui_.Check1->setGeometry(kCheck1Rect);

    // A label's access key moves the focus to the control after it in the tab order.
    auto* accessKeys = new FocusBuddyOnAccessKey(this);
    ui_.Label1->setBuddy(ui_.txtTitleDemo);
    ui_.Label1->installEventFilter(accessKeys);
    ui_.Label6->setBuddy(ui_.Command1);
    ui_.Label6->installEventFilter(accessKeys);

    MakeReadOnlyForUser(ui_.txtAd);
    MakeReadOnlyForUser(ui_.Text1);
    MakeReadOnlyForUser(ui_.txtFile);
}

void MainWindow::SetTabOrder() {
    QWidget* const order[] = {ui_.txtTitleName, ui_.txtTitleDemo, ui_.txtFootDemo, ui_.txtPaperTop,
                              ui_.txtPaperFoot, ui_.Command1,    ui_.cmdRefresh,  ui_.List1,
                              ui_.Check1,       ui_.cmdNext};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void MainWindow::ConnectCommands() {
    connect(ui_.txtTitleName, &QLineEdit::textChanged, this, [this] { frm_.txtTitleName_Change(); });
    connect(ui_.Command1, &QPushButton::clicked, this, [this] { frm_.Command1_Click(); });
    connect(ui_.cmdRefresh, &QPushButton::clicked, this, [this] { frm_.cmdRefresh_Click(); });
    connect(ui_.cmdNext, &QPushButton::clicked, this, [this] { frm_.cmdNext_Click(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (frm_.Form_QueryUnload()) {
        QWidget::closeEvent(event);
    } else {
        event->ignore();
    }
}

// ---- WindowView -------------------------------------------------------------

QWidget* MainWindow::Widget(Control control) const {
    switch (control) {
        case Control::Text1: return ui_.Text1;
        case Control::txtTitleName: return ui_.txtTitleName;
        case Control::txtFile: return ui_.txtFile;
        case Control::txtAd: return ui_.txtAd;
        case Control::txtTitleDemo: return ui_.txtTitleDemo;
        case Control::txtFootDemo: return ui_.txtFootDemo;
        case Control::txtPaperTop: return ui_.txtPaperTop;
        case Control::txtPaperFoot: return ui_.txtPaperFoot;
        case Control::Check1: return ui_.Check1;
        case Control::List1: return ui_.List1;
        case Control::Command1: return ui_.Command1;
        case Control::cmdRefresh: return ui_.cmdRefresh;
        case Control::cmdNext: return ui_.cmdNext;
    }
    return nullptr;
}

// Multi-line boxes hand their line breaks over as CR LF.
std::u16string MainWindow::Text(Control box) const {
    QWidget* widget = Widget(box);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) return ToU16(line->text());
    if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) return MultiLineText(multi);
    return {};
}

void MainWindow::SetText(Control box, const std::u16string& text) {
    QWidget* widget = Widget(box);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) line->setText(ToQString(text));
    if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) SetMultiLineText(multi, text);
}

int MainWindow::CheckValue() const { return ui_.Check1->isChecked() ? 1 : 0; }
std::size_t MainWindow::ListCount() const { return static_cast<std::size_t>(ui_.List1->count()); }

std::u16string MainWindow::ListItem(std::size_t index) const {
    return ToU16(ui_.List1->item(static_cast<int>(index))->text());
}

void MainWindow::ClearList() { ui_.List1->clear(); }
void MainWindow::AddListItem(const std::u16string& entry) { ui_.List1->addItem(ToQString(entry)); }
void MainWindow::SetEnabled(Control control, bool enabled) { Widget(control)->setEnabled(enabled); }

void MainWindow::SetNextCaption(const std::u16string& caption) {
    QString text = ToQString(caption);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ui_.cmdNext->setText(text);
}

std::optional<Control> MainWindow::FocusedControl() const {
    const QWidget* focus = QApplication::focusWidget();
    for (const Control control :
         {Control::Text1, Control::txtTitleName, Control::txtFile, Control::txtAd, Control::txtTitleDemo,
          Control::txtFootDemo, Control::txtPaperTop, Control::txtPaperFoot, Control::Check1, Control::List1,
          Control::Command1, Control::cmdRefresh, Control::cmdNext}) {
        if (focus && focus == Widget(control)) return control;
    }
    return std::nullopt;
}

void MainWindow::SetFocus(Control control) { Widget(control)->setFocus(); }

// The dialog belongs to the window, so that no command can start while it is open.
std::u16string MainWindow::ChooseFolder(const std::u16string& title) {
    const QString start = ui_.Text1->text().isEmpty() ? QDir::homePath() : ui_.Text1->text();
    const QString folder =
        QFileDialog::getExistingDirectory(this, ToQString(title), start, QFileDialog::ShowDirsOnly);
    return folder.isEmpty() ? std::u16string() : ToU16(QDir::toNativeSeparators(folder));
}

void MainWindow::ShowMessage(MessageIcon icon, const std::u16string& caption, const std::u16string& text) {
    const QMessageBox::Icon qtIcon =
        icon == MessageIcon::kInformation ? QMessageBox::Information : QMessageBox::Warning;
    QMessageBox box(qtIcon, ToQString(caption), ToQString(text), QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::SetBusyPointer(bool busy) {
    if (busy == busyPointerShown_) return;
    busyPointerShown_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void MainWindow::DoEvents() { QCoreApplication::processEvents(); }

void MainWindow::SetCaption(const std::u16string& caption) { setWindowTitle(ToQString(caption)); }

void MainWindow::Close() { close(); }

}  // namespace chmbook
