// The native Windows window, driven through the Win32 API as a user's keys
// and clicks reach it; runs under Wine with a display (Xvfb). The commands
// are tested once against a fake view (tests/app); here only what is the
// window's own: the controls and their keyboard, the focus, and one whole
// build through the real compiler with a close put off until its end.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "test_support/scratch_folder.h"
#include "winui/main_window.h"

namespace chmbook::winui {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;
using enum Control;

// The window with its two dialogs answered by the test instead of the user.
class TestWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    std::u16string folderAnswer;
    int folderRequests = 0;
    std::vector<std::u16string> messages;

    std::u16string ChooseFolder(const std::u16string&) override {
        ++folderRequests;
        return folderAnswer;
    }
    void ShowMessage(MessageIcon, const std::u16string&, const std::u16string& text) override {
        messages.push_back(text);
    }
};

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Write(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// Runs the window's own loop until no message is left.
void Pump(MainWindow& window) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) window.Dispatch(msg);
}

// Posts to the focused control as the keyboard would, then runs the loop.
void Post(MainWindow& window, UINT message, WPARAM key, LPARAM flags = 1) {
    PostMessageW(GetFocus() ? GetFocus() : window.Handle(), message, key, flags);
    Pump(window);
}

void PressKey(MainWindow& window, UINT key, bool shift = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    Post(window, WM_KEYDOWN, key);
    Post(window, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

void Type(MainWindow& window, const std::wstring& text) {
    for (const wchar_t c : text) Post(window, WM_CHAR, c);
}

std::string NameOfFocus(const MainWindow& window) {
    for (const ControlLayout& row : kWindowLayout)
        if (window.ControlHandle(row.control) == GetFocus()) return row.name;
    return "(none)";
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.Show(SW_SHOWNORMAL);
        SetForegroundWindow(window.Handle());
        Pump(window);
    }
    HWND Handle(Control id) const { return window.ControlHandle(id); }

    ScratchFolder app{"chmbook-winui"};
    // The finished book is not opened: no viewer starts during the tests.
    TestWindow window{app.u16(), BuildOptions{.openBook = false, .progress = {}, .openDocument = {}}};
};

// The boxes only the program fills are greyed; no button is the default one,
// so that Enter stays with the boxes.
TEST_F(MainWindowTest, ControlsAreOfTheirKindAndTheProgramsBoxesAreGreyed) {
    const struct {
        Control id;
        const wchar_t* className;
        bool enabled;
    } cases[] = {{txtTitleName, L"Edit", true}, {txtPaperTop, L"Edit", true},     {txtAd, L"Edit", false},
                 {Text1, L"Edit", false},       {txtFile, L"Edit", false},        {List1, L"ListBox", true},
                 {Check1, L"Button", true},     {Label1, L"Static", true},        {Frame1, L"Button", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(LayoutOf(c.id).name);
        wchar_t name[64] = {};
        GetClassNameW(Handle(c.id), name, 64);
        EXPECT_EQ(_wcsicmp(name, c.className), 0);
        EXPECT_EQ(IsWindowEnabled(Handle(c.id)) != FALSE, c.enabled);
    }
    for (const Control button : {Command1, cmdRefresh, cmdNext})
        EXPECT_EQ(GetWindowLongW(Handle(button), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(WindowText(Handle(txtFile)), (app.path() / L"Release" / L"test.chm").wstring()) << "Form_Load ran";
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
        EXPECT_EQ(NameOfFocus(window), order[i - 1]);
    }
}

// Alt+letter arrives as a system character. The buttons' keys press them; a
// label's key only moves the focus to the control after it.
TEST_F(MainWindowTest, AccessKeysPressButtonsAndLabelKeysOnlyMoveTheFocus) {
    ScratchFolder source;
    source.Write("b.txt", "b");
    source.Write("A.txt", "a");
    window.folderAnswer = source.u16();
    const LPARAM alt = 1 | (1u << 29);
    Post(window, WM_SYSCHAR, L'b', alt);
    EXPECT_EQ(window.folderRequests, 1);
    EXPECT_EQ(window.ListCount(), 2u);
    SendMessageW(Handle(List1), LB_RESETCONTENT, 0, 0);
    Post(window, WM_SYSCHAR, L'r', alt);
    EXPECT_EQ(window.ListCount(), 2u) << "Refresh fills the list again";

    Post(window, WM_SYSCHAR, L't', alt);
    EXPECT_EQ(NameOfFocus(window), "txtTitleDemo");
    Post(window, WM_SYSCHAR, L'd', alt);
    EXPECT_EQ(NameOfFocus(window), "Command1");
    EXPECT_EQ(window.folderRequests, 1) << "Alt+D does not browse";
    Post(window, WM_SYSCHAR, L'o', alt);
    EXPECT_EQ(window.messages, std::vector<std::u16string>{u"请输入该CHM文件的标题名称！"}) << "Alt+O generates";
    EXPECT_EQ(NameOfFocus(window), "txtTitleName") << "the command's focus reaches the control";
}

TEST_F(MainWindowTest, TypingTheTitleUpdatesTheOutputPathAndEnterGivesCrLf) {
    SetFocus(Handle(txtTitleName));
    Type(window, L"书A");
    EXPECT_EQ(WindowText(Handle(txtFile)), (app.path() / L"Release" / L"书A.chm").wstring());
    SetFocus(Handle(txtPaperTop));
    Type(window, L"x");
    PressKey(window, VK_RETURN);
    Type(window, L"y");
    EXPECT_EQ(window.Text(txtPaperTop), u"x\r\ny");
    EXPECT_TRUE(window.messages.empty()) << "Enter pressed no button";
}

// Runs a program to its end and returns its exit code (-1 when it could not start).
int RunProgram(const fs::path& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return -1;
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

// A program folder holding copies of the programs beside this test.
fs::path ProgramFolder(const fs::path& folder, std::initializer_list<const wchar_t*> programs) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::create_directories(folder);
    for (const wchar_t* program : programs) fs::copy_file(fs::path(self).parent_path() / program, folder / program);
    return folder;
}

// One whole build through hhc.exe, watched from inside: the window is busy
// while it runs, and a close asked for meanwhile is carried out once the build
// has ended. The book is the one the command line makes of the same sources.
TEST(MainWindowBuildTest, GenerateBuildsTheCommandLinesBookThenCarriesOutTheCloseAskedForMeanwhile) {
    SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", L"1700000000");  // the same compile time in both books
    ScratchFolder scratch{"chmbook-winui"};
    const fs::path app = ProgramFolder(scratch / "gui", {L"hhc.exe"});
    const fs::path source = scratch.path() / L"来源";
    fs::create_directories(source);
    Write(source / L"一.txt", "\xD6\xD0\xCE\xC4\r\n");  // 中文 in code page 936
    Write(source / L"two.txt", "two");

    TestWindow* watched = nullptr;
    std::wstring busyCaption;
    bool inputsDisabled = false;
    BuildOptions options{.openBook = false, .progress = {}, .openDocument = {}};
    options.progress = [&](std::u16string_view, std::size_t) {
        if (!busyCaption.empty()) return;
        busyCaption = WindowText(watched->ControlHandle(cmdNext));
        inputsDisabled = !IsWindowEnabled(watched->ControlHandle(txtTitleName)) &&
                         !IsWindowEnabled(watched->ControlHandle(List1));
        PostMessageW(watched->Handle(), WM_CLOSE, 0, 0);
    };
    TestWindow window(app.u16string(), options);
    watched = &window;
    const HWND handle = window.Handle();
    window.Show(SW_SHOWNORMAL);
    window.folderAnswer = source.u16string();
    SendMessageW(window.ControlHandle(Command1), BM_CLICK, 0, 0);
    SetFocus(window.ControlHandle(txtTitleName));
    Type(window, L"书");
    SendMessageW(window.ControlHandle(cmdNext), BM_CLICK, 0, 0);
    Pump(window);

    EXPECT_EQ(busyCaption, L"正在生成\r\n请您稍候");
    EXPECT_TRUE(inputsDisabled);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_FALSE(window.Logic().IsBusy());
    EXPECT_FALSE(IsWindow(handle)) << "the close was put off until the build had ended, then done";

    const fs::path cli = ProgramFolder(scratch / "cli", {L"hhc.exe", L"chmbook-cli.exe"});
    ASSERT_EQ(RunProgram(cli / L"chmbook-cli.exe", L"--title 书 \"" + source.wstring() + L"\""), 0);
    const std::string book = FileBytes(app / L"Release" / L"书.chm");
    EXPECT_FALSE(book.empty());
    EXPECT_EQ(book, FileBytes(cli / L"Release" / L"书.chm"));
}

}  // namespace
}  // namespace chmbook::winui
