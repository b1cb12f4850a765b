#pragma once
// The Qt window with its dialogs answered by the test: message boxes are
// recorded instead of shown, the folder dialog answers from a queue, and the
// build's event processing can be watched.
#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/main_window.h"

namespace chmbook::uitest {

// Types text into a widget as a user would: Latin letters key by key, other
// characters as an input method commits them.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

class TestWindow : public MainWindow {
public:
    explicit TestWindow(std::u16string appPath) : MainWindow(std::move(appPath), Options()) {}

    // Shows the window and makes it the active one, as a user would find it.
    void ShowActive() {
        show();
        activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    }

    std::vector<std::u16string> messages;       // texts of the message boxes
    std::deque<std::u16string> folderAnswers;   // what the folder dialog returns, in turn ("" cancels)
    int folderDialogs = 0;
    std::function<void()> onDoEvents;           // runs inside each DoEvents, before the events
    std::vector<std::u16string> opened;         // books the build asked to open

    void ShowMessage(MessageIcon, const std::u16string&, const std::u16string& text) override {
        messages.push_back(text);
    }
    std::u16string ChooseFolder(const std::u16string&) override {
        ++folderDialogs;
        if (folderAnswers.empty()) return {};
        std::u16string answer = folderAnswers.front();
        folderAnswers.pop_front();
        return answer;
    }
    void DoEvents() override {
        if (onDoEvents) onDoEvents();
        MainWindow::DoEvents();
    }

private:
    BuildOptions Options() {
        BuildOptions options;
        options.openDocument = [this](const std::u16string& path) { opened.push_back(path); };
        return options;
    }
};

}  // namespace chmbook::uitest
