// What a failure message quotes of the compiler's output.
#include <gtest/gtest.h>

#include "book_fixture.h"
#include "batch/compiler_output.h"

namespace chmbook::testing {
namespace {

class CompilerOutputTest : public BookTest {};

TEST_F(CompilerOutputTest, QuotesTheLastLinesDecoded) {
    std::string longLog;
    for (int i = 0; i < 100; ++i) longLog += std::string(150, 'x') + "\n";
    const struct {
        std::string log;
        std::u16string tail;
    } cases[] = {
        {"", u""},
        {"\r\n \n", u""},
        {"one\r\ntwo\r\n", u"one\ntwo"},
        {"1\n2\n3\n4\n5\n6\n7\n8\n", u"3\n4\n5\n6\n7\n8"},
        {"error: \xE4\xB8\xAD\xE6\x96\x87", u"error: 中文"},  // UTF-8
        {"error: \xD6\xD0\xCE\xC4", u"error: 中文"},          // else the ANSI code page
    };
    for (const auto& c : cases) {
        WriteBytes(root_ / "log.txt", c.log);
        EXPECT_EQ(CompilerOutputTail(U16(root_ / "log.txt")), c.tail) << c.log;
    }
    EXPECT_EQ(CompilerOutputTail(U16(root_ / "missing.txt")), u"");

    // Long output is cut at the start of a line.
    WriteBytes(root_ / "log.txt", longLog + "last words");
    const std::u16string tail = CompilerOutputTail(U16(root_ / "log.txt"));
    EXPECT_TRUE(tail.ends_with(u"\nlast words"));
    EXPECT_TRUE(tail.starts_with(std::u16string(150, u'x') + u"\n"));
    EXPECT_LE(tail.size(), kQuotedOutputBytes);
}

}  // namespace
}  // namespace chmbook::testing
