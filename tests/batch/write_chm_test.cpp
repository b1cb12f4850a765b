// The help project's texts and the compiler stage on its own.
#include <gtest/gtest.h>

#include "book_fixture.h"
#include "batch/project_files.h"
#include "batch/write_chm.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

const std::u16string kWindowTail = u",,,,,0x20,180,0x10387C,[80,60,720,540],0x0,0x0,,1,,,0";

std::u16string MainLine(const std::u16string& text) {
    const std::size_t start = text.find(u"Main=");
    return text.substr(start, text.find(u"\r\n", start) - start);
}

TEST(ProjectFiles, TheTitleGoesIntoTheWindowDefinitionUnchanged) {
    EXPECT_EQ(MainLine(HhpText(u"Notes")),
              u"Main=\"Notes\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\"" + kWindowTail);
    EXPECT_EQ(MainLine(HhpText(u"")),
              u"Main=\"\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\"" + kWindowTail);
    EXPECT_EQ(MainLine(HhpText(u"a \"b\", c")),
              u"Main=\"a \"b\", c\",\"Temp.hhc\",\"Temp.hhk\",\"index.htm\",\"index.htm\"" + kWindowTail);
}

class WriteChmTest : public BookTest {};

TEST_F(WriteChmTest, MissingWorkFolderEndsAtTheFirstProjectFile) {
    fs::remove_all(app_ / "Temp");
    BuildOutcome outcome;
    WriteChm(frm_, u"T", frm_.file, options_, outcome);
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepWriteProjectFile);
    EXPECT_EQ(outcome.file, U16(app_ / "Temp" / "Temp.hhc"));
    EXPECT_FALSE(fs::exists(app_ / "hhc-args.txt"));  // the compiler never ran
}

TEST_F(WriteChmTest, MissingCompilerLeavesTheProjectFilesAndTheOutputUntouched) {
    fs::remove(app_ / CompilerFileName());
    WriteBytes(frm_.file, "older book");
    BuildOutcome outcome;
    WriteChm(frm_, u"T", frm_.file, options_, outcome);
    EXPECT_FALSE(outcome.produced);
    EXPECT_EQ(outcome.failedStep, MessageId::kStepFindCompiler);
    for (const char* name : {"Temp.hhc", "Temp.hhk", "Temp.hhp"}) EXPECT_TRUE(fs::exists(app_ / "Temp" / name));
    EXPECT_EQ(ReadBytes(frm_.file), "older book");
}

TEST_F(WriteChmTest, SecondCallRewritesTheProjectFromTheStart) {
    BuildOutcome first;
    WriteChm(frm_, u"a much longer first title", frm_.file, options_, first);
    ASSERT_TRUE(first.produced) << platform::ToUtf8(first.Message());
    BuildOutcome second;
    WriteChm(frm_, u"B", frm_.file, options_, second);
    ASSERT_TRUE(second.produced);
    EXPECT_EQ(ReadBytes(app_ / "Temp" / "Temp.hhp"), platform::UnicodeToAnsi(HhpText(u"B")));
}

TEST(BuildOutcomeMessage, SaysWhatFailedWhichFileAndWhatToDo) {
    BuildOutcome outcome;
    outcome.language = Language::kEnglish;
    outcome.failedStep = MessageId::kStepCopyBook;
    outcome.file = u"/x/y.chm";
    outcome.remedy = {MessageId::kSystemText, {u"Check the folder"}};
    EXPECT_EQ(outcome.Message(), u"The book was not made: could not copy the book to \"/x/y.chm\". Check the folder.");
    outcome.reason = {{MessageId::kSystemText, {u"It ended.\nlast line\n"}}};
    outcome.sourcesKept = true;
    EXPECT_EQ(outcome.Message(), u"The book was not made: could not copy the book to \"/x/y.chm\". It ended.\n"
                                 u"last line\nCheck the folder. The source files were not deleted.");
    outcome.produced = true;
    EXPECT_EQ(outcome.Message().rfind(u"The book was made, but the build could not copy", 0), 0u);
    BuildOutcome made;
    made.produced = true;
    EXPECT_EQ(made.Message(), u"");
}

}  // namespace
}  // namespace chmbook::testing
