#pragma once
// The rules by which the window fills its state, shared by the window and the
// command line so that both give the build exactly the same inputs.
#include <string>
#include <vector>

#include "batch/messages.h"

namespace chmbook {

// Default texts of the snippet boxes and the notice.
std::u16string StatementText();            // txtTitleDemo and txtPaperFoot
std::u16string StatementTextInFourLines(); // txtFootDemo
std::u16string NoticeText();               // txtAd

// Where a build keeps its pages while it runs, and where it puts its books.
struct BookFolders {
    std::u16string base;    // the folder that holds both
    std::u16string work;    // "Temp"
    std::u16string output;  // "Release"
};
// Both beside the program when new files can be created in the program's
// folder (a portable copy). When that folder exists but takes no new files (a
// copy installed with the system's programs), both go into "chmbook" in the
// user's data folder instead. The finding is made once per program folder.
BookFolders BookFoldersFor(const std::u16string& appPath);

// The output folder of the program in `appPath`.
std::u16string OutputFolder(const std::u16string& appPath);
// The output path at start: <output folder>/test.chm.
std::u16string DefaultOutputPath(const std::u16string& appPath);
// The output path after the title changed: <output folder>/<title>.chm.
std::u16string OutputPathForTitle(const std::u16string& appPath, const std::u16string& title);
// Creates the output folder (with the folders above it, in the user's data
// folder) when no folder of that name exists. False when it is still missing
// afterwards.
bool EnsureOutputFolder(const std::u16string& appPath);

// The message shown when a finished book could not be opened because the
// desktop has no program for it: where the book lies, and what to install.
// Lines end in a bare LF.
std::u16string BookNotOpenedCaption(Language language = Language::kChinese);
std::u16string BookNotOpenedText(const std::u16string& bookPath, Language language = Language::kChinese);

// The file list entries for a source folder: the folder with one trailing
// separator, followed by each "*.txt" name, in the order the file list shows them.
std::vector<std::u16string> ListSourceFiles(std::u16string folder);

}  // namespace chmbook
