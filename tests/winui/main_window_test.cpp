// The native Windows window, driven through the Win32 API as a user's keys
// and clicks reach it; runs under Wine with a display (Xvfb). The commands
// are tested once against a fake view (tests/app); here only what is the
// window's own: the keyboard, the focus, and one whole build through the
// real compiler with a close put off until its end.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch/book_inputs.h"
#include "platform/platform.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"
#include "test_window.h"
#include "winui/main_window.h"

namespace chmbook::winui {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;
using test_support::WriteBytes;
using enum Control;

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

// One window, driven in turn through the keyboard and the mouse:
// - Tab visits the enabled controls in order; the boxes only the program fills
//   are greyed; the others hand their lines over with CR LF;
// - Alt+letter arrives as a system character. The buttons' keys press them; a
//   label's key only moves the focus to the control after it;
// - no button is the default one: Enter in the title box (before the folder is
//   chosen) would otherwise report the empty list;
// - one whole build through hhc.exe, watched from inside: the window is busy
//   while it runs, and a close asked for meanwhile is carried out once the
//   build has ended.
TEST(MainWindowTest, KeyboardFocusThenABuildThatCarriesOutTheCloseAskedForMeanwhile) {
    ScratchFolder app{"chmbook-winui"};
    TestWindow<MainWindow> window{app.u16()};
    const auto Handle = [&](Control id) { return window.ControlHandle(id); };
    window.Show(SW_SHOWNORMAL);
    SetForegroundWindow(window.Handle());
    Pump(window);
    for (const Control box : {txtAd, Text1, txtFile}) EXPECT_FALSE(IsWindowEnabled(Handle(box)));
    EXPECT_EQ(GetFocus(), Handle(txtTitleName));
    for (const Control expected : {txtTitleDemo, txtFootDemo, txtPaperTop, txtPaperFoot, Command1, cmdRefresh, List1,
                                   Check1, cmdNext, txtTitleName}) {
        Post(window, WM_KEYDOWN, VK_TAB);
        EXPECT_EQ(GetFocus(), Handle(expected)) << LayoutOf(expected).name;
    }
    EXPECT_EQ(window.Text(txtFootDemo), StatementTextInFourLines());
    SetFocus(Handle(txtPaperTop));
    Post(window, WM_CHAR, L'x');
    Post(window, WM_KEYDOWN, VK_RETURN);
    Post(window, WM_CHAR, L'y');
    EXPECT_EQ(window.Text(txtPaperTop), u"x\r\ny");

    fs::copy_file(fs::path(platform::ProgramFolder()) / L"hhc.exe", app.path() / L"hhc.exe");
    const fs::path source = app.path() / L"来源";
    WriteBytes(source / L"一.txt", "\xD6\xD0\xCE\xC4\r\n");  // 中文 in code page 936
    window.folderAnswer = source.u16string();
    const LPARAM alt = 1 | (1u << 29);
    Post(window, WM_SYSCHAR, L't', alt);
    EXPECT_EQ(GetFocus(), Handle(txtTitleDemo));
    Post(window, WM_SYSCHAR, L'd', alt);
    EXPECT_EQ(GetFocus(), Handle(Command1));
    EXPECT_EQ(window.ListCount(), 0u) << "Alt+D does not browse";
    Post(window, WM_SYSCHAR, L'o', alt);
    EXPECT_EQ(window.messages, std::vector<std::u16string>{u"请输入该CHM文件的标题名称！"}) << "Alt+O generates";
    EXPECT_EQ(GetFocus(), Handle(txtTitleName)) << "the command's focus reaches the control";
    Post(window, WM_CHAR, L'书');
    Post(window, WM_KEYDOWN, VK_RETURN);
    Post(window, WM_SYSCHAR, L'b', alt);
    EXPECT_EQ(window.ListCount(), 1u) << "Alt+B browses";
    SendMessageW(Handle(List1), LB_RESETCONTENT, 0, 0);
    Post(window, WM_SYSCHAR, L'r', alt);
    EXPECT_EQ(window.ListCount(), 1u) << "Alt+R refreshes";
    std::wstring busy;  // Generate's caption, and whether the inputs were greyed, when the build let events through
    window.onDoEvents = [&] {
        wchar_t caption[32] = {};
        GetWindowTextW(Handle(cmdNext), caption, 32);
        busy = caption + std::wstring(IsWindowEnabled(Handle(List1)) ? L" enabled" : L"");
        PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    };
    const HWND handle = window.Handle();
    SendMessageW(Handle(cmdNext), BM_CLICK, 0, 0);
    Pump(window);
    EXPECT_EQ(busy, L"正在生成\r\n请您稍候");
    EXPECT_EQ(window.messages.size(), 1u) << "Enter and the build reported nothing";
    EXPECT_FALSE(IsWindow(handle)) << "the close was put off until the build had ended, then done";
    EXPECT_TRUE(fs::exists(app.path() / L"Release" / L"书.chm"));
}

}  // namespace
}  // namespace chmbook::winui
