#pragma once
// The main window with its dialogs intercepted: message boxes are recorded
// instead of shown, the folder dialog answers from a list, and the build's
// calls back into the window can be watched.
#include <QApplication>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QTest>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/frm_main.h"

namespace chmbook::uitest {

struct ShownMessage {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    QWidget* focusWhenShown;  // the focus while the box was up
};

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

class TestWindow : public frmMain {
public:
    explicit TestWindow(std::u16string appPath) : frmMain(std::move(appPath)) {
        BuildOptions options;
        options.openDocument = [this](const std::u16string& path) { opened.push_back(path); };
        SetBuildOptions(options);
    }

    // Shows the window and makes it the active one, as a user would find it.
    void ShowActive() {
        show();
        activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    }

    std::vector<ShownMessage> messages;
    std::deque<QString> folderAnswers;  // what the folder dialog returns, in turn ("" cancels)
    int folderDialogs = 0;
    std::function<void()> onDoEvents;    // runs inside each DoEvents, before the events
    std::vector<int> pointers;           // SetMousePointer calls, in order
    std::vector<std::u16string> opened;  // books the build asked to open

protected:
    void ShowMessage(QMessageBox::Icon icon, const QString& caption, const QString& text) override {
        messages.push_back({icon, caption, text, QApplication::focusWidget()});
    }
    QString ChooseFolder() override {
        ++folderDialogs;
        if (folderAnswers.empty()) return {};
        QString answer = folderAnswers.front();
        folderAnswers.pop_front();
        return answer;
    }

public:
    void DoEvents() override {
        if (onDoEvents) onDoEvents();
        frmMain::DoEvents();
    }
    void SetMousePointer(int pointer) override {
        pointers.push_back(pointer);
        frmMain::SetMousePointer(pointer);
    }
};

}  // namespace chmbook::uitest
