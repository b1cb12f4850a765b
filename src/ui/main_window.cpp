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

#include <algorithm>
#include <string_view>

#include "platform/platform.h"
#include "ui/box_text.h"

namespace chmbook {

namespace {

// Every control uses one font: 9 points at 96 dpi, that is 12 pixels, which
// is what the window's layout was measured with. A CJK face first, so that the
// Chinese captions and the Latin letters between them share one design.
QFont WindowFont() {
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"), font.family()});
    font.setPixelSize(12);
    return font;
}

QRect ToQRect(const PixelRect& rect) { return QRect(rect.left, rect.top, rect.width, rect.height); }

QString Caption(const ControlLayout& row) { return QString::fromUtf16(row.caption); }

// A multi-line box: Tab moves the focus on, Enter starts a new line, long lines
// wrap at the box's edge.
QPlainTextEdit* MakeMultiLineBox(const ControlLayout& row, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setTabChangesFocus(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(row.verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    return box;
}

QPushButton* MakeButton(const ControlLayout& row, QWidget* parent) {
    auto* button = new QPushButton(Caption(row), parent);
    button->setAutoDefault(false);  // Enter belongs to the text boxes: no default button
    return button;
}

QListWidget* MakeList(QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    return list;
}

// The widget of a control's kind, with its caption; the place comes after.
QWidget* MakeWidget(const ControlLayout& row, QWidget* parent) {
    switch (row.kind) {
        case ControlKind::kFrame: return new QGroupBox(Caption(row), parent);
        case ControlKind::kLabel: return new QLabel(Caption(row), parent);
        case ControlKind::kLineBox: return new QLineEdit(parent);
        case ControlKind::kMultiLineBox: return MakeMultiLineBox(row, parent);
        case ControlKind::kButton: return MakeButton(row, parent);
        case ControlKind::kListBox: return MakeList(parent);
        case ControlKind::kCheckBox: return new QCheckBox(Caption(row), parent);
    }
    return nullptr;
}

bool HasAccessKey(const ControlLayout& row) {
    return std::u16string_view(row.caption).find(u'&') != std::u16string_view::npos;
}

// The first control after `label` in the tab order that can take the focus.
Control FocusTargetAfter(Control label) {
    std::size_t i = IndexOf(label) + 1;
    while (!TakesFocus(kWindowLayout[i])) ++i;
    return kWindowLayout[i].control;
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
    setWindowTitle(QString::fromUtf16(kWindowCaption.data(), static_cast<qsizetype>(kWindowCaption.size())));
    setWindowIcon(QIcon(QStringLiteral(":/chmbook.xpm")));
    setFont(WindowFont());
    setFixedSize(kClientWidth, kClientHeight);

    CreateControls();
    SetTabOrder();
    frm_.Form_Load();
    ConnectCommands();
    Widget(Control::txtTitleName)->setFocus();
}

MainWindow::~MainWindow() { SetBusyPointer(false); }

void MainWindow::CreateControls() {
    for (const ControlLayout& row : kWindowLayout) {
        QWidget* widget = MakeWidget(row, row.frame ? Widget(*row.frame) : this);
        widget->setObjectName(QString::fromLatin1(row.name));
        // A label sizes itself to its caption, from its top-left corner.
        if (row.kind == ControlKind::kLabel) {
            widget->move(row.rect.left, row.rect.top);
            widget->adjustSize();
        } else {
            widget->setGeometry(ToQRect(row.rect));
        }
        if (!row.enabled) MakeReadOnlyForUser(widget);
        widgets_[IndexOf(row.control)] = widget;
    }

    auto* accessKeys = new FocusBuddyOnAccessKey(this);
    for (const ControlLayout& row : kWindowLayout) {
        if (row.kind != ControlKind::kLabel || !HasAccessKey(row)) continue;
        auto* label = WidgetAs<QLabel>(row.control);
        label->setBuddy(Widget(FocusTargetAfter(row.control)));
        label->installEventFilter(accessKeys);
    }
}

void MainWindow::SetTabOrder() {
    QWidget* previous = nullptr;
    for (const ControlLayout& row : kWindowLayout) {
        if (!TakesFocus(row)) continue;
        if (previous) setTabOrder(previous, Widget(row.control));
        previous = Widget(row.control);
    }
}

void MainWindow::ConnectCommands() {
    connect(WidgetAs<QLineEdit>(Control::txtTitleName), &QLineEdit::textChanged, this,
            [this] { frm_.txtTitleName_Change(); });
    connect(WidgetAs<QPushButton>(Control::Command1), &QPushButton::clicked, this, [this] { frm_.Command1_Click(); });
    connect(WidgetAs<QPushButton>(Control::cmdRefresh), &QPushButton::clicked, this,
            [this] { frm_.cmdRefresh_Click(); });
    connect(WidgetAs<QPushButton>(Control::cmdNext), &QPushButton::clicked, this, [this] { frm_.cmdNext_Click(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (frm_.Form_QueryUnload()) {
        QWidget::closeEvent(event);
    } else {
        event->ignore();
    }
}

// ---- WindowView -------------------------------------------------------------

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

int MainWindow::CheckValue() const { return WidgetAs<QCheckBox>(Control::Check1)->isChecked() ? 1 : 0; }
QListWidget* MainWindow::List1() const { return WidgetAs<QListWidget>(Control::List1); }
std::size_t MainWindow::ListCount() const { return static_cast<std::size_t>(List1()->count()); }
std::u16string MainWindow::ListItem(std::size_t index) const {
    return ToU16(List1()->item(static_cast<int>(index))->text());
}
void MainWindow::ClearList() { List1()->clear(); }
void MainWindow::AddListItem(const std::u16string& entry) { List1()->addItem(ToQString(entry)); }
void MainWindow::SetEnabled(Control control, bool enabled) { Widget(control)->setEnabled(enabled); }

void MainWindow::SetNextCaption(const std::u16string& caption) {
    QString text = ToQString(caption);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    WidgetAs<QPushButton>(Control::cmdNext)->setText(text);
}

std::optional<Control> MainWindow::FocusedControl() const {
    const auto found = std::find(widgets_.begin(), widgets_.end(), QApplication::focusWidget());
    if (found == widgets_.end()) return std::nullopt;
    return kWindowLayout[static_cast<std::size_t>(found - widgets_.begin())].control;
}

void MainWindow::SetFocus(Control control) { Widget(control)->setFocus(); }

// The dialog belongs to the window, so that no command can start while it is open.
std::u16string MainWindow::ChooseFolder(const std::u16string& title) {
    const QString folder1 = WidgetAs<QLineEdit>(Control::Text1)->text();
    const QString start = folder1.isEmpty() ? QDir::homePath() : folder1;
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
