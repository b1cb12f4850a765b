#pragma once
// The build's catalogue of texts: every stage it announces and every failure
// it reports has one Chinese and one English text, looked up by id. The
// window speaks Chinese; the command line follows the user's locale.
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace chmbook {

enum class Language { kChinese, kEnglish };

enum class MessageId {
    kNone,
    // Whole messages, around a failed step.
    kBookNotMade, kNotMadeCouldNot, kMadeButCouldNot, kStepOnFile, kSourcesKept, kSourcesUntouched,
    kCompilerWroteNothing, kCompilerLastOutput, kSystemText,
    // Stages.
    kStagePreparing, kStageWaiting, kStageListPage, kStageContentPages, kStageProjectFiles, kStageCompiler,
    kStageCopy, kStageDeleting, kStageOpening,
    // Steps that can fail, as verb phrases.
    kStepFindProgramFolder, kStepLockWorkFolder, kStepUseWorkFolder, kStepCreateWorkFolder, kStepUseSourceFile,
    kStepEmptyWorkFolder, kStepShowBusyPointer, kStepRepaint, kStepWriteListPage, kStepListSourceFile,
    kStepWriteContentPage, kStepMakeBook, kStepDeleteSources, kStepRestorePointer, kStepOpenBook, kStepReadSource,
    kStepWritePage, kStepDeleteSource, kStepWriteProjectFile, kStepRemoveEarlierBook, kStepFindCompiler,
    kStepStartCompiler, kStepRunCompiler, kStepFindCompiledBook, kStepFindEveryPage, kStepCopyBook,
    kStepFinishBuild,
    // Why a step failed.
    kReasonUnexpected, kReasonNoProgramFolder, kReasonFileInPlace, kReasonSourceInWorkFolder,
    kReasonFilesNotDeleted, kReasonSourceUnreadable, kReasonSourcesNotDeleted, kReasonNoSuchFile,
    kReasonCompilerAbnormal, kReasonCompilerNoBook, kReasonBookLacks, kReasonDiskFull,
    // What the user can do.
    kRemedyStartFromFolder, kRemedyMoveFile, kRemedyCheckProgramFolder, kRemedyMoveSources, kRemedyCloseHolders,
    kRemedyCheckSource, kRemedyCheckWorkFolder, kRemedyDeleteYourself, kRemedyCheckProjectFolder,
    kRemedyCloseOrDeleteBook, kRemedyPutCompiler, kRemedyCheckProgram, kRemedyBuildAgain, kRemedyCorrectCompiler,
    kRemedyBookNotPlaced, kRemedyCheckOutput, kRemedyFreeSpace,
    // The title, checked before anything is touched.
    kTitleCharacter, kTitleDots, kTitleReserved, kTitleTrailing, kTitleTooLong,
    // The command line's own checks.
    kCliNoFolder, kCliNoTextFiles, kCliNoOutputFolder, kCliWarning, kCliDone, kCliOnePageWritten, kCliPagesWritten,
    // Notes on a book that was made.
    kNoteCaptionStandIns, kNoteBookNotOpenedCaption, kNoteBookNotOpened,
    kCount
};

struct MessageTexts {
    MessageId id;
    std::u16string_view zh;
    std::u16string_view en;
};

// The whole catalogue, one entry per id from kBookNotMade on, in id order.
std::span<const MessageTexts> MessageCatalogue();

// The text of `id` in `language`, with "{1}", "{2}", … replaced by the
// arguments in order.
std::u16string Text(MessageId id, Language language, std::initializer_list<std::u16string_view> arguments = {});

// A text to be put into words later, in the reader's language.
struct Phrase {
    Phrase() = default;
    Phrase(MessageId textId, std::vector<std::u16string> textArguments = {})
        : id(textId), arguments(std::move(textArguments)) {}

    MessageId id = MessageId::kNone;
    std::vector<std::u16string> arguments;

    bool empty() const { return id == MessageId::kNone; }
    std::u16string In(Language language) const;
};

// Chinese when the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty names the language zh ("zh_CN.UTF-8", "zh"), English otherwise.
Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

}  // namespace chmbook
