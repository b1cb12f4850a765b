#include "batch/write_chm.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/build_context.h"
#include "batch/compiler_output.h"
#include "batch/project_files.h"
#include "common/mod_public.h"
#include "platform/platform.h"

namespace chmbook {
namespace {

using platform::EntryKind;

std::u16string WithCompilerOutput(std::u16string reason, const std::u16string& logPath) {
    const std::u16string tail = CompilerOutputTail(logPath);
    if (tail.empty()) return reason + u" It wrote no output.";
    return reason + u" Its last output:\n" + tail + u"\n";
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
            RecordFailure(outcome, u"write the project file", path, u"",
                          u"Check that the work folder exists, that you may write to it and that the disk is not full.");
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
    RecordFailure(outcome, u"remove the compiled book of an earlier build", book, u"",
                  u"Close any program that holds it open, or delete it yourself, and build again.");
    return false;
}

// Starts the compiler on the project and waits for it to end; true when it
// ended normally (whatever its exit code: the book it leaves is what counts).
bool RunCompiler(const std::u16string& compiler, const std::u16string& project, const std::u16string& log,
                 int& exitCode, BuildOutcome& outcome) {
    if (platform::LookUp(compiler) != EntryKind::kFile) {
        RecordFailure(outcome, u"find the help compiler", compiler, u"There is no such file.",
                      u"Put the compiler " + CompilerFileName() + u" into the program's folder.");
        return false;
    }
    std::u16string error;
    std::optional<platform::ChildProcess> child = platform::StartProcess(compiler, {project}, log, &error);
    if (!child) {
        RecordFailure(outcome, u"start the help compiler", compiler, error,
                      u"Check that the file is a program that this system can run and that you may run it.");
        return false;
    }
    exitCode = platform::WaitForExit(*child);
    platform::ReleaseProcess(*child);
    if (exitCode == -1) {
        RecordFailure(outcome, u"run the help compiler", compiler,
                      WithCompilerOutput(u"It did not end normally: it crashed or was stopped.", log),
                      u"Build again; if it fails again, check the compiler.");
        return false;
    }
    return true;
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
    ReportStage(options, u"Writing the project files", outcome.pagesWritten);
    if (!WriteProjectFiles(frm, strTitle, outcome)) return;

    ReportStage(options, u"Running the help compiler", outcome.pagesWritten);
    const std::u16string book = WorkFile(frm, u"Temp.chm");
    const std::u16string log = WorkFile(frm, u"Temp.log");
    if (!RemoveEarlierBook(book, outcome)) return;
    int exitCode = 0;
    if (!RunCompiler(FixPath(frm.AppPath()) + CompilerFileName(), WorkFile(frm, u"Temp.hhp"), log, exitCode,
                     outcome))
        return;
    if (platform::LookUp(book) != EntryKind::kFile) {
        RecordFailure(outcome, u"find the compiled book", book,
                      WithCompilerOutput(u"The help compiler ended (exit code " + ExitCodeText(exitCode) +
                                             u") without writing it.",
                                         log),
                      u"Correct what the compiler reports and build again.");
        return;
    }

    ReportStage(options, u"Copying the book to its place", outcome.pagesWritten);
    if (!platform::CopyFileReplacing(book, strFileName)) {
        RecordFailure(outcome, u"copy the book to", strFileName, u"",
                      u"Check that its folder exists and may be written to, and that the book is not open in a "
                      u"reader.");
        return;
    }
    outcome.produced = true;
}

}  // namespace chmbook
