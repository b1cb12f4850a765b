#pragma once
// What MakeChm and WriteChm share within one run: the paths of the work
// folder, the record of the first failing step, and whole-file writing.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "batch/make_chm.h"
#include "common/window_state.h"

namespace chmbook {

// The work folder of the program in frm.AppPath() (see BookFoldersFor).
std::u16string WorkFolder(const WindowState& frm);
// The file whose lock marks the work folder as in use: "Temp.lock" beside it
// (outside it, since every build empties it).
// It lies outside the work folder, which every build empties.
std::u16string WorkFolderLockFile(const WindowState& frm);
// A file in the work folder.
std::u16string WorkFile(const WindowState& frm, std::u16string_view name);

// Records a failed step unless an earlier one is recorded already: the
// outcome names the first step that failed.
void RecordFailure(BuildOutcome& outcome, MessageId step, std::u16string file, std::vector<Phrase> reason,
                   Phrase remedy);
// Records a failed file operation (creating a folder, writing a file, copying
// the book) with the system's reason. A full disk is named as such, with its
// own remedy, whatever the step; otherwise `remedy` stands.
void RecordFileFailure(BuildOutcome& outcome, MessageId step, std::u16string file, Phrase remedy);

// A text from the system (its reason for a failure), shown as it is.
Phrase SystemText(std::u16string text);

// Converts the text to the ANSI code page and writes it as the file's whole
// content, in one piece. Nothing is added: a page ends with its foot's CR LF,
// and Temp.hhc and Temp.hhp end without one, as composed.
bool WriteAnsiFile(const std::u16string& path, const std::u16string& text);

// The number in plain decimal: "0", "1", … "32768", …
std::u16string DecimalText(std::size_t value);

// Announces a stage to the caller, when the caller listens.
void ReportStage(const BuildOptions& options, MessageId stage, std::size_t pagesWritten);

}  // namespace chmbook
