#include "app/frm_main.h"

#include <array>
#include <exception>
#include <optional>
#include <utility>

#include "app/input_checks.h"
#include "app/window_layout.h"
#include "batch/book_inputs.h"
#include "batch/messages.h"
#include "batch/title_check.h"
#include "platform/platform.h"

namespace chmbook {
namespace {

// The controls that could start a second build, change the file list or edit
// an input, in the order in which the busy state disables and enables them
// (after cmdNext, which goes first).
constexpr std::array<Control, 9> kBusyControls = {
    Control::txtTitleName, Control::txtTitleDemo, Control::txtFootDemo,
    Control::txtPaperTop,  Control::txtPaperFoot, Control::Check1,
    Control::Command1,     Control::cmdRefresh,   Control::List1};

}  // namespace

frmMain::frmMain(WindowView& view, std::u16string appPath, BuildOptions options)
    : view_(view), appPath_(std::move(appPath)), options_(std::move(options)) {}

// ---- Commands -------------------------------------------------------------------

void frmMain::Form_Load() {
    view_.SetText(Control::txtAd, NoticeText());
    view_.SetText(Control::txtTitleDemo, StatementText());
    view_.SetText(Control::txtFootDemo, StatementTextInFourLines());
    view_.SetText(Control::txtPaperFoot, StatementText());
    view_.SetText(Control::txtFile, DefaultOutputPath(appPath_));
}

// When the folder cannot be created the path is still shown: the build then
// reports the output it could not write, with its path.
void frmMain::txtTitleName_Change() {
    EnsureOutputFolder(appPath_);
    view_.SetText(Control::txtFile, OutputPathForTitle(appPath_, txtTitleName()));
}

void frmMain::Command1_Click() {
    const std::u16string folder = view_.ChooseFolder(std::u16string(kBrowseTitle));
    if (folder.empty()) return;
    view_.SetText(Control::Text1, folder);
    view_.ClearList();
    FillFileList(Text1());
}

void frmMain::cmdRefresh_Click() {
    view_.ClearList();
    FillFileList(Text1());
}

void frmMain::FillFileList(std::u16string folder) {
    for (const std::u16string& path : ListSourceFiles(std::move(folder))) view_.AddListItem(path);
}

void frmMain::cmdNext_Click() {
    if (!CheckInputs()) return;

    // Disabling the focused control takes the focus away; it comes back after.
    const std::optional<Control> focusBefore = view_.FocusedControl();
    EnterBusyState();
    view_.DoEvents();  // repaint in the busy state before the build takes over
    const BuildOutcome outcome = RunBuild();
    SetMousePointer(kDefaultPointer);  // in case the build ended before its own last step
    LeaveBusyState();
    if (focusBefore) view_.SetFocus(*focusBefore);

    if (!outcome.produced) {
        view_.ShowMessage(MessageIcon::kWarning, std::u16string(kFailureCaption), outcome.Message());
    } else if (outcome.bookNotOpened) {
        // Without a program for the book the user would see nothing at all.
        view_.ShowMessage(MessageIcon::kInformation, BookNotOpenedCaption(), BookNotOpenedText(txtFile()));
    }
    if (closeRequested_) {
        closeRequested_ = false;
        view_.Close();
    }
}

bool frmMain::Form_QueryUnload() {
    if (!busy_) return true;
    closeRequested_ = true;
    return false;
}

// Shows the message for the first missing input; false when one is missing.
// The title first: empty, then one that cannot name a file (checked before
// anything is touched); then the file list.
bool frmMain::CheckInputs() {
    const MissingInput missing = FindMissingInput(*this);
    const std::u16string titleProblem =
        missing == MissingInput::kTitle ? std::u16string(kNoTitleText) : TitleProblem(txtTitleName(), options_.language);
    if (!titleProblem.empty()) {
        view_.ShowMessage(MessageIcon::kInformation, std::u16string(kInputCaption), titleProblem);
        view_.SetFocus(Control::txtTitleName);
        return false;
    }
    if (missing == MissingInput::kFiles) {
        view_.ShowMessage(MessageIcon::kInformation, std::u16string(kInputCaption), std::u16string(kNoFilesText));
        return false;
    }
    return true;
}

BuildOutcome frmMain::RunBuild() {
    BuildOptions options = options_;
    options.progress = [this](std::u16string_view stage, std::size_t pagesWritten) {
        ShowWhetherWaiting(stage == Text(MessageId::kStageWaiting, options_.language) ? stage : u"");
        if (options_.progress) options_.progress(stage, pagesWritten);
    };
    BuildOutcome outcome;
    try {
        outcome = MakeChm(*this, options);
    } catch (const std::exception& error) {
        // The build reports its own failures in its outcome; what escapes it
        // (out of memory) is still reported, and the window still returns to idle.
        outcome.failedStep = MessageId::kStepFinishBuild;
        outcome.reason = {{MessageId::kSystemText, {platform::FromUtf8(error.what())}}};
    }
    ShowWhetherWaiting(u"");
    return outcome;
}

// While another build from this program's folder holds the work folder, the
// caption says what the window is waiting for, and the window repaints once
// before the wait blocks it.
void frmMain::ShowWhetherWaiting(std::u16string_view waitingFor) {
    const bool waiting = !waitingFor.empty();
    if (waiting == captionSaysWaiting_) return;
    captionSaysWaiting_ = waiting;
    const std::u16string caption(kWindowCaption);
    view_.SetCaption(waiting ? caption + u" - " + std::u16string(waitingFor) : caption);
    if (waiting) view_.DoEvents();
}

void frmMain::EnterBusyState() {
    busy_ = true;
    view_.SetEnabled(Control::cmdNext, false);
    view_.SetNextCaption(std::u16string(kBusyCaption));
    for (const Control control : kBusyControls) view_.SetEnabled(control, false);
}

void frmMain::LeaveBusyState() {
    view_.SetEnabled(Control::cmdNext, true);
    view_.SetNextCaption(LayoutOf(Control::cmdNext).caption);
    for (const Control control : kBusyControls) view_.SetEnabled(control, true);
    busy_ = false;
}

// ---- WindowState ------------------------------------------------------------------

std::u16string frmMain::Text1() const { return view_.Text(Control::Text1); }
std::u16string frmMain::txtTitleName() const { return view_.Text(Control::txtTitleName); }
std::u16string frmMain::txtFile() const { return view_.Text(Control::txtFile); }
std::u16string frmMain::txtAd() const { return view_.Text(Control::txtAd); }
std::u16string frmMain::txtTitleDemo() const { return view_.Text(Control::txtTitleDemo); }
std::u16string frmMain::txtFootDemo() const { return view_.Text(Control::txtFootDemo); }
std::u16string frmMain::txtPaperTop() const { return view_.Text(Control::txtPaperTop); }
std::u16string frmMain::txtPaperFoot() const { return view_.Text(Control::txtPaperFoot); }
int frmMain::Check1() const { return view_.CheckValue(); }
std::size_t frmMain::List1ListCount() const { return view_.ListCount(); }

std::u16string frmMain::List1List(std::size_t index) const {
    return index < view_.ListCount() ? view_.ListItem(index) : std::u16string();
}

// The view is told only of real changes, so that a pointer it keeps on a
// stack (Qt's override cursor) is pushed and popped exactly once per build.
void frmMain::SetMousePointer(int pointer) {
    const bool busy = pointer == kBusyPointer;
    if (busy == busyPointerShown_) return;
    busyPointerShown_ = busy;
    view_.SetBusyPointer(busy);
}

void frmMain::DoEvents() { view_.DoEvents(); }

}  // namespace chmbook
