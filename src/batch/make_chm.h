#pragma once
// The book build behind the Generate command.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/messages.h"
#include "common/window_state.h"
#include "render/render.h"

namespace chmbook {

// What a build came to. The build shows nothing itself; the window and the
// command line report this.
struct BuildOutcome {
    bool produced = false;       // the book now stands at the output path, made by this run
    MessageId failedStep = MessageId::kNone;  // the first step that failed, as a verb phrase ("start the compiler")
    std::u16string file;         // the file concerned, when there is one
    std::vector<Phrase> reason;  // why, in words (the system's reason where there is one)
    Phrase remedy;               // what the user can do about it
    bool sourcesKept = false;    // the delete option was ticked but the sources were kept
    bool bookNotOpened = false;  // the book was to be opened, but no program could open it
    std::size_t pagesWritten = 0;  // list page and content pages written
    // Characters of the title that the project file, and so the book's window
    // caption, shows as stand-ins: code page 936 cannot hold them (the pages
    // hold them as character references). Each once.
    std::u16string captionStandIns;
    std::vector<std::u16string> missingPages;  // pages written but not found in the compiled book
    Language language = Language::kChinese;    // of Message(): the build's own (BuildOptions)

    // True when a step failed, whether or not the book was produced.
    bool Failed() const { return failedStep != MessageId::kNone; }

    // A few sentences for a message box or the console: what failed, which
    // file, and what to do. Empty when the book was produced and no step
    // failed; when the book was produced in spite of a failed step (a source
    // that could not be read, a work file that could not be deleted), it says
    // what is missing.
    std::u16string Message() const { return Message(language); }
    std::u16string Message(Language in) const;
    // A sentence naming captionStandIns; empty when there are none.
    std::u16string StandInNote() const { return StandInNote(language); }
    std::u16string StandInNote(Language in) const;
};

// Called when the build enters a stage (a short description in the build's
// language and the number of pages written so far), and again after each
// content page is written. While another build from the same program's
// folder holds the work folder, the stage is Text(MessageId::kStageWaiting).
using BuildProgress = std::function<void(std::u16string_view stage, std::size_t pagesWritten)>;

// Opens a finished book; the default opens it with the desktop. False when
// no program could open it.
using DocumentOpener = std::function<bool(const std::u16string& path)>;

struct BuildOptions {
    bool openBook = true;          // open the finished book with the desktop
    BuildProgress progress;        // may be empty
    DocumentOpener openDocument;   // empty: platform::OpenDocument
    SourceEncoding sourceEncoding = SourceEncoding::kAuto;  // how the source files are read
    Language language = Language::kChinese;  // of the stages and of the outcome's message
};

// Builds the book from the window's state, read at the moment of use.
BuildOutcome MakeChm(WindowState& frm, const BuildOptions& options = {});

}  // namespace chmbook
