// chmbook.exe: the desktop window on Windows.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "platform/platform.h"
#include "winui/main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // The shell's folder dialog needs COM on this thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 0;
    {
        chmbook::winui::MainWindow window(chmbook::platform::ProgramFolder());
        window.Show(showCommand);
        exitCode = window.RunMessageLoop();
    }
    CoUninitialize();
    return exitCode;
}
