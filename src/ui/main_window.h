#pragma once
// The Qt main window: a view of frmMain. It creates and lays out the
// controls, gives them the keyboard (tab order, access keys), and hands every
// command to frmMain, which reads and fills the controls through WindowView.
#include <QString>
#include <QWidget>
#include <string>

#include "app/frm_main.h"
#include "app/window_view.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace chmbook {

class MainWindow : public QWidget, public WindowView {
    Q_OBJECT

public:
    // The controls, under the names the rest of the program knows them by.
    struct Controls {
        QGroupBox* Frame1 = nullptr;  // list page settings
        QLabel* Label8 = nullptr;
        QPlainTextEdit* txtAd = nullptr;
        QLabel* Label1 = nullptr;
        QLineEdit* txtTitleName = nullptr;
        QLabel* Label2 = nullptr;
        QPlainTextEdit* txtTitleDemo = nullptr;
        QLabel* Label3 = nullptr;
        QPlainTextEdit* txtFootDemo = nullptr;

        QGroupBox* Frame2 = nullptr;  // content page settings
        QLabel* Label4 = nullptr;
        QPlainTextEdit* txtPaperTop = nullptr;
        QLabel* Label5 = nullptr;
        QPlainTextEdit* txtPaperFoot = nullptr;

        QGroupBox* Frame3 = nullptr;  // the batch
        QLabel* Label6 = nullptr;
        QLineEdit* Text1 = nullptr;
        QPushButton* Command1 = nullptr;
        QPushButton* cmdRefresh = nullptr;
        QListWidget* List1 = nullptr;
        QLabel* Label7 = nullptr;
        QPlainTextEdit* txtFile = nullptr;
        QPushButton* cmdNext = nullptr;
        QCheckBox* Check1 = nullptr;
    };

    // The program's folder is the executable's folder.
    explicit MainWindow(QWidget* parent = nullptr);
    // The program's folder is `appPath` (the output and work folders go
    // there); `options` say how a build ends.
    MainWindow(std::u16string appPath, BuildOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    const Controls& ui() const { return ui_; }
    // The commands, and the window's state as the build reads it.
    frmMain& frm() { return frm_; }
    const frmMain& frm() const { return frm_; }

    // WindowView
    std::u16string Text(Control box) const override;
    void SetText(Control box, const std::u16string& text) override;
    int CheckValue() const override;
    std::size_t ListCount() const override;
    std::u16string ListItem(std::size_t index) const override;
    void ClearList() override;
    void AddListItem(const std::u16string& entry) override;
    void SetEnabled(Control control, bool enabled) override;
    void SetNextCaption(const std::u16string& caption) override;
    std::optional<Control> FocusedControl() const override;
    void SetFocus(Control control) override;
    std::u16string ChooseFolder(const std::u16string& title) override;
    void ShowMessage(MessageIcon icon, const std::u16string& caption, const std::u16string& text) override;
    void SetBusyPointer(bool busy) override;
    void DoEvents() override;
    void SetCaption(const std::u16string& caption) override;
    void Close() override;

    static const QString kCaption;

protected:
    // A close while a build runs is put off until the build has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void SetTabOrder();
    void ConnectCommands();
    QWidget* Widget(Control control) const;

    Controls ui_;
    frmMain frm_;
    bool busyPointerShown_ = false;
};

}  // namespace chmbook
