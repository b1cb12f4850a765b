#pragma once
// chmbook-cli: the Generate command from the command line. It fills the
// window's state as the window would and runs the same build.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "batch/make_chm.h"
#include "batch/messages.h"

namespace chmbook::cli {

inline constexpr int kExitProduced = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Environment {
    std::u16string appPath;                  // the program's folder: the compiler, and the book folders
    DocumentOpener openDocument;             // empty: the desktop's default application
    Language language = Language::kEnglish;  // of the messages; see LanguageOfLocale
};

// Runs the command line (`arguments` without the program's name), writing
// progress and the book's path to `out` and messages to `err`, in UTF-8.
// Returns the exit status.
int Run(const std::vector<std::u16string>& arguments, const Environment& environment, std::ostream& out,
        std::ostream& err);

}  // namespace chmbook::cli
