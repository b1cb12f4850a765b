#pragma once
// A window without a toolkit: controls as plain values, dialogs answered from
// a queue, and every call that changes the window written to a log.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/window_view.h"

namespace chmbook::apptest {

struct ShownMessage {
    MessageIcon icon;
    std::u16string caption;
    std::u16string text;
};

class FakeView : public WindowView {
public:
    std::map<Control, std::u16string> texts;
    int check = 0;
    std::vector<std::u16string> list;
    std::map<Control, bool> disabled;
    std::u16string nextCaption = u"立即生成(&O)";
    std::u16string caption;  // the window's, when the commands set it
    std::optional<Control> focus = Control::txtTitleName;
    bool busyPointer = false;

    std::deque<std::u16string> folderAnswers;  // "" cancels
    std::vector<std::u16string> folderTitles;
    std::vector<ShownMessage> messages;
    std::vector<std::string> log;       // "-cmdNext", "caption", "+List1", "pointer 1", "close", …
    std::function<void()> onDoEvents;   // runs inside every DoEvents

    bool Enabled(Control control) const { return !disabled.count(control) || !disabled.at(control); }

    std::u16string Text(Control box) const override { return texts.count(box) ? texts.at(box) : u""; }
    void SetText(Control box, const std::u16string& text) override { texts[box] = text; }
    int CheckValue() const override { return check; }
    std::size_t ListCount() const override { return list.size(); }
    std::u16string ListItem(std::size_t index) const override { return list.at(index); }
    void ClearList() override { list.clear(); }
    void AddListItem(const std::u16string& entry) override { list.push_back(entry); }
    void SetEnabled(Control control, bool enabled) override {
        disabled[control] = !enabled;
        log.push_back((enabled ? "+" : "-") + Name(control));
        if (!enabled && focus == control) focus.reset();  // as a real window moves the focus away
    }
    void SetNextCaption(const std::u16string& caption) override {
        nextCaption = caption;
        log.push_back("caption");
    }
    std::optional<Control> FocusedControl() const override { return focus; }
    void SetFocus(Control control) override { focus = control; }
    std::u16string ChooseFolder(const std::u16string& title) override {
        folderTitles.push_back(title);
        if (folderAnswers.empty()) return u"";
        std::u16string answer = folderAnswers.front();
        folderAnswers.pop_front();
        return answer;
    }
    void ShowMessage(MessageIcon icon, const std::u16string& caption, const std::u16string& text) override {
        messages.push_back({icon, caption, text});
    }
    void SetBusyPointer(bool busy) override {
        busyPointer = busy;
        log.push_back(busy ? "pointer busy" : "pointer default");
    }
    void DoEvents() override {
        log.push_back("events");
        if (onDoEvents) onDoEvents();
    }
    void SetCaption(const std::u16string& text) override { caption = text; }
    void Close() override { log.push_back("close"); }

    static std::string Name(Control control) {
        static const std::map<Control, std::string> names = {
            {Control::Text1, "Text1"},           {Control::txtTitleName, "txtTitleName"},
            {Control::txtFile, "txtFile"},       {Control::txtAd, "txtAd"},
            {Control::txtTitleDemo, "txtTitleDemo"}, {Control::txtFootDemo, "txtFootDemo"},
            {Control::txtPaperTop, "txtPaperTop"},   {Control::txtPaperFoot, "txtPaperFoot"},
            {Control::Check1, "Check1"},         {Control::List1, "List1"},
            {Control::Command1, "Command1"},     {Control::cmdRefresh, "cmdRefresh"},
            {Control::cmdNext, "cmdNext"}};
        return names.at(control);
    }
};

}  // namespace chmbook::apptest
