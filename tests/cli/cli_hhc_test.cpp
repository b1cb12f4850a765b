// chmbook-cli with our own help compiler: the book it makes holds the pages
// byte for byte, as chmlib's extract_chmLib, a reader we did not write, sees them.
#include <gtest/gtest.h>

#include "book_fixture.h"
#include "build/book_inputs.h"
#include "platform/platform.h"
#include "render/render.h"

namespace chmbook::testing {
namespace {

int RunProgram(const fs::path& program, const std::vector<std::u16string>& arguments, const fs::path& log) {
    std::u16string error;
    auto child = platform::StartProcess(U16(program), arguments, U16(log), &error);
    if (!child) {
        ADD_FAILURE() << "could not start " << program << ": " << platform::ToUtf8(error);
        return -1;
    }
    const int status = platform::WaitForExit(*child);
    platform::ReleaseProcess(*child);
    return status;
}

class CliWithCompilerTest : public BookTest {};

TEST_F(CliWithCompilerTest, BookMadeWithOurCompilerHoldsEveryPage) {
    if (std::string(CHMBOOK_EXTRACT_CHMLIB).empty()) GTEST_SKIP() << "extract_chmLib is not installed";
    const fs::path program = app_ / "chmbook-cli";
    fs::copy_file(CHMBOOK_CLI, program);
    fs::copy_file(CHMBOOK_HHC, app_ / "hhc", fs::copy_options::overwrite_existing);
    AddSource("first.txt", "\xD6\xD0\xCE\xC4 <b>&</b>\r\nline two\r\n");
    AddSource("second.txt", "plain");

    ASSERT_EQ(RunProgram(program, {u"--title", u"Real", U16(sources_)}, root_ / "cli.txt"), 0)
        << ReadBytes(root_ / "cli.txt");
    const fs::path book = app_ / "Release" / "Real.chm";
    ASSERT_EQ(RunProgram(CHMBOOK_EXTRACT_CHMLIB, {U16(book), U16(root_ / "extracted")}, root_ / "extract.txt"), 0)
        << ReadBytes(root_ / "extract.txt");

    // The same state the command line fills, to compose the expected pages.
    MemoryWindowState frm;
    frm.appPath = U16(app_);
    frm.ad = NoticeText();
    frm.titleDemo = StatementText();
    frm.footDemo = StatementTextInFourLines();
    frm.paperFoot = StatementText();
    const std::u16string first = U16(sources_ / "first.txt");
    EXPECT_EQ(ReadBytes(root_ / "extracted" / "0.htm"),
              platform::UnicodeToAnsi(HtmlTitle(frm, u"first", kContentPage) + txtToHTML(GetContent(first)) +
                                      HtmlFoot(frm, kContentPage)));
    EXPECT_NE(ReadBytes(root_ / "extracted" / "1.htm").find("<p>plain</P>"), std::string::npos);
    const std::string index = ReadBytes(root_ / "extracted" / "index.htm");
    EXPECT_NE(index.find("<TITLE>Real</TITLE>"), std::string::npos);
    EXPECT_NE(index.find("&nbsp;&nbsp;&nbsp;&nbsp;\xD6\xD0\xCE\xC4 &lt;b&gt;&amp;&lt;/b&gt;\r\nline two\r\n</p>"),
              std::string::npos);
}

}  // namespace
}  // namespace chmbook::testing
