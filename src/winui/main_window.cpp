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

// The window logic names the controls it drives; the window knows them by id.
ControlId IdOf(Control control) {
    switch (control) {
        case Control::Text1: return kText1;
        case Control::txtTitleName: return kTxtTitleName;
        case Control::txtFile: return kTxtFile;
        case Control::txtAd: return kTxtAd;
        case Control::txtTitleDemo: return kTxtTitleDemo;
        case Control::txtFootDemo: return kTxtFootDemo;
        case Control::txtPaperTop: return kTxtPaperTop;
        case Control::txtPaperFoot: return kTxtPaperFoot;
        case Control::Check1: return kCheck1;
        case Control::List1: return kList1;
        case Control::Command1: return kCommand1;
        case Control::cmdRefresh: return kCmdRefresh;
        case Control::cmdNext: return kCmdNext;
    }
    throw std::logic_error("unknown control");
}

std::optional<Control> ControlOf(int id) {
    constexpr Control kAll[] = {Control::Text1,       Control::txtTitleName, Control::txtFile,
                                Control::txtAd,       Control::txtTitleDemo, Control::txtFootDemo,
                                Control::txtPaperTop, Control::txtPaperFoot, Control::Check1,
                                Control::List1,       Control::Command1,     Control::cmdRefresh,
                                Control::cmdNext};
    for (Control control : kAll) {
        if (IdOf(control) == id) return control;
    }
    return std::nullopt;
}

std::size_t IndexOf(ControlId id) { return static_cast<std::size_t>(id - kFrame1); }

const ControlSpec& SpecOf(ControlId id) { return kControls[IndexOf(id)]; }

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

WindowClass ClassOf(const ControlSpec& spec) {
    switch (spec.kind) {
        case Kind::kFrame: return {WC_BUTTONW, BS_GROUPBOX};
        case Kind::kLabel: return {WC_STATICW, SS_LEFT};
        case Kind::kLineBox: return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP};
        case Kind::kMultiLineBox:
            return {WC_EDITW, static_cast<DWORD>(ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP |
                                  (spec.verticalScrollBar ? WS_VSCROLL : 0))};
        // No BS_DEFPUSHBUTTON anywhere: Enter belongs to the text boxes.
        case Kind::kButton: return {WC_BUTTONW, BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP};
        case Kind::kListBox:
            return {WC_LISTBOXW, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP};
        case Kind::kCheckBox: return {WC_BUTTONW, BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP};
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

bool HasSunkenEdge(Kind kind) {
    return kind == Kind::kLineBox || kind == Kind::kMultiLineBox || kind == Kind::kListBox;
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
    hwnd_ = CreateWindowExW(0, kWindowClass, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (!hwnd_) throw std::runtime_error("the main window could not be created");

    font_ = CreateMessageFont();
    CreateControls();
    logic_ = std::make_unique<frmMain>(*this, std::move(appPath), std::move(options));
    logic_->Form_Load();
    ::SetFocus(ControlHandle(kTxtTitleName));
}

MainWindow::~MainWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (font_) DeleteObject(font_);
}

int MainWindow::Scale(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi_, 96); }

HWND MainWindow::ControlHandle(ControlId id) const { return controls_[IndexOf(id)]; }

void MainWindow::CreateControls() {
    for (const ControlSpec& spec : kControls) controls_[IndexOf(spec.id)] = CreateControl(spec);
}

// Controls are created in tab order, so that their order among the window's
// children is the tab order: the dialog manager moves the focus along it, and
// a label's access key moves the focus to the next control after the label
// that can take it.
HWND MainWindow::CreateControl(const ControlSpec& spec) {
    Rect place = spec.rect;
    if (spec.frame != ControlId{}) {
        const Rect& frame = SpecOf(spec.frame).rect;
        place.left += frame.left;
        place.top += frame.top;
    }
    const WindowClass windowClass = ClassOf(spec);
    DWORD style = WS_CHILD | WS_VISIBLE | windowClass.style;
    if (!spec.enabled) style = (style & ~WS_TABSTOP) | WS_DISABLED;
    const DWORD exStyle = HasSunkenEdge(spec.kind) ? WS_EX_CLIENTEDGE : 0;

    int width = Scale(place.width);
    int height = Scale(place.height);
    const HWND control =
        CreateWindowExW(exStyle, windowClass.name, spec.caption, style, Scale(place.left), Scale(place.top), width,
                        height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (!control) throw std::runtime_error(std::string("the control could not be created: ") + spec.name);
    if (font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (spec.kind == Kind::kMultiLineBox) SetWindowSubclass(control, MultiLineBoxProc, 0, 0);

    // A label takes the size of its caption in the window's font.
    if (spec.kind == Kind::kLabel) {
        const HDC dc = GetDC(control);
        const HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
        RECT extent{0, 0, 0, 0};
        DrawTextW(dc, spec.caption, -1, &extent, DT_CALCRECT | DT_SINGLELINE);
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
    if (id == kTxtTitleName && code == EN_CHANGE) {
        logic_->txtTitleName_Change();
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case kCommand1: logic_->Command1_Click(); break;
        case kCmdRefresh: logic_->cmdRefresh_Click(); break;
        case kCmdNext: logic_->cmdNext_Click(); break;
        default: break;
    }
}

// ---- WindowView ------------------------------------------------------------------

std::u16string MainWindow::Text(Control box) const { return U16(WindowText(ControlHandle(IdOf(box)))); }

void MainWindow::SetText(Control box, const std::u16string& text) {
    SetWindowTextW(ControlHandle(IdOf(box)), Wide(text).c_str());
}

int MainWindow::CheckValue() const {
    return SendMessageW(ControlHandle(kCheck1), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

std::size_t MainWindow::ListCount() const {
    const LRESULT count = SendMessageW(ControlHandle(kList1), LB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::u16string MainWindow::ListItem(std::size_t index) const {
    const HWND list = ControlHandle(kList1);
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(item.data()));
    item.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return U16(item);
}

void MainWindow::ClearList() { SendMessageW(ControlHandle(kList1), LB_RESETCONTENT, 0, 0); }

void MainWindow::AddListItem(const std::u16string& entry) {
    const HWND list = ControlHandle(kList1);
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
    EnableWindow(ControlHandle(IdOf(control)), enabled ? TRUE : FALSE);
}

void MainWindow::SetNextCaption(const std::u16string& caption) {
    SetWindowTextW(ControlHandle(kCmdNext), Wide(caption).c_str());
}

std::optional<Control> MainWindow::FocusedControl() const {
    const HWND focus = GetFocus();
    if (!focus || GetParent(focus) != hwnd_) return std::nullopt;
    return ControlOf(GetDlgCtrlID(focus));
}

void MainWindow::SetFocus(Control control) { ::SetFocus(ControlHandle(IdOf(control))); }

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
