#pragma once
// What the main window's commands need from a window: its controls, its
// dialogs and its event loop. The commands themselves live in frmMain
// (app/frm_main.h) and drive any window that implements this interface: the
// Qt window, the native Windows window, and the tests' fake window.
//
// A view holds no command logic. It creates the controls from the window's
// layout (app/window_layout.h) and turns its toolkit's events into calls of
// frmMain's commands (Form_Load, txtTitleName_Change, Command1_Click,
// cmdRefresh_Click, cmdNext_Click, Form_QueryUnload).
//
// Text crosses this interface as UTF-16 with every line break as CR LF, in
// both directions: a view converts from and to its toolkit's own line breaks.
#include <cstddef>
#include <optional>
#include <string>

#include "app/window_layout.h"

namespace chmbook {

// The icon of a message box. Every box has one button, OK.
enum class MessageIcon {
    kInformation,  // the input checks of the Generate command
    kWarning,      // a build that did not produce the book
};

class WindowView {
public:
    virtual ~WindowView() = default;

    // ---- Reading and filling the controls ----------------------------------

    // The text of a text box (one of Text1, txtTitleName, txtFile, txtAd,
    // txtTitleDemo, txtFootDemo, txtPaperTop, txtPaperFoot), line breaks as CR LF.
    virtual std::u16string Text(Control box) const = 0;
    // Replaces the text of a text box (the same controls). `text` may hold
    // CR LF line breaks. The commands never set txtTitleName.
    virtual void SetText(Control box, const std::u16string& text) = 0;

    // Check1: 1 when ticked, 0 when not.
    virtual int CheckValue() const = 0;

    // List1: the number of entries, entry `index` (0-based, index < ListCount()),
    // removing all entries, appending one entry at the end (never sorted).
    virtual std::size_t ListCount() const = 0;
    virtual std::u16string ListItem(std::size_t index) const = 0;
    virtual void ClearList() = 0;
    virtual void AddListItem(const std::u16string& entry) = 0;

    // ---- Control states ------------------------------------------------------

    // Enables or disables one control. A disabled control still gives its
    // text, value and entries through the members above.
    virtual void SetEnabled(Control control, bool enabled) = 0;
    // The caption of cmdNext. "&" marks the access key ("立即生成(&O)"); a CR LF
    // in the caption starts a second line ("正在生成" CR LF "请您稍候").
    virtual void SetNextCaption(const std::u16string& caption) = 0;

    // The control of the window that has the keyboard focus, if any.
    virtual std::optional<Control> FocusedControl() const = 0;
    // Moves the keyboard focus to `control` (an enabled one).
    virtual void SetFocus(Control control) = 0;

    // ---- Dialogs -------------------------------------------------------------

    // Asks the user for a folder, with `title` as the dialog's prompt, and
    // returns its path without a trailing separator except at a root. An
    // empty result means the user cancelled or chose an item that is no
    // folder of the file system. Returns when the dialog has closed.
    virtual std::u16string ChooseFolder(const std::u16string& title) = 0;
    // Shows a modal message box with an OK button only, owned by the window;
    // returns when the user has closed it.
    virtual void ShowMessage(MessageIcon icon, const std::u16string& caption, const std::u16string& text) = 0;

    // ---- The window as a whole -----------------------------------------------

    // Shows the busy pointer over the window (true) or the default one (false).
    virtual void SetBusyPointer(bool busy) = 0;
    // Processes the window's pending events once, then returns.
    virtual void DoEvents() = 0;
    // The window's caption, in its title bar.
    virtual void SetCaption(const std::u16string& caption) = 0;
    // Closes the window now, as the user's close would. frmMain calls it only
    // to carry out a close that was put off while a build ran; the view then
    // asks Form_QueryUnload again, which now agrees.
    virtual void Close() = 0;
};

}  // namespace chmbook
