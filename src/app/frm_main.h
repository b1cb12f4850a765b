#pragma once
// The main window's commands, free of any toolkit. frmMain keeps no state of
// its own beyond the program's folder and whether a build runs: every value
// lives in the view's controls and is read from there at the moment of use.
//
// A view creates one frmMain for itself and calls:
//   Form_Load            once, after creating the controls, before showing the window
//   txtTitleName_Change  after every change of txtTitleName's text (typed, deleted, pasted)
//   Command1_Click       when Browse is pressed
//   cmdRefresh_Click     when Refresh is pressed
//   cmdNext_Click        when Generate is pressed
//   Form_QueryUnload     when the user asks to close the window
//
// frmMain is also the WindowState that the book build reads: it answers each
// question from the view, and passes the build's busy pointer and event
// processing on to it.
#include <string>
#include <string_view>

#include "app/window_view.h"
#include "batch/make_chm.h"
#include "common/window_state.h"

namespace chmbook {

class frmMain : public WindowState {
public:
    // `appPath` is the program's folder: the output folder Release and the
    // work folder Temp go there, and the compiler is taken from there.
    // `options` say how a build ends (whether and how the book is opened).
    frmMain(WindowView& view, std::u16string appPath, BuildOptions options = {});

    // ---- Commands --------------------------------------------------------------

    // Puts the controls' starting texts in place (the notice and the snippets)
    // and the output path for the title "test".
    void Form_Load();
    // Makes the output folder when it is missing and sets the output path
    // from the title.
    void txtTitleName_Change();
    // Browse: asks for the source folder and lists its TXT files; a cancelled
    // dialog changes nothing.
    void Command1_Click();
    // Refresh: lists the TXT files of the source folder anew.
    void cmdRefresh_Click();
    // Generate: checks the title and the file list, then builds the book with
    // the window in its busy state, and reports a build that produced no book.
    void cmdNext_Click();
    // True when the window may close now. During a build the close is put off
    // and carried out (through WindowView::Close) once the build has ended.
    bool Form_QueryUnload();

    bool IsBusy() const { return busy_; }

    // ---- WindowState: the controls, read at the moment of use ----------------
    std::u16string Text1() const override;
    std::u16string txtTitleName() const override;
    std::u16string txtFile() const override;
    std::u16string txtAd() const override;
    std::u16string txtTitleDemo() const override;
    std::u16string txtFootDemo() const override;
    std::u16string txtPaperTop() const override;
    std::u16string txtPaperFoot() const override;
    int Check1() const override;
    std::size_t List1ListCount() const override;
    std::u16string List1List(std::size_t index) const override;
    std::u16string AppPath() const override { return appPath_; }
    void SetMousePointer(int pointer) override;
    void DoEvents() override;

    // The texts the commands show.
    static constexpr std::u16string_view kBusyCaption = u"正在生成\r\n请您稍候";
    static constexpr std::u16string_view kBrowseTitle = u"请选择一个文件夹";
    static constexpr std::u16string_view kInputCaption = u"条件不足";
    static constexpr std::u16string_view kNoTitleText = u"请输入该CHM文件的标题名称！";
    static constexpr std::u16string_view kNoFilesText = u"您当前尚没有至少一个有效的TXT文件进行生成！";
    static constexpr std::u16string_view kFailureCaption = u"生成失败";

private:
    void FillFileList(std::u16string folder);
    bool CheckInputs();
    void EnterBusyState();
    void LeaveBusyState();
    BuildOutcome RunBuild();
    void ShowWhetherWaiting(std::u16string_view waitingFor);

    WindowView& view_;
    std::u16string appPath_;
    BuildOptions options_;
    bool busy_ = false;
    bool busyPointerShown_ = false;
    bool closeRequested_ = false;
    bool captionSaysWaiting_ = false;
};

}  // namespace chmbook
