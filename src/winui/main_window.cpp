#include "winui/main_window.h"

#include <commctrl.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace chmbook::winui {
namespace {

constexpr int kIconResource = 1;

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }
std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A control's id is its place in the tab order above a base. The ids stay
// above IDOK/IDCANCEL, which the dialog manager sends for Enter and Esc: no
// control answers to them, so the window has no default button.
constexpr int kFirstControlId = 100;

int IdOf(Control control) { return kFirstControlId + static_cast<int>(IndexOf(control)); }

std::optional<Control> ControlOf(int id) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(kWindowLayout.size())) return std::nullopt;
    return kWindowLayout[static_cast<std::size_t>(index)].control;
}

// UTF-16 on both sides: Windows' wide characters are 16 bits.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
const wchar_t* AsWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// The system's message font, the one dialogs and message boxes use.
HFONT CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

struct WindowClass {
    const wchar_t* name;
    DWORD style;
};

WindowClass ClassOf(const ControlLayout& row) {
    switch (row.kind) {
        case ControlKind::kFrame: return {WC_BUTTONW, BS_GROUPBOX};
        case ControlKind::kLabel: return {WC_STATICW, SS_LEFT};
        case ControlKind::kLineBox: return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP};
        case ControlKind::kMultiLineBox:
            return {WC_EDITW, static_cast<DWORD>(ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP |
                                  (row.verticalScrollBar ? WS_VSCROLL : 0))};
        // No BS_DEFPUSHBUTTON anywhere: Enter belongs to the text boxes.
        case ControlKind::kButton: return {WC_BUTTONW, BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP};
        case ControlKind::kListBox:
            return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP};
        case ControlKind::kCheckBox: return {WC_BUTTONW, BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP};
    }
    throw std::logic_error("unknown control kind");
}

// A multi-line box asks the dialog manager for every key, Tab included; it
// keeps Enter (a new line) but leaves Tab and Shift+Tab to move the focus on.
LRESULT CALLBACK MultiLineBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message != WM_GETDLGCODE) return DefSubclassProc(box, message, wParam, lParam);
    LRESULT code = DefSubclassProc(box, message, wParam, lParam);
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (key && key->message == WM_KEYDOWN && key->wParam == VK_TAB) {
        code &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_WANTTAB);
    } else if (!key) {
        code &= ~DLGC_WANTTAB;
    }
    return code;
}

bool HasSunkenEdge(ControlKind kind) {
    return kind == ControlKind::kLineBox || kind == ControlKind::kMultiLineBox || kind == ControlKind::kListBox;
}

}  // namespace

MainWindow::MainWindow(std::u16string appPath, BuildOptions options) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MainWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when a second window registers it again

    const HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    const std::wstring caption(kWindowCaption.begin(), kWindowCaption.end());
    hwnd_ = CreateWindowExW(0, kWindowClass, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (!hwnd_) throw std::runtime_error("the main window could not be created");

    font_ = CreateMessageFont();
    CreateControls();
    logic_ = std::make_unique<frmMain>(*this, std::move(appPath), std::move(options));
    logic_->Form_Load();
    ::SetFocus(ControlHandle(Control::txtTitleName));
}

MainWindow::~MainWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (font_) DeleteObject(font_);
}

int MainWindow::Scale(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi_, 96); }

void MainWindow::CreateControls() {
    for (const ControlLayout& row : kWindowLayout) controls_[IndexOf(row.control)] = CreateControl(row);
}

// Controls are created in tab order, so that their order among the window's
// children is the tab order: the dialog manager moves the focus along it, and
// a label's access key moves the focus to the next control after the label
// that can take it.
HWND MainWindow::CreateControl(const ControlLayout& row) {
    PixelRect place = row.rect;
    if (row.frame) {
        const PixelRect& frame = LayoutOf(*row.frame).rect;
        place.left += frame.left;
        place.top += frame.top;
    }
    const WindowClass windowClass = ClassOf(row);
    DWORD style = WS_CHILD | WS_VISIBLE | windowClass.style;
    if (!row.enabled) style = (style & ~WS_TABSTOP) | WS_DISABLED;
    const DWORD exStyle = HasSunkenEdge(row.kind) ? WS_EX_CLIENTEDGE : 0;

    const HWND control = CreateWindowExW(exStyle, windowClass.name, AsWide(row.caption), style, Scale(place.left),
                                         Scale(place.top), Scale(place.width), Scale(place.height), hwnd_,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(row.control))),
                                         GetModuleHandleW(nullptr), nullptr);
    if (!control) throw std::runtime_error(std::string("the control could not be created: ") + row.name);
    if (font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (row.kind == ControlKind::kMultiLineBox) SetWindowSubclass(control, MultiLineBoxProc, 0, 0);

    // A label takes the size of its caption in the window's font.
    if (row.kind == ControlKind::kLabel) {
        const HDC dc = GetDC(control);
        const HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
        RECT extent{0, 0, 0, 0};
        DrawTextW(dc, AsWide(row.caption), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        SetWindowPos(control, nullptr, 0, 0, extent.right, extent.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return control;
}

void MainWindow::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

void MainWindow::Dispatch(MSG& msg) {
    if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int MainWindow::RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* window = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
    return window->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NEXTDLGCTL:
            MoveFocus(wParam, lParam);
            return 0;
        case WM_SETCURSOR:
            if (busyPointer_) {
                SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
                return TRUE;
            }
            break;
        case WM_CLOSE:
            if (logic_ && !logic_->Form_QueryUnload()) return 0;
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            hwnd_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// The dialog manager asks the window to move the focus for Tab, Shift+Tab and
// a label's access key, as it would ask a dialog box: to the control given
// (lParam set), or to the next or previous control that can take it.
void MainWindow::MoveFocus(WPARAM wParam, LPARAM lParam) {
    const HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                       : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0 ? TRUE : FALSE);
    if (target) ::SetFocus(target);
}

// Enter and Esc reach the window as IDOK and IDCANCEL from the dialog
// manager; no control has those ids, so they do nothing.
void MainWindow::OnCommand(int id, int code) {
    if (!logic_) return;  // controls report changes while they are being created
    const std::optional<Control> control = ControlOf(id);
    if (control == Control::txtTitleName && code == EN_CHANGE) {
        logic_->txtTitleName_Change();
        return;
    }
    if (!control || code != BN_CLICKED) return;
    switch (*control) {
        case Control::Command1: logic_->Command1_Click(); break;
        case Control::cmdRefresh: logic_->cmdRefresh_Click(); break;
        case Control::cmdNext: logic_->cmdNext_Click(); break;
        default: break;
    }
}

// ---- WindowView ------------------------------------------------------------------

std::u16string MainWindow::Text(Control box) const { return U16(WindowText(ControlHandle(box))); }

void MainWindow::SetText(Control box, const std::u16string& text) {
    SetWindowTextW(ControlHandle(box), Wide(text).c_str());
}

int MainWindow::CheckValue() const {
    return SendMessageW(ControlHandle(Control::Check1), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

std::size_t MainWindow::ListCount() const {
    const LRESULT count = SendMessageW(ControlHandle(Control::List1), LB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::u16string MainWindow::ListItem(std::size_t index) const {
    const HWND list = ControlHandle(Control::List1);
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(item.data()));
    item.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return U16(item);
}

void MainWindow::ClearList() { SendMessageW(ControlHandle(Control::List1), LB_RESETCONTENT, 0, 0); }

void MainWindow::AddListItem(const std::u16string& entry) {
    const HWND list = ControlHandle(Control::List1);
    const std::wstring item = Wide(entry);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    // Long paths scroll sideways instead of being cut off.
    const HDC dc = GetDC(list);
    const HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32W(dc, item.c_str(), static_cast<int>(item.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    const auto current = static_cast<int>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0));
    SendMessageW(list, LB_SETHORIZONTALEXTENT, std::max<LONG>(current, extent.cx + Scale(4)), 0);
}

void MainWindow::SetEnabled(Control control, bool enabled) {
    EnableWindow(ControlHandle(control), enabled ? TRUE : FALSE);
}

void MainWindow::SetNextCaption(const std::u16string& caption) {
    SetWindowTextW(ControlHandle(Control::cmdNext), Wide(caption).c_str());
}

std::optional<Control> MainWindow::FocusedControl() const {
    const HWND focus = GetFocus();
    if (!focus || GetParent(focus) != hwnd_) return std::nullopt;
    return ControlOf(GetDlgCtrlID(focus));
}

void MainWindow::SetFocus(Control control) { ::SetFocus(ControlHandle(control)); }

// The shell's folder dialog, owned by the window so that no command can start
// while it is open.
std::u16string MainWindow::ChooseFolder(const std::u16string& title) {
    const std::wstring prompt = Wide(title);
    BROWSEINFOW browse{};
    browse.hwndOwner = hwnd_;
    browse.lpszTitle = prompt.c_str();
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
    if (!item) return {};
    std::vector<wchar_t> path(MAX_PATH + 1, L'\0');
    const bool isFolder = SHGetPathFromIDListW(item, path.data()) != FALSE;
    CoTaskMemFree(item);
    return isFolder ? U16(path.data()) : std::u16string();
}

void MainWindow::ShowMessage(MessageIcon icon, const std::u16string& caption, const std::u16string& text) {
    const UINT iconFlag = icon == MessageIcon::kWarning ? MB_ICONWARNING : MB_ICONINFORMATION;
    MessageBoxW(hwnd_, Wide(text).c_str(), Wide(caption).c_str(), MB_OK | iconFlag);
}

// The arrow with the hourglass: the window still answers while a build runs.
void MainWindow::SetBusyPointer(bool busy) {
    busyPointer_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_APPSTARTING : IDC_ARROW));
}

void MainWindow::DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
            return;
        }
        Dispatch(msg);
    }
}

void MainWindow::SetCaption(const std::u16string& caption) {
    if (hwnd_) SetWindowTextW(hwnd_, Wide(caption).c_str());
}

void MainWindow::Close() {
    if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

}  // namespace chmbook::winui
