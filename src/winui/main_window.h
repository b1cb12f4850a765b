#pragma once
// The main window on Windows, built directly on the Win32 API: a view of the
// shared window logic (app/frm_main.h). It creates and lays out the
// controls, hands keyboard navigation to the dialog manager, and turns button
// presses, title edits and the close box into frmMain's commands.
#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/frm_main.h"
#include "app/window_view.h"

namespace chmbook::winui {

class MainWindow : public WindowView {
public:
    // Creates the window and its controls and runs Form_Load; the window is
    // not shown yet. `appPath` is the program's folder (see frmMain).
    MainWindow(std::u16string appPath, BuildOptions options = {});
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    HWND ControlHandle(Control control) const { return controls_[IndexOf(control)]; }
    frmMain& Logic() { return *logic_; }
    // Pixels per logical inch the window was laid out for (96 at 100 %).
    int Dpi() const { return dpi_; }

    void Show(int showCommand);
    // Dispatches one message the way the window's loop does: keyboard
    // navigation and access keys first, then the window procedures.
    void Dispatch(MSG& msg);
    // Runs the message loop until the window is destroyed; returns the exit code.
    int RunMessageLoop();

    // WindowView.
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

    static constexpr const wchar_t* kWindowClass = L"chmbook.frmMain";

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);
    void MoveFocus(WPARAM wParam, LPARAM lParam);
    void CreateControls();
    HWND CreateControl(const ControlLayout& row);
    int Scale(int pixelsAt96) const;

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    int dpi_ = 96;
    bool busyPointer_ = false;
    std::array<HWND, kWindowLayout.size()> controls_{};
    std::unique_ptr<frmMain> logic_;
};

}  // namespace chmbook::winui
