#include "batch/book_inputs.h"
#include "batch/build_context.h"
#include "batch/make_chm.h"
#include "common/mod_public.h"
#include "platform/platform.h"

namespace chmbook {

namespace {

// Appends the text as a sentence of its own: after a blank in English, with a
// full stop unless it ends in a stop or a line break.
void AppendSentence(std::u16string& message, const std::u16string& text, Language language) {
    if (text.empty()) return;
    const bool chinese = language == Language::kChinese;
    if (!chinese && !message.empty() && message.back() != u'\n') message += u' ';
    message += text;
    static constexpr std::u16string_view kStops = u".!?\n。！？";
    if (kStops.find(text.back()) == std::u16string_view::npos) message += chinese ? u'。' : u'.';
}

}  // namespace

std::u16string BuildOutcome::Message(Language in) const {
    if (!Failed()) return produced ? std::u16string() : Text(MessageId::kBookNotMade, in);
    std::u16string step = Text(failedStep, in);
    if (!file.empty()) step = Text(MessageId::kStepOnFile, in, {step, file});
    std::u16string message = Text(produced ? MessageId::kMadeButCouldNot : MessageId::kNotMadeCouldNot, in, {step});
    for (const Phrase& part : reason) AppendSentence(message, part.In(in), in);
    AppendSentence(message, remedy.In(in), in);
    if (sourcesKept) AppendSentence(message, Text(MessageId::kSourcesKept, in), in);
    return message;
}

std::u16string BuildOutcome::StandInNote(Language in) const {
    if (captionStandIns.empty()) return {};
    return Text(MessageId::kNoteCaptionStandIns, in, {captionStandIns});
}

std::u16string WorkFolder(const WindowState& frm) { return BookFoldersFor(frm.AppPath()).work; }

std::u16string WorkFolderLockFile(const WindowState& frm) { return WorkFolder(frm) + u".lock"; }

std::u16string WorkFile(const WindowState& frm, std::u16string_view name) {
    return FixPath(WorkFolder(frm)) + std::u16string(name);
}

void RecordFailure(BuildOutcome& outcome, MessageId step, std::u16string file, std::vector<Phrase> reason,
                   Phrase remedy) {
    if (outcome.Failed()) return;
    outcome.failedStep = std::move(step);
    outcome.file = std::move(file);
    outcome.reason = std::move(reason);
    outcome.remedy = std::move(remedy);
}

void RecordFileFailure(BuildOutcome& outcome, MessageId step, std::u16string file, Phrase remedy) {
    const platform::FileFailure failure = platform::LastFileFailure();
    if (failure.diskFull) {
        RecordFailure(outcome, step, std::move(file), {{MessageId::kReasonDiskFull, {failure.text}}},
                      {MessageId::kRemedyFreeSpace});
        return;
    }
    std::vector<Phrase> reason;
    if (!failure.text.empty()) reason.push_back(SystemText(failure.text));
    RecordFailure(outcome, step, std::move(file), std::move(reason), std::move(remedy));
}

bool WriteAnsiFile(const std::u16string& path, const std::u16string& text) {
    return platform::WriteWholeFile(path, platform::UnicodeToAnsi(text));
}

std::u16string DecimalText(std::size_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

void ReportStage(const BuildOptions& options, MessageId stage, std::size_t pagesWritten) {
    if (options.progress) options.progress(Text(stage, options.language), pagesWritten);
}

Phrase SystemText(std::u16string text) { return Phrase{MessageId::kSystemText, {std::move(text)}}; }

}  // namespace chmbook
