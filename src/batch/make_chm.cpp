#include "batch/make_chm.h"

#include <exception>
#include <string>

#include "batch/book_inputs.h"
#include "batch/build_context.h"
#include "batch/list_page.h"
#include "batch/write_chm.h"
#include "common/mod_public.h"
#include "platform/platform.h"
#include "render/render.h"

namespace chmbook {
namespace {

using platform::EntryKind;

// One run of the batch build. From the clearing of the work folder on, a step
// that fails is recorded (the first one is reported) and the run goes on with
// the next step, so that as much of the book as possible is made and the work
// folder is always emptied at the end.
class BookRun {
public:
    BookRun(WindowState& frm, const BuildOptions& options) : frm_(frm), options_(options) {}
    ~BookRun() { platform::UnlockFile(lock_); }
    BookRun(const BookRun&) = delete;
    BookRun& operator=(const BookRun&) = delete;

    BuildOutcome Run() {
        outcome_.language = options_.language;
        ReportStage(options_, MessageId::kStagePreparing, 0);
        if (!FindProgramFolder() || !LockWorkFolder() || !PrepareWorkFolder() || !SourcesOutsideWorkFolder()) {
            // Stopped before anything was written: say that the sources are safe.
            outcome_.reason.push_back({MessageId::kSourcesUntouched});
            return outcome_;
        }

        Continue(MessageId::kStepEmptyWorkFolder, [&] { EmptyWorkFolder(); });
        Continue(MessageId::kStepShowBusyPointer, [&] { frm_.SetMousePointer(WindowState::kBusyPointer); });
        Continue(MessageId::kStepRepaint, [&] { frm_.DoEvents(); });
        Continue(MessageId::kStepWriteListPage, [&] { WriteListPage(); });
        WriteContentPages();
        const bool pagesComplete = !outcome_.Failed();
        outcome_.captionStandIns = CharactersOutsideAnsi(frm_.txtTitleName());
        Continue(MessageId::kStepMakeBook, [&] { WriteChm(frm_, frm_.txtTitleName(), frm_.txtFile(), options_, outcome_); });
        Continue(MessageId::kStepEmptyWorkFolder, [&] { EmptyWorkFolder(); });
        Continue(MessageId::kStepDeleteSources, [&] { DeleteSources(pagesComplete); });
        Continue(MessageId::kStepRestorePointer, [&] { frm_.SetMousePointer(WindowState::kDefaultPointer); });
        Continue(MessageId::kStepOpenBook, [&] { OpenBook(); });
        return outcome_;
    }

private:
    // Runs one step under the continuation rule: whatever it throws is
    // recorded and the run goes on.
    template <typename Step>
    void Continue(MessageId step, Step&& run) {
        try {
            run();
        } catch (const std::exception& e) {
            RecordFailure(outcome_, step, u"", {SystemText(platform::FromUtf8(e.what()))}, {});
        } catch (...) {
            RecordFailure(outcome_, step, u"", {{MessageId::kReasonUnexpected}}, {});
        }
    }

    // Without the program's folder the work folder would land in the root.
    bool FindProgramFolder() {
        if (!frm_.AppPath().empty()) return true;
        RecordFailure(outcome_, MessageId::kStepFindProgramFolder, u"", {{MessageId::kReasonNoProgramFolder}},
                      {MessageId::kRemedyStartFromFolder});
        return false;
    }

    // One build at a time uses the work folder of a program's folder: a second
    // one waits until the first has ended. The lock dies with the process that
    // holds it, so a build that was killed never blocks the next.
    bool LockWorkFolder() {
        const std::u16string path = WorkFolderLockFile(frm_);
        // The user's data folder may not hold the book folders' own yet.
        const std::u16string base = BookFoldersFor(frm_.AppPath()).base;
        if (platform::LookUp(base) == EntryKind::kNone) platform::CreateFolders(base);
        std::u16string error;
        platform::LockResult result = platform::LockFile(path, false, lock_, &error);
        if (result == platform::LockResult::kBusy) {
            ReportStage(options_, MessageId::kStageWaiting, 0);
            result = platform::LockFile(path, true, lock_, &error);
        }
        if (result == platform::LockResult::kLocked) return true;
        RecordFailure(outcome_, MessageId::kStepLockWorkFolder, path, {SystemText(error)},
                      {MessageId::kRemedyCheckProgramFolder});
        return false;
    }

    // A missing work folder is created and the build goes on.
    bool PrepareWorkFolder() {
        const std::u16string work = WorkFolder(frm_);
        switch (platform::LookUp(work)) {
        case EntryKind::kFolder:
            return true;
        case EntryKind::kFile:
            RecordFailure(outcome_, MessageId::kStepUseWorkFolder, work, {{MessageId::kReasonFileInPlace}},
                          {MessageId::kRemedyMoveFile});
            return false;
        case EntryKind::kNone:
            break;
        }
        // In the user's data folder the levels above may be missing too.
        if (platform::CreateFolder(work) || platform::CreateFolders(work)) return true;
        RecordFileFailure(outcome_, MessageId::kStepCreateWorkFolder, work, {MessageId::kRemedyCheckProgramFolder});
        return false;
    }

    // The work folder is emptied before and after every build: source files
    // kept there would be lost.
    bool SourcesOutsideWorkFolder() {
        const std::u16string prefix = FixPath(WorkFolder(frm_));
        const std::size_t count = frm_.List1ListCount();
        for (std::size_t i = 0; i < count; ++i) {
            const std::u16string entry = frm_.List1List(i);
            if (entry.size() > prefix.size() && entry.compare(0, prefix.size(), prefix) == 0 &&
                entry.find(platform::kPathSeparator, prefix.size()) == std::u16string::npos) {
                RecordFailure(outcome_, MessageId::kStepUseSourceFile, entry, {{MessageId::kReasonSourceInWorkFolder}},
                              {MessageId::kRemedyMoveSources});
                return false;
            }
        }
        return true;
    }

    void EmptyWorkFolder() {
        const std::u16string work = WorkFolder(frm_);
        const std::size_t left = platform::DeleteFilesIn(work);
        if (left == 0) return;
        RecordFailure(outcome_, MessageId::kStepEmptyWorkFolder, work,
                      {{MessageId::kReasonFilesNotDeleted, {DecimalText(left)}}}, {MessageId::kRemedyCloseHolders});
    }

    // The whole text of a source file. A file that cannot be read gives an
    // empty page; that is recorded, since its text is then missing from the book.
    std::u16string ReadSource(const std::u16string& entry) {
        std::u16string text = GetContent(entry, options_.sourceEncoding);
        if (text.empty() && !outcome_.Failed()) {
            std::string bytes;
            if (!platform::ReadWholeFile(entry, bytes))
                RecordFailure(outcome_, MessageId::kStepReadSource, entry, {{MessageId::kReasonSourceUnreadable}},
                              {MessageId::kRemedyCheckSource});
        }
        return text;
    }

    void WriteListPage() {
        ReportStage(options_, MessageId::kStageListPage, outcome_.pagesWritten);
        std::u16string table = ListTableStart();
        const std::size_t count = frm_.List1ListCount();
        for (std::size_t i = 0; i < count; ++i) {
            Continue(MessageId::kStepListSourceFile, [&] {
                const std::u16string entry = frm_.List1List(i);
                table += ListTableRow(i, GetFileName(entry), ListExcerpt(ReadSource(entry)));
            });
        }
        table += ListTableEnd();
        WritePage(WorkFile(frm_, u"index.htm"), HtmlTitle(frm_, frm_.txtTitleName(), kListPage) + table +
                                                    HtmlFoot(frm_, kListPage));
    }

    void WriteContentPages() {
        ReportStage(options_, MessageId::kStageContentPages, outcome_.pagesWritten);
        const std::size_t count = frm_.List1ListCount();
        for (std::size_t i = 0; i < count; ++i) {
            Continue(MessageId::kStepWriteContentPage, [&] {
                const std::u16string entry = frm_.List1List(i);
                WritePage(WorkFile(frm_, PageFileName(i)), HtmlTitle(frm_, GetFileName(entry), kContentPage) +
                                                               txtToHTML(ReadSource(entry)) +
                                                               HtmlFoot(frm_, kContentPage));
            });
            ReportStage(options_, MessageId::kStageContentPages, outcome_.pagesWritten);
        }
    }

    void WritePage(const std::u16string& path, const std::u16string& page) {
        if (WriteAnsiFile(path, WithCharacterReferences(page))) {
            ++outcome_.pagesWritten;
            return;
        }
        RecordFileFailure(outcome_, MessageId::kStepWritePage, path, {MessageId::kRemedyCheckWorkFolder});
    }

    // Sources go only when this run put the whole book at the output path.
    void DeleteSources(bool pagesComplete) {
        if (frm_.Check1() != 1) return;
        if (!outcome_.produced || !pagesComplete) {
            outcome_.sourcesKept = true;
            return;
        }
        ReportStage(options_, MessageId::kStageDeleting, outcome_.pagesWritten);
        const std::size_t count = frm_.List1ListCount();
        std::size_t kept = 0;
        std::u16string firstKept;
        for (std::size_t i = 0; i < count; ++i) {
            const std::u16string entry = frm_.List1List(i);
            if (platform::DeleteOneFile(entry)) continue;
            if (kept++ == 0) firstKept = entry;
        }
        if (kept > 0)
            RecordFailure(outcome_, MessageId::kStepDeleteSource, firstKept,
                          {{MessageId::kReasonSourcesNotDeleted, {DecimalText(kept)}}},
                          {MessageId::kRemedyDeleteYourself});
    }

    void OpenBook() {
        if (!outcome_.produced || !options_.openBook) return;
        const std::u16string book = frm_.txtFile();
        if (!platform::IsOrdinaryFile(book)) return;
        ReportStage(options_, MessageId::kStageOpening, outcome_.pagesWritten);
        const bool opened = options_.openDocument ? options_.openDocument(book) : platform::OpenDocument(book);
        outcome_.bookNotOpened = !opened;
    }

    WindowState& frm_;
    const BuildOptions& options_;
    BuildOutcome outcome_;
    platform::FileLock lock_;
};

}  // namespace

BuildOutcome MakeChm(WindowState& frm, const BuildOptions& options) { return BookRun(frm, options).Run(); }

}  // namespace chmbook
