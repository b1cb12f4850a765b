#pragma once
// The rules by which the window fills its state, shared by the window and the
// command line so that both give the build exactly the same inputs.
#include <string>
#include <vector>

namespace chmbook {

// Default texts of the snippet boxes and the notice.
std::u16string StatementText();            // txtTitleDemo and txtPaperFoot
std::u16string StatementTextInFourLines(); // txtFootDemo
std::u16string NoticeText();               // txtAd

// The output folder: the program's folder followed by "Release".
std::u16string OutputFolder(const std::u16string& appPath);
// The output path at start: <program's folder>/Release/test.chm.
std::u16string DefaultOutputPath(const std::u16string& appPath);
// The output path after the title changed: <program's folder>/Release/<title>.chm.
std::u16string OutputPathForTitle(const std::u16string& appPath, const std::u16string& title);
// Creates the output folder when no folder of that name exists. False when it
// is still missing afterwards.
bool EnsureOutputFolder(const std::u16string& appPath);

// The file list entries for a source folder: the folder with one trailing
// separator, followed by each "*.txt" name, in the order the file list shows them.
std::vector<std::u16string> ListSourceFiles(std::u16string folder);

}  // namespace chmbook
