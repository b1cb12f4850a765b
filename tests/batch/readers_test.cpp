// Books built with our own help compiler, read back with the CHM readers we
// did not write.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "batch/book_inputs.h"
#include "book_fixture.h"
#include "platform/platform.h"
#include "test_support/chm_readers.h"

namespace chmbook::testing {
namespace {

using namespace std::string_literals;

// From sources in every encoding, named in UTF-8, in GBK bytes and with
// markup: every page is there and shows its source's text and name, markup
// escaped and the characters that code page 936 cannot hold as character
// references.
TEST_F(BookTest, EveryPageShowsItsSourceTextAndName) {
    fs::copy_file(CHMBOOK_HHC, app_ / "hhc", fs::copy_options::overwrite_existing);
    const struct {
        std::string fileName, bytes;
        std::u16string title, text;  // as the page's markup has them
    } sources[] = {
        // An emoji, a CJK Extension-B character, Korean and Japanese.
        {"utf8 mark.txt", "\xEF\xBB\xBF<a&b>\xF0\x9F\x98\x80 \xF0\xA0\xAE\x9F \xED\x95\x9C \xE6\x97\xA5\xE3\x81\x8B",
         u"utf8 mark", u"&lt;a&amp;b&gt;&#128512; &#134047; &#54620; 日か"},
        {"utf16 \xE4\xB8\xAD.txt", "\xFF\xFE=\xD8\0\xDE\"\0q\0"s, u"utf16 中", u"&#128512;&quot;q"},
        {"\xCB\xB5\xC3\xF7.txt", "\xD6\xD0\xCE\xC4\xA3\xAC", u"说明", u"中文，"},  // the list holds such names undecoded
        {"<!--a&\".txt", "1", u"&lt;!--a&amp;&quot;", u"1"},
    };
    for (const auto& source : sources) {
        WriteBytes(sources_ / source.fileName, source.bytes);
        frm_.list1.push_back(platform::FromUtf8((sources_ / source.fileName).native()));
    }
    frm_.titleName = u"Book \U0001F600 <&>";
    frm_.file = OutputPathForTitle(frm_.appPath, frm_.titleName);

    const BuildOutcome outcome = MakeChm(frm_, options_);
    ASSERT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_EQ(outcome.captionStandIns, u"\U0001F600");

    for (const test_support::ChmReader& reader : test_support::kChmReaders) {
        std::string problem;
        fs::create_directories(root_ / reader.name);
        auto files = reader.extract(frm_.file, root_ / reader.name, &problem);
        ASSERT_TRUE(files) << reader.name << ": " << problem;
        const std::u16string index = platform::AnsiToUnicode((*files)["/index.htm"]);
        EXPECT_NE(index.find(u"<TITLE>Book &#128512; &lt;&amp;&gt;</TITLE>"), std::u16string::npos) << reader.name;
        for (std::size_t i = 0; i < std::size(sources); ++i) {
            const auto& source = sources[i];
            const std::string name = std::to_string(i) + ".htm";
            SCOPED_TRACE(std::string(reader.name) + " " + source.fileName);
            const std::u16string shown = u"<h1>" + source.title + u"</h1></p><p>&nbsp;</p>\r\n<p>" + source.text;
            EXPECT_NE(platform::AnsiToUnicode((*files)["/" + name]).find(shown + u"</P>\r\n<table"), std::u16string::npos);
            EXPECT_NE(index.find(u"<a href='" + U16(name) + u"'>" + source.title +
                                 u"</a></p><p class='bewrite'>&nbsp;&nbsp;&nbsp;&nbsp;" + source.text + u"</p></td>"),
                      std::u16string::npos);
        }
    }
}

// chmbook-cli with our own compiler: several builds at once from one program
// folder, one of them from sources whose names hold markup. Each book is read
// back by another of the readers; a source is gone only when its page is in
// its own book.
TEST_F(BookTest, ConcurrentBuildsFromOneProgramFolderEachMakeTheirOwnBook) {
    fs::copy_file(CHMBOOK_CLI, app_ / "chmbook-cli");
    fs::copy_file(CHMBOOK_HHC, app_ / "hhc", fs::copy_options::overwrite_existing);
    for (int round = 0; round < 3; ++round) {
        std::vector<std::optional<platform::ChildProcess>> children;
        const auto name = [round](int build) { return std::to_string(round) + "-" + std::to_string(build); };
        const auto at = [&](const char* what, int build) { return root_ / (what + name(build)); };
        for (int build = 0; build < 3; ++build) {
            for (int page = 0; page < 3; ++page)
                WriteBytes(at("sources ", build) / (std::to_string(page) + (round + build ? ".txt" : "<!--.txt")),
                           "build" + name(build) + "page" + std::to_string(page));
            children.push_back(platform::StartProcess(
                U16(app_ / "chmbook-cli"),
                {u"--title", u"Book " + U16(std::to_string(build)), u"--delete-sources", U16(at("sources ", build))},
                U16(at("log ", build)), nullptr));
            ASSERT_TRUE(children.back());
        }
        for (int build = 0; build < 3; ++build) {
            EXPECT_EQ(platform::WaitForExit(*children[build]), 0) << ReadBytes(at("log ", build));
            platform::ReleaseProcess(*children[build]);
            EXPECT_TRUE(FilesIn(at("sources ", build)).empty()) << name(build);

            const test_support::ChmReader& reader = test_support::kChmReaders[(round * 3 + build) % 4];
            fs::create_directories(at("read ", build));
            std::string problem;
            auto files = reader.extract(app_ / "Release" / ("Book " + std::to_string(build) + ".chm"),
                                        at("read ", build), &problem);
            ASSERT_TRUE(files) << reader.name << ": " << problem;
            for (int p = 0; p < 3; ++p) {
                const std::string text = "build" + name(build) + "page" + std::to_string(p);  // found in no other book
                EXPECT_NE((*files)["/" + std::to_string(p) + ".htm"].find("<p>" + text + "</P>"), std::string::npos)
                    << name(build) << " page " << p << " read by " << reader.name;
            }
            EXPECT_FALSE(files->count("/3.htm")) << name(build);
        }
    }
    EXPECT_TRUE(FilesIn(app_ / "Temp").empty());
    EXPECT_EQ(FilesIn(app_ / "Release").size(), 3u);
}

}  // namespace
}  // namespace chmbook::testing
