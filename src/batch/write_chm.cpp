#include "batch/write_chm.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/book_directory.h"
#include "batch/build_context.h"
#include "batch/compiler_output.h"
#include "batch/project_files.h"
#include "common/mod_public.h"
#include "platform/platform.h"

namespace chmbook {
namespace {

using platform::EntryKind;

std::vector<Phrase> WithCompilerOutput(Phrase reason, const std::u16string& logPath) {
    const std::u16string tail = CompilerOutputTail(logPath);
    if (tail.empty()) return {std::move(reason), {MessageId::kCompilerWroteNothing}};
    return {std::move(reason), {MessageId::kCompilerLastOutput, {tail}}};
}

std::u16string ExitCodeText(int exitCode) {
    const std::string digits = std::to_string(exitCode);
    return std::u16string(digits.begin(), digits.end());
}

bool WriteProjectFiles(const WindowState& frm, const std::u16string& strTitle, BuildOutcome& outcome) {
    const std::pair<const char16_t*, std::u16string> files[] = {
        {u"Temp.hhc", HhcText()}, {u"Temp.hhk", HhkText()}, {u"Temp.hhp", HhpText(strTitle)}};
    for (const auto& [name, text] : files) {
        const std::u16string path = WorkFile(frm, name);
        if (!WriteAnsiFile(path, text)) {
            RecordFileFailure(outcome, MessageId::kStepWriteProjectFile, path, {MessageId::kRemedyCheckProjectFolder});
            return false;
        }
    }
    return true;
}

// A Temp.chm left from an earlier run must not pass for the work of this one.
bool RemoveEarlierBook(const std::u16string& book, BuildOutcome& outcome) {
    if (platform::LookUp(book) == EntryKind::kNone) return true;
    platform::DeleteOneFile(book);
    if (platform::LookUp(book) == EntryKind::kNone) return true;
    RecordFailure(outcome, MessageId::kStepRemoveEarlierBook, book, {}, {MessageId::kRemedyCloseOrDeleteBook});
    return false;
}

// Starts the compiler on the project and waits for it to end; true when it
// ended normally (whatever its exit code: the book it leaves is what counts).
bool RunCompiler(const std::u16string& compiler, const std::u16string& project, const std::u16string& log,
                 int& exitCode, BuildOutcome& outcome) {
    if (platform::LookUp(compiler) != EntryKind::kFile) {
        RecordFailure(outcome, MessageId::kStepFindCompiler, compiler, {{MessageId::kReasonNoSuchFile}},
                      {MessageId::kRemedyPutCompiler, {CompilerFileName()}});
        return false;
    }
    std::u16string error;
    std::optional<platform::ChildProcess> child = platform::StartProcess(compiler, {project}, log, &error);
    if (!child) {
        RecordFailure(outcome, MessageId::kStepStartCompiler, compiler, {SystemText(error)},
                      {MessageId::kRemedyCheckProgram});
        return false;
    }
    exitCode = platform::WaitForExit(*child);
    platform::ReleaseProcess(*child);
    if (exitCode == -1) {
        RecordFailure(outcome, MessageId::kStepRunCompiler, compiler,
                      WithCompilerOutput({MessageId::kReasonCompilerAbnormal}, log), {MessageId::kRemedyBuildAgain});
        return false;
    }
    return true;
}

// The pages this run wrote: every page file in the work folder, which the
// build emptied before writing them.
std::vector<std::u16string> PagesWritten(const WindowState& frm) {
    return platform::FindFiles(WorkFolder(frm), u"*.htm");
}

// "3.htm (notes.txt)": a content page with the source it was made from.
std::u16string PageWithSource(const WindowState& frm, const std::u16string& page) {
    std::size_t number = 0;
    std::size_t digits = 0;
    while (digits < page.size() && page[digits] >= u'0' && page[digits] <= u'9')
        number = number * 10 + (page[digits++] - u'0');
    if (digits == 0 || page.substr(digits) != u".htm" || number >= frm.List1ListCount()) return page;
    const std::u16string entry = frm.List1List(number);
    return page + u" (" + entry.substr(entry.find_last_of(platform::kPathSeparator) + 1) + u")";
}

// A book that lacks a page the build wrote must not pass for a good one: it
// is not put in place, and the sources stay.
bool BookHoldsEveryPage(const WindowState& frm, const std::u16string& book, BuildOutcome& outcome) {
    std::string bytes;
    platform::ReadWholeFile(book, bytes);
    const std::vector<std::u16string> missing = PagesMissingFromBook(bytes, PagesWritten(frm));
    if (missing.empty()) return true;
    std::u16string list;
    for (const std::u16string& page : missing) list += (list.empty() ? u"" : u", ") + PageWithSource(frm, page);
    outcome.missingPages = missing;
    RecordFailure(outcome, MessageId::kStepFindEveryPage, book, {{MessageId::kReasonBookLacks, {list}}},
                  {MessageId::kRemedyBookNotPlaced});
    return false;
}

// A copy to the output path goes through "<book>.part-<process>" beside it. A
// build killed during the copy leaves that file; the work-folder lock keeps
// every other build of this program's folder out, so any such file is stale.
void RemoveInterruptedCopies(const std::u16string& strFileName) {
    const std::size_t slash = strFileName.find_last_of(platform::kPathSeparator);
    if (slash == std::u16string::npos) return;
    const std::u16string folder = strFileName.substr(0, slash + 1);
    const std::u16string name = strFileName.substr(slash + 1);
    const std::u16string prefix = name + u".part-";
    for (const std::u16string& part : platform::FindFiles(folder, prefix + u"*"))
        if (part.compare(0, prefix.size(), prefix) == 0) platform::DeleteOneFile(folder + part);
}

}  // namespace

std::u16string CompilerFileName() {
#ifdef _WIN32
    return u"hhc.exe";
#else
    return u"hhc";
#endif
}

void WriteChm(const WindowState& frm, std::u16string strTitle, std::u16string strFileName,
              const BuildOptions& options, BuildOutcome& outcome) {
    outcome.language = options.language;
    ReportStage(options, MessageId::kStageProjectFiles, outcome.pagesWritten);
    if (!WriteProjectFiles(frm, strTitle, outcome)) return;

    ReportStage(options, MessageId::kStageCompiler, outcome.pagesWritten);
    const std::u16string book = WorkFile(frm, u"Temp.chm");
    const std::u16string log = WorkFile(frm, u"Temp.log");
    if (!RemoveEarlierBook(book, outcome)) return;
    int exitCode = 0;
    if (!RunCompiler(FixPath(frm.AppPath()) + CompilerFileName(), WorkFile(frm, u"Temp.hhp"), log, exitCode,
                     outcome))
        return;
    if (platform::LookUp(book) != EntryKind::kFile) {
        RecordFailure(outcome, MessageId::kStepFindCompiledBook, book,
                      WithCompilerOutput({MessageId::kReasonCompilerNoBook, {ExitCodeText(exitCode)}}, log),
                      {MessageId::kRemedyCorrectCompiler});
        return;
    }

    if (!BookHoldsEveryPage(frm, book, outcome)) return;

    ReportStage(options, MessageId::kStageCopy, outcome.pagesWritten);
    RemoveInterruptedCopies(strFileName);
    if (!platform::CopyFileReplacing(book, strFileName)) {
        RecordFileFailure(outcome, MessageId::kStepCopyBook, strFileName, {MessageId::kRemedyCheckOutput});
        return;
    }
    outcome.produced = true;
}

}  // namespace chmbook
