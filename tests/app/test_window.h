#pragma once
// The Qt or the native window (Window) with its two dialogs answered by the
// test instead of the user, and the build's events watched. The finished book
// is not opened: no viewer starts during the tests.
#include <functional>
#include <string>
#include <vector>

#include "app/window_view.h"
#include "batch/make_chm.h"

namespace chmbook {

template <class Window>
class TestWindow : public Window {
public:
    explicit TestWindow(std::u16string appPath)
        : Window(std::move(appPath), BuildOptions{.openBook = false, .progress = {}, .openDocument = {}}) {}
    std::u16string folderAnswer;       // "" cancels
    std::vector<std::u16string> messages;
    std::function<void()> onDoEvents;  // runs inside each DoEvents, before the events

    std::u16string ChooseFolder(const std::u16string&) override { return folderAnswer; }
    void ShowMessage(MessageIcon, const std::u16string&, const std::u16string& text) override {
        messages.push_back(text);
    }
    void DoEvents() override {
        if (onDoEvents) onDoEvents();
        Window::DoEvents();
    }
};

}  // namespace chmbook
