// The native Windows window, driven through the Win32 API as a user's keys
// and clicks would reach it. Runs under Wine with a display (Xvfb). The
// commands themselves are tested once against a fake view (tests/app); these
// tests check what is the window's own: controls, keyboard, dialogs, and one
// whole build through the real compiler.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "winui/main_window.h"

namespace chmbook::winui {
namespace {

namespace fs = std::filesystem;
using enum Control;

struct ShownMessage {
    MessageIcon icon;
    std::u16string caption;
    std::u16string text;
};

// The window with its two dialogs answered by the test instead of the user.
class TestWindow : public MainWindow {
public:
    using MainWindow::MainWindow;

    std::u16string folderAnswer;
    int folderRequests = 0;
    std::vector<ShownMessage> messages;

    std::u16string ChooseFolder(const std::u16string&) override {
        ++folderRequests;
        return folderAnswer;
    }
    void ShowMessage(MessageIcon icon, const std::u16string& caption, const std::u16string& text) override {
        messages.push_back({icon, caption, text});
    }
};

// A folder of its own for each test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH, temp);
        path_ = fs::path(temp) / (L"chmbook winui 测试 " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(counter_++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }
    std::u16string U16() const {
        const std::wstring wide = path_.wstring();
        return std::u16string(wide.begin(), wide.end());
    }
    void Write(const std::wstring& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// Runs the window's own loop until no message is left.
void Pump(MainWindow& window) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) window.Dispatch(msg);
}

void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// A key press as the window's loop receives it from the keyboard.
void PressKey(MainWindow& window, UINT key, bool shift = false) {
    SetShift(shift);
    const HWND target = GetFocus() ? GetFocus() : window.Handle();
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
    Pump(window);
    SetShift(false);
}

// Alt+letter: the system character that carries an access key.
void PressAltKey(MainWindow& window, wchar_t letter) {
    const HWND target = GetFocus() ? GetFocus() : window.Handle();
    PostMessageW(target, WM_SYSCHAR, letter, 1 | (1u << 29));
    Pump(window);
}

void Type(MainWindow& window, const std::wstring& text) {
    for (wchar_t c : text) {
        PostMessageW(GetFocus(), WM_CHAR, c, 1);
        Pump(window);
    }
}

void Click(MainWindow& window, Control id) {
    SendMessageW(window.ControlHandle(id), BM_CLICK, 0, 0);
    Pump(window);
}

// The button's notification alone, as a press would send it, without the
// press taking the focus: for checking where the command itself puts it.
void Notify(MainWindow& window, Control control) {
    const HWND button = window.ControlHandle(control);
    SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    Pump(window);
}

std::string NameOfFocus(const MainWindow& window) {
    for (const ControlLayout& row : kWindowLayout) {
        if (window.ControlHandle(row.control) == GetFocus()) return row.name;
    }
    return "(none)";
}

// The control's rectangle in the client area, at 96 dpi.
RECT RectAt96(const MainWindow& window, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    const int dpi = window.Dpi();
    return {MulDiv(rect.left, 96, dpi), MulDiv(rect.top, 96, dpi), MulDiv(rect.right, 96, dpi),
            MulDiv(rect.bottom, 96, dpi)};
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// More than the one pixel by which the delete option's box reaches under the
// Generate button in the window's design.
bool Overlap(const RECT& a, const RECT& b) {
    const long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 1 && height > 1;
}

class MainWindowTest : public ::testing::Test {
protected:
    ScratchFolder app;
    // The finished book is not opened: no viewer starts during the tests.
    TestWindow window{app.U16(), BuildOptions{.openBook = false}};

    HWND Handle(Control id) const { return window.ControlHandle(id); }
    void SetUp() override {
        window.Show(SW_SHOWNORMAL);
        SetForegroundWindow(window.Handle());
        Pump(window);
    }
};

TEST_F(MainWindowTest, ControlsHaveTheirKindCaptionAndState) {
    struct Expected {
        Control id;
        const wchar_t* className;
        const wchar_t* text;  // nullptr: not checked here (default texts, paths)
        bool enabled;
    };
    const Expected cases[] = {
        {Frame1, L"Button", L"列表页设置", true},
        {Frame2, L"Button", L"内容页设置", true},
        {Frame3, L"Button", L"批量文件设置", true},
        {Label1, L"Static", L"标题(&T):", true},
        {Label6, L"Static", L"请选择TXT文件所在的一个目录(&D):", true},
        {txtTitleName, L"Edit", L"", true},
        {txtPaperTop, L"Edit", L"", true},
        {txtAd, L"Edit", nullptr, false},
        {Text1, L"Edit", L"", false},
        {txtFile, L"Edit", nullptr, false},
        {Command1, L"Button", L"浏览(&B)", true},
        {cmdRefresh, L"Button", L"刷新(&R)", true},
        {cmdNext, L"Button", L"立即生成(&O)", true},
        {Check1, L"Button", L"在生成 CHM 电子书文件后删除原目标文件文件。", true},
        {List1, L"ListBox", nullptr, true},
    };
    EXPECT_EQ(WindowText(window.Handle()), L"批量将TXT生成CHM文件（TXT文件需要ANSI编码）");
    for (const Expected& c : cases) {
        SCOPED_TRACE(LayoutOf(c.id).name);
        EXPECT_EQ(_wcsicmp(ClassName(Handle(c.id)).c_str(), c.className), 0);
        if (c.text) EXPECT_EQ(WindowText(Handle(c.id)), c.text);
        EXPECT_EQ(IsWindowEnabled(Handle(c.id)) != FALSE, c.enabled);
    }
    EXPECT_EQ(SendMessageW(Handle(Check1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(Handle(List1), LB_GETCOUNT, 0, 0), 0);
    // Multi-line boxes keep CR LF between lines; no button is the default one.
    EXPECT_NE(WindowText(Handle(txtFootDemo)).find(L"\r\n"), std::wstring::npos);
    EXPECT_NE(GetWindowLongW(Handle(txtTitleDemo), GWL_STYLE) & ES_WANTRETURN, 0);
    for (Control button : {Command1, cmdRefresh, cmdNext}) {
        EXPECT_EQ(GetWindowLongW(Handle(button), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    }
    EXPECT_EQ(WindowText(Handle(txtFile)), (app.Path() / L"Release" / L"test.chm").wstring());
}

// The places are the window's own business; what a user would notice is a
// client area of the wrong size, a control outside its frame, two controls on
// top of each other, or a caption cut off.
TEST_F(MainWindowTest, ControlsFitTheirFramesWithoutOverlapping) {
    RECT client;
    GetClientRect(window.Handle(), &client);
    EXPECT_EQ(MulDiv(client.right, 96, window.Dpi()), kClientWidth);
    EXPECT_EQ(MulDiv(client.bottom, 96, window.Dpi()), kClientHeight);

    for (const ControlLayout& layout : kWindowLayout) {
        SCOPED_TRACE(layout.name);
        const RECT rect = RectAt96(window, Handle(layout.control));
        EXPECT_TRUE(Inside(rect, RECT{0, 0, kClientWidth, kClientHeight}));
        if (layout.frame) EXPECT_TRUE(Inside(rect, RectAt96(window, Handle(*layout.frame))));
        if (layout.kind == ControlKind::kLabel) {
            // The label is as wide as its caption in the window's font.
            const HWND label = Handle(layout.control);
            const HDC dc = GetDC(label);
            const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
            RECT extent{0, 0, 0, 0};
            DrawTextW(dc, reinterpret_cast<const wchar_t*>(layout.caption), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
            SelectObject(dc, old);
            ReleaseDC(label, dc);
            RECT size;
            GetClientRect(label, &size);
            EXPECT_GE(size.right, extent.right);
        }
        for (const ControlLayout& other : kWindowLayout) {
            if (other.control <= layout.control || layout.kind == ControlKind::kFrame || other.kind == ControlKind::kFrame)
                continue;
            EXPECT_FALSE(Overlap(rect, RectAt96(window, Handle(other.control)))) << "overlaps " << other.name;
        }
    }
}

TEST_F(MainWindowTest, TabVisitsTheEnabledControlsInOrderBothWays) {
    const std::vector<std::string> order = {"txtTitleName", "txtTitleDemo", "txtFootDemo", "txtPaperTop", "txtPaperFoot",
                                            "Command1",     "cmdRefresh",   "List1",       "Check1",      "cmdNext"};
    EXPECT_EQ(NameOfFocus(window), order.front());
    for (std::size_t i = 1; i <= order.size(); ++i) {
        PressKey(window, VK_TAB);
        EXPECT_EQ(NameOfFocus(window), order[i % order.size()]);
    }
    for (std::size_t i = order.size(); i > 0; --i) {
        PressKey(window, VK_TAB, /*shift=*/true);
        EXPECT_EQ(NameOfFocus(window), order[(i - 1) % order.size()]);
    }
}

TEST_F(MainWindowTest, AccessKeysPressButtonsAndLabelKeysOnlyMoveTheFocus) {
    ScratchFolder source;
    source.Write(L"b.txt", "b");
    source.Write(L"A.txt", "a");
    window.folderAnswer = source.U16();

    PressAltKey(window, L'b');  // Browse
    EXPECT_EQ(window.folderRequests, 1);
    EXPECT_EQ(window.ListCount(), 2u);

    SendMessageW(Handle(List1), LB_RESETCONTENT, 0, 0);
    PressAltKey(window, L'r');  // Refresh fills the list again
    EXPECT_EQ(window.ListCount(), 2u);

    PressAltKey(window, L't');  // the title's label: focus to the next box, nothing pressed
    EXPECT_EQ(NameOfFocus(window), "txtTitleDemo");
    PressAltKey(window, L'd');  // the folder's label: focus to Browse, not pressed
    EXPECT_EQ(NameOfFocus(window), "Command1");
    EXPECT_EQ(window.folderRequests, 1);

    PressAltKey(window, L'o');  // Generate: the title is missing
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].caption, u"条件不足");
}

TEST_F(MainWindowTest, TypingTheTitleUpdatesTheOutputPathAndEnterGivesCrLf) {
    SetFocus(Handle(txtTitleName));
    Type(window, L"书A");
    EXPECT_EQ(WindowText(Handle(txtFile)), (app.Path() / L"Release" / L"书A.chm").wstring());
    EXPECT_TRUE(fs::is_directory(app.Path() / L"Release"));

    SetFocus(Handle(txtPaperTop));
    Type(window, L"x");
    PressKey(window, VK_RETURN);
    Type(window, L"y");
    EXPECT_EQ(WindowText(Handle(txtPaperTop)), L"x\r\ny");
}

TEST_F(MainWindowTest, RefreshListsTheTextFilesInNameOrder) {
    ScratchFolder source;
    for (const wchar_t* name : {L"b.txt", L"C.TXT", L"a.txt", L"note.md", L"中.txt"}) source.Write(name, "x");
    window.SetText(Control::Text1, source.U16());
    Click(window, cmdRefresh);
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < window.ListCount(); ++i) {
        const std::u16string entry = window.ListItem(i);
        names.push_back(fs::path(std::wstring(entry.begin(), entry.end())).filename().wstring());
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.txt", L"b.txt", L"C.TXT", L"中.txt"}));
}

TEST_F(MainWindowTest, GenerateAsksForTheTitleFirstThenForFiles) {
    SetFocus(Handle(Check1));
    Notify(window, cmdNext);
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].icon, MessageIcon::kInformation);
    EXPECT_EQ(window.messages[0].caption, u"条件不足");
    EXPECT_EQ(window.messages[0].text, u"请输入该CHM文件的标题名称！");
    EXPECT_EQ(NameOfFocus(window), "txtTitleName");

    SetWindowTextW(Handle(txtTitleName), L"书");
    SetFocus(Handle(Check1));
    Notify(window, cmdNext);
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[1].text, u"您当前尚没有至少一个有效的TXT文件进行生成！");
    EXPECT_EQ(NameOfFocus(window), "Check1");
}

// One whole build through the real compiler beside the program, watched from
// inside: the window is busy while it runs, and a close asked for meanwhile is
// carried out once the build has ended.
// Runs a program to its end and returns its exit code (-1 when it could not start).
int RunProgram(const fs::path& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A program folder holding a copy of the named programs from beside this test.
void PutProgramsInto(const ScratchFolder& app, std::initializer_list<const wchar_t*> programs) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    for (const wchar_t* program : programs) {
        const fs::path from = fs::path(self).parent_path() / program;
        ASSERT_TRUE(fs::exists(from)) << "the program must stand beside the test program";
        fs::copy_file(from, app.Path() / program);
    }
}

TEST(MainWindowBuildTest, GenerateBuildsTheBookOfTheCommandLineThenCarriesOutTheCloseAskedForMeanwhile) {
    SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", L"1700000000");  // the same compile time in both books
    ScratchFolder app;
    PutProgramsInto(app, {L"hhc.exe"});
    fs::create_directories(app.Path() / L"Temp");

    TestWindow* watched = nullptr;
    std::wstring busyCaption;
    bool inputsDisabled = false;
    BuildOptions options;
    options.openBook = false;
    options.progress = [&](std::u16string_view, std::size_t) {
        if (!watched || !busyCaption.empty()) return;
        busyCaption = WindowText(watched->ControlHandle(cmdNext));
        inputsDisabled = !IsWindowEnabled(watched->ControlHandle(txtTitleName)) &&
                         !IsWindowEnabled(watched->ControlHandle(List1));
        PostMessageW(watched->Handle(), WM_CLOSE, 0, 0);
    };
    TestWindow window(app.U16(), options);
    watched = &window;
    const HWND handle = window.Handle();
    window.Show(SW_SHOWNORMAL);

    ScratchFolder source;
    source.Write(L"一.txt", "\xD6\xD0\xCE\xC4\r\n");  // 中文 in code page 936
    source.Write(L"two.txt", "two");
    window.SetText(Control::Text1, source.U16());
    Click(window, cmdRefresh);
    SetFocus(window.ControlHandle(txtTitleName));
    Type(window, L"书");
    Click(window, cmdNext);

    EXPECT_EQ(busyCaption, L"正在生成\r\n请您稍候");
    EXPECT_TRUE(inputsDisabled);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_GT(fs::file_size(app.Path() / L"Release" / L"书.chm"), 0u);
    EXPECT_TRUE(fs::is_empty(app.Path() / L"Temp"));
    EXPECT_FALSE(window.Logic().IsBusy());
    EXPECT_FALSE(IsWindow(handle));  // the close was put off until the build had ended, then done

    ScratchFolder cliApp;
    PutProgramsInto(cliApp, {L"hhc.exe", L"chmbook-cli.exe"});
    ASSERT_EQ(RunProgram(cliApp.Path() / L"chmbook-cli.exe", L"--title 书 \"" + source.Path().wstring() + L"\""), 0);
    EXPECT_EQ(FileBytes(app.Path() / L"Release" / L"书.chm"), FileBytes(cliApp.Path() / L"Release" / L"书.chm"));
}

}  // namespace
}  // namespace chmbook::winui
