#include "batch/build_context.h"
#include "batch/make_chm.h"
#include "common/mod_public.h"
#include "platform/platform.h"

namespace chmbook {

namespace {

// Appends the text as a sentence of its own, with a full stop unless it ends
// in one or in a line break.
void AppendSentence(std::u16string& message, const std::u16string& text) {
    if (text.empty()) return;
    if (!message.empty() && message.back() != u'\n') message += u' ';
    message += text;
    const char16_t last = text.back();
    if (last != u'.' && last != u'!' && last != u'?' && last != u'\n') message += u'.';
}

}  // namespace

std::u16string BuildOutcome::Message() const {
    if (!Failed()) return produced ? std::u16string() : u"The book was not made.";
    std::u16string message =
        produced ? u"The book was made, but the build could not " : u"The book was not made: could not ";
    message += failedStep;
    if (!file.empty()) message += u" \"" + file + u"\"";
    message += u".";
    AppendSentence(message, reason);
    AppendSentence(message, remedy);
    if (sourcesKept) AppendSentence(message, u"The source files were not deleted.");
    return message;
}

std::u16string WorkFolder(const WindowState& frm) { return FixPath(frm.AppPath()) + u"Temp"; }

std::u16string WorkFolderLockFile(const WindowState& frm) { return FixPath(frm.AppPath()) + u"Temp.lock"; }

std::u16string WorkFile(const WindowState& frm, std::u16string_view name) {
    return FixPath(WorkFolder(frm)) + std::u16string(name);
}

void RecordFailure(BuildOutcome& outcome, std::u16string step, std::u16string file, std::u16string reason,
                   std::u16string remedy) {
    if (outcome.Failed()) return;
    outcome.failedStep = std::move(step);
    outcome.file = std::move(file);
    outcome.reason = std::move(reason);
    outcome.remedy = std::move(remedy);
}

bool WriteAnsiFile(const std::u16string& path, const std::u16string& text) {
    return platform::WriteWholeFile(path, platform::UnicodeToAnsi(text));
}

std::u16string DecimalText(std::size_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

void ReportStage(const BuildOptions& options, std::u16string_view stage, std::size_t pagesWritten) {
    if (options.progress) options.progress(stage, pagesWritten);
}

}  // namespace chmbook
