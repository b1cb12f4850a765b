#pragma once
// The main window: every setting of a book lives in its controls, and the book
// build reads them through WindowState at the moment it needs each one.
#include <QMessageBox>
#include <QString>
#include <QWidget>
#include <array>
#include <string>

#include "batch/make_chm.h"
#include "common/window_state.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace chmbook {

class frmMain : public QWidget, public WindowState {
    Q_OBJECT

public:
    // The controls, under the names the rest of the program knows them by.
    struct Controls {
        QGroupBox* Frame1 = nullptr;  // list page settings
        QLabel* Label8 = nullptr;
        QPlainTextEdit* txtAd = nullptr;
        QLabel* Label1 = nullptr;
        QLineEdit* txtTitleName = nullptr;
        QLabel* Label2 = nullptr;
        QPlainTextEdit* txtTitleDemo = nullptr;
        QLabel* Label3 = nullptr;
        QPlainTextEdit* txtFootDemo = nullptr;

        QGroupBox* Frame2 = nullptr;  // content page settings
        QLabel* Label4 = nullptr;
        QPlainTextEdit* txtPaperTop = nullptr;
        QLabel* Label5 = nullptr;
        QPlainTextEdit* txtPaperFoot = nullptr;

        QGroupBox* Frame3 = nullptr;  // the batch
        QLabel* Label6 = nullptr;
        QLineEdit* Text1 = nullptr;
        QPushButton* Command1 = nullptr;
        QPushButton* cmdRefresh = nullptr;
        QListWidget* List1 = nullptr;
        QLabel* Label7 = nullptr;
        QPlainTextEdit* txtFile = nullptr;
        QPushButton* cmdNext = nullptr;
        QCheckBox* Check1 = nullptr;
    };

    // The program's folder is the executable's folder.
    explicit frmMain(QWidget* parent = nullptr);
    // The program's folder is `appPath` (the output and work folders go there).
    explicit frmMain(std::u16string appPath, QWidget* parent = nullptr);
    ~frmMain() override;

    const Controls& ui() const { return ui_; }

    // How the Generate command runs the build (whether the book is opened).
    void SetBuildOptions(BuildOptions options) { buildOptions_ = std::move(options); }
    bool IsBusy() const { return busy_; }

    // WindowState: the controls' current values. Multi-line boxes hand their
    // line breaks over as CR LF.
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

    // The commands behind the controls.
    void Command1_Click();
    void cmdRefresh_Click();
    void cmdNext_Click();

    static const QString kCaption;
    static const QString kNextCaption;
    static const QString kBusyCaption;
    static const QString kBrowseTitle;
    static const QString kInputCaption;
    static const QString kNoTitleText;
    static const QString kNoFilesText;
    static const QString kFailureCaption;

protected:
    // Shows a modal message box. Tests replace it so that nothing blocks.
    virtual void ShowMessage(QMessageBox::Icon icon, const QString& caption, const QString& text);
    // Asks for the source folder; an empty result means the user cancelled.
    virtual QString ChooseFolder();

    // A close while a build runs is put off until the build has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void SetDefaults();
    void ConnectCommands();
    void SetTabOrder();

    void Form_Load();
    void txtTitleName_Change();
    void FillFileList(std::u16string folder);

    std::array<QWidget*, 9> BusyControls() const;
    void EnterBusyState();
    void LeaveBusyState();
    BuildOutcome RunBuild();
    void RestorePointer();

    Controls ui_;
    std::u16string appPath_;
    BuildOptions buildOptions_;
    std::u16string unopenedBook_;  // a finished book the desktop had no program for
    bool busy_ = false;
    bool busyPointerShown_ = false;
    bool closeRequested_ = false;
};

}  // namespace chmbook
