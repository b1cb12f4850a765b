// chmbook-cli with our own help compiler: the book it makes holds the pages
// byte for byte, as each of the CHM readers we did not write sees them.
#include <gtest/gtest.h>

#include "book_fixture.h"
#include "batch/book_inputs.h"
#include "platform/platform.h"
#include "render/render.h"
#include "test_support/chm_readers.h"

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
    const fs::path program = app_ / "chmbook-cli";
    fs::copy_file(CHMBOOK_CLI, program);
    fs::copy_file(CHMBOOK_HHC, app_ / "hhc", fs::copy_options::overwrite_existing);
    AddSource("first.txt", "\xD6\xD0\xCE\xC4 <b>&</b>\r\nline two\r\n");
    AddSource("second.txt", "plain");

    ASSERT_EQ(RunProgram(program, {u"--title", u"Real", U16(sources_)}, root_ / "cli.txt"), 0)
        << ReadBytes(root_ / "cli.txt");
    const fs::path book = app_ / "Release" / "Real.chm";

    // The same state the command line fills, to compose the expected pages.
    MemoryWindowState frm;
    frm.appPath = U16(app_);
    frm.ad = NoticeText();
    frm.titleDemo = StatementText();
    frm.footDemo = StatementTextInFourLines();
    frm.paperFoot = StatementText();
    const std::u16string first = U16(sources_ / "first.txt");
    const std::string firstPage = platform::UnicodeToAnsi(HtmlTitle(frm, u"first", kContentPage) +
                                                          txtToHTML(GetContent(first)) + HtmlFoot(frm, kContentPage));
    for (const test_support::ChmReader& reader : test_support::kChmReaders) {
        std::string problem;
        const fs::path work = root_ / reader.name;
        fs::create_directories(work);
        const auto files = reader.extract(book, work, &problem);
        ASSERT_TRUE(files) << reader.name << ": " << problem;
        const auto page = [&](const char* name) { return files->count(name) ? files->at(name) : std::string(); };
        EXPECT_EQ(page("/0.htm"), firstPage) << reader.name;
        EXPECT_NE(page("/1.htm").find("<p>plain</P>"), std::string::npos) << reader.name;
        const std::string index = page("/index.htm");
        EXPECT_NE(index.find("<TITLE>Real</TITLE>"), std::string::npos) << reader.name;
        EXPECT_NE(index.find("&nbsp;&nbsp;&nbsp;&nbsp;\xD6\xD0\xCE\xC4 &lt;b&gt;&amp;&lt;/b&gt;\r\nline two\r\n</p>"),
                  std::string::npos)
            << reader.name;
    }
}

}  // namespace
}  // namespace chmbook::testing
