// What a failure message quotes of the compiler's output.
#include <gtest/gtest.h>

#include "book_fixture.h"
#include "batch/compiler_output.h"

namespace chmbook::testing {
namespace {

class CompilerOutputTest : public BookTest {
protected:
    std::u16string TailOf(const std::string& bytes) {
        WriteBytes(root_ / "log.txt", bytes);
        return CompilerOutputTail(U16(root_ / "log.txt"));
    }
};

TEST_F(CompilerOutputTest, NothingWrittenGivesNothing) {
    EXPECT_EQ(CompilerOutputTail(U16(root_ / "missing.txt")), u"");
    EXPECT_EQ(TailOf(""), u"");
    EXPECT_EQ(TailOf("\r\n \n"), u"");
}

TEST_F(CompilerOutputTest, QuotesTheLastLinesWithoutCarriageReturns) {
    EXPECT_EQ(TailOf("one\r\ntwo\r\n"), u"one\ntwo");
    EXPECT_EQ(TailOf("1\n2\n3\n4\n5\n6\n7\n8\n"), u"3\n4\n5\n6\n7\n8");
}

TEST_F(CompilerOutputTest, LongOutputIsCutAtTheStartOfALine) {
    std::string log;
    for (int i = 0; i < 100; ++i) log += std::string(150, 'x') + "\n";
    log += "last words";
    const std::u16string tail = TailOf(log);
    EXPECT_TRUE(tail.ends_with(u"\nlast words"));
    EXPECT_TRUE(tail.starts_with(std::u16string(150, u'x') + u"\n"));
    EXPECT_LE(tail.size(), kQuotedOutputBytes);
}

TEST_F(CompilerOutputTest, DecodesUtf8OrElseTheAnsiCodePage) {
    EXPECT_EQ(TailOf("error: \xE4\xB8\xAD\xE6\x96\x87"), u"error: 中文");
    EXPECT_EQ(TailOf("error: \xD6\xD0\xCE\xC4"), u"error: 中文");
}

}  // namespace
}  // namespace chmbook::testing
