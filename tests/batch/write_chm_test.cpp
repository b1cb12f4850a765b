// The compiler stage on its own.
#include <gtest/gtest.h>

#include "book_fixture.h"
#include "batch/project_files.h"
#include "batch/write_chm.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

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

TEST_F(WriteChmTest, SecondCallRewritesTheProjectFromTheStart) {
    BuildOutcome first, second;
    WriteChm(frm_, u"a much longer first title", frm_.file, options_, first);
    ASSERT_TRUE(first.produced) << platform::ToUtf8(first.Message());
    WriteChm(frm_, u"B", frm_.file, options_, second);
    ASSERT_TRUE(second.produced);
    const std::string hhp = ReadBytes(app_ / "Temp" / "Temp.hhp");
    EXPECT_TRUE(hhp.ends_with("[FILES]\r\nindex.htm")) << hhp;
    EXPECT_NE(hhp.find("Main=\"B\","), std::string::npos);
}

}  // namespace
}  // namespace chmbook::testing
