#include "batch/make_chm.h"

#include <exception>
#include <string>

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
        ReportStage(options_, u"Preparing the work folder", 0);
        if (!FindProgramFolder() || !LockWorkFolder() || !PrepareWorkFolder() || !SourcesOutsideWorkFolder())
            return outcome_;

        Continue(u"empty the work folder", [&] { EmptyWorkFolder(); });
        Continue(u"show the busy pointer", [&] { frm_.SetMousePointer(WindowState::kBusyPointer); });
        Continue(u"let the window repaint", [&] { frm_.DoEvents(); });
        Continue(u"write the list page", [&] { WriteListPage(); });
        WriteContentPages();
        const bool pagesComplete = !outcome_.Failed();
        Continue(u"make the book", [&] { WriteChm(frm_, frm_.txtTitleName(), frm_.txtFile(), options_, outcome_); });
        Continue(u"empty the work folder", [&] { EmptyWorkFolder(); });
        Continue(u"delete the source files", [&] { DeleteSources(pagesComplete); });
        Continue(u"restore the mouse pointer", [&] { frm_.SetMousePointer(WindowState::kDefaultPointer); });
        Continue(u"open the book", [&] { OpenBook(); });
        return outcome_;
    }

private:
    // Runs one step under the continuation rule: whatever it throws is
    // recorded and the run goes on.
    template <typename Step>
    void Continue(const std::u16string& step, Step&& run) {
        try {
            run();
        } catch (const std::exception& e) {
            RecordFailure(outcome_, step, u"", platform::FromUtf8(e.what()), u"");
        } catch (...) {
            RecordFailure(outcome_, step, u"", u"An unexpected error occurred.", u"");
        }
    }

    // Without the program's folder the work folder would land in the root.
    bool FindProgramFolder() {
        if (!frm_.AppPath().empty()) return true;
        RecordFailure(outcome_, u"find the program's folder", u"", u"The system did not report it.",
                      u"Start the program from its own folder.");
        return false;
    }

    // One build at a time uses the work folder of a program's folder: a second
    // one waits until the first has ended. The lock dies with the process that
    // holds it, so a build that was killed never blocks the next.
    bool LockWorkFolder() {
        const std::u16string path = WorkFolderLockFile(frm_);
        std::u16string error;
        platform::LockResult result = platform::LockFile(path, false, lock_, &error);
        if (result == platform::LockResult::kBusy) {
            ReportStage(options_, kWaitingStage, 0);
            result = platform::LockFile(path, true, lock_, &error);
        }
        if (result == platform::LockResult::kLocked) return true;
        RecordFailure(outcome_, u"lock the work folder", path, error,
                      u"Check that you may write to the program's folder.");
        return false;
    }

    // A missing work folder is created and the build goes on.
    bool PrepareWorkFolder() {
        const std::u16string work = WorkFolder(frm_);
        switch (platform::LookUp(work)) {
        case EntryKind::kFolder:
            return true;
        case EntryKind::kFile:
            RecordFailure(outcome_, u"use the work folder", work, u"A file of that name stands in its place.",
                          u"Move or delete that file and build again.");
            return false;
        case EntryKind::kNone:
            break;
        }
        if (platform::CreateFolder(work)) return true;
        RecordFailure(outcome_, u"create the work folder", work, u"",
                      u"Check that you may write to the program's folder.");
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
                RecordFailure(outcome_, u"use the source file", entry,
                              u"It lies in the work folder, which every build empties.",
                              u"Move the text files to a folder of their own and choose that folder.");
                return false;
            }
        }
        return true;
    }

    void EmptyWorkFolder() {
        const std::u16string work = WorkFolder(frm_);
        const std::size_t left = platform::DeleteFilesIn(work);
        if (left == 0) return;
        RecordFailure(outcome_, u"empty the work folder", work,
                      std::u16string(u"Files that could not be deleted: ") + DecimalText(left) + u".",
                      u"Close any program that holds files of that folder open and build again.");
    }

    // The whole text of a source file. A file that cannot be read gives an
    // empty page; that is recorded, since its text is then missing from the book.
    std::u16string ReadSource(const std::u16string& entry) {
        std::u16string text = GetContent(entry);
        if (text.empty() && !outcome_.Failed()) {
            std::string bytes;
            if (!platform::ReadWholeFile(entry, bytes))
                RecordFailure(outcome_, u"read the source file", entry,
                              u"It is missing or may not be read, so its page is empty.",
                              u"Check the file and build again.");
        }
        return text;
    }

    void WriteListPage() {
        ReportStage(options_, u"Writing the list page", outcome_.pagesWritten);
        std::u16string table = ListTableStart();
        const std::size_t count = frm_.List1ListCount();
        for (std::size_t i = 0; i < count; ++i) {
            Continue(u"list the source file", [&] {
                const std::u16string entry = frm_.List1List(i);
                table += ListTableRow(i, GetFileName(entry), ListExcerpt(ReadSource(entry)));
            });
        }
        table += ListTableEnd();
        WritePage(WorkFile(frm_, u"index.htm"), HtmlTitle(frm_, frm_.txtTitleName(), kListPage) + table +
                                                    HtmlFoot(frm_, kListPage));
    }

    void WriteContentPages() {
        ReportStage(options_, u"Writing the content pages", outcome_.pagesWritten);
        const std::size_t count = frm_.List1ListCount();
        for (std::size_t i = 0; i < count; ++i) {
            Continue(u"write a content page", [&] {
                const std::u16string entry = frm_.List1List(i);
                WritePage(WorkFile(frm_, PageFileName(i)), HtmlTitle(frm_, GetFileName(entry), kContentPage) +
                                                               txtToHTML(ReadSource(entry)) +
                                                               HtmlFoot(frm_, kContentPage));
            });
            if (options_.progress) options_.progress(u"Writing the content pages", outcome_.pagesWritten);
        }
    }

    void WritePage(const std::u16string& path, const std::u16string& page) {
        if (WriteAnsiFile(path, page)) {
            ++outcome_.pagesWritten;
            return;
        }
        RecordFailure(outcome_, u"write the page", path, u"",
                      u"Check that you may write to the work folder and that the disk is not full.");
    }

    // Sources go only when this run put the whole book at the output path.
    void DeleteSources(bool pagesComplete) {
        if (frm_.Check1() != 1) return;
        if (!outcome_.produced || !pagesComplete) {
            outcome_.sourcesKept = true;
            return;
        }
        ReportStage(options_, u"Deleting the source files", outcome_.pagesWritten);
        const std::size_t count = frm_.List1ListCount();
        std::size_t kept = 0;
        std::u16string firstKept;
        for (std::size_t i = 0; i < count; ++i) {
            const std::u16string entry = frm_.List1List(i);
            if (platform::DeleteOneFile(entry)) continue;
            if (kept++ == 0) firstKept = entry;
        }
        if (kept > 0)
            RecordFailure(outcome_, u"delete the source file", firstKept,
                          u"Source files that could not be deleted: " + DecimalText(kept) + u".",
                          u"Delete them yourself if you no longer need them.");
    }

    void OpenBook() {
        if (!outcome_.produced || !options_.openBook) return;
        const std::u16string book = frm_.txtFile();
        if (!platform::IsOrdinaryFile(book)) return;
        ReportStage(options_, u"Opening the book", outcome_.pagesWritten);
        if (options_.openDocument)
            options_.openDocument(book);
        else
            platform::OpenDocument(book);
    }

    WindowState& frm_;
    const BuildOptions& options_;
    BuildOutcome outcome_;
    platform::FileLock lock_;
};

}  // namespace

BuildOutcome MakeChm(WindowState& frm, const BuildOptions& options) { return BookRun(frm, options).Run(); }

}  // namespace chmbook
