#pragma once
// The book build behind the Generate command.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "common/window_state.h"

namespace chmbook {

// What a build came to. The build shows nothing itself; the window and the
// command line report this.
struct BuildOutcome {
    bool produced = false;       // the book now stands at the output path, made by this run
    std::u16string failedStep;   // when not produced: the first step that failed, in words
    std::u16string file;         // the file concerned, when there is one
    std::u16string reason;       // why, in words (the system's reason where there is one)
    std::size_t pagesWritten = 0;  // list page and content pages written

    // One sentence for a message box or the console: what failed, which file,
    // and what to do. Empty when the book was produced.
    std::u16string Message() const;
};

// Called as the build moves from stage to stage (a short description and the
// number of pages written so far).
using BuildProgress = std::function<void(std::u16string_view stage, std::size_t pagesWritten)>;

struct BuildOptions {
    bool openBook = true;     // open the finished book with the desktop
    BuildProgress progress;   // may be empty
};

// Builds the book from the window's state, read at the moment of use.
BuildOutcome MakeChm(WindowState& frm, const BuildOptions& options = {});

}  // namespace chmbook
