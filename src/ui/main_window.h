#pragma once
// The Qt main window: a view of frmMain. It builds the controls from the
// window's layout (app/window_layout.h), gives them the keyboard (tab order, access keys), and hands every
// command to frmMain, which reads and fills the controls through WindowView.
#include <QString>
#include <QWidget>
#include <array>
#include <string>

#include "app/frm_main.h"
#include "app/window_view.h"

class QListWidget;

namespace chmbook {

class MainWindow : public QWidget, public WindowView {
    Q_OBJECT

public:
    // The program's folder is the executable's folder.
    explicit MainWindow(QWidget* parent = nullptr);
    // The program's folder is `appPath` (the output and work folders go
    // there); `options` say how a build ends.
    MainWindow(std::u16string appPath, BuildOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The widget of a control; WidgetAs gives it as the class of its kind.
    QWidget* Widget(Control control) const { return widgets_[IndexOf(control)]; }
    template <typename T>
    T* WidgetAs(Control control) const {
        return qobject_cast<T*>(Widget(control));
    }
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

protected:
    // A close while a build runs is put off until the build has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void SetTabOrder();
    void ConnectCommands();
    QListWidget* List1() const;

    std::array<QWidget*, kWindowLayout.size()> widgets_{};
    frmMain frm_;
    bool busyPointerShown_ = false;
};

}  // namespace chmbook
