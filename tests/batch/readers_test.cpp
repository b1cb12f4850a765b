// Books built with our own help compiler, read back with the CHM readers we
// did not write.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "batch/book_inputs.h"
#include "book_fixture.h"
#include "platform/platform.h"
#include "test_support/chm_readers.h"

namespace chmbook::testing {
namespace {

std::u16string Between(std::u16string_view page, std::u16string_view open, std::u16string_view close) {
    const std::size_t start = page.find(open);
    if (start == std::u16string_view::npos) return u"(missing)";
    const std::size_t end = page.find(close, start + open.size());
    return std::u16string(page.substr(start + open.size(), end - start - open.size()));
}

// UTF-16 with its byte order mark, little- or big-endian.
std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// From sources in every encoding and with hostile names: every page is there
// and shows its source's text and name, markup escaped and the characters
// that code page 936 cannot hold as character references.
TEST_F(BookTest, EveryPageShowsItsSourceTextAndName) {
    fs::copy_file(CHMBOOK_HHC, app_ / "hhc", fs::copy_options::overwrite_existing);
    // An emoji, a CJK Extension-B character, Korean and Japanese, and how the page shows them.
    const std::string world = "\xF0\x9F\x98\x80 \xF0\xA0\xAE\x9F \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 "
                              "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\x8B\xE3\x81\xAA";
    const std::u16string shown = u"&#128512; &#134047; &#54620;&#44397;&#50612; 日本語かな";
    const struct {
        std::string fileName, bytes;
        std::u16string title, text;  // as the page's markup has them
    } sources[] = {
        {"utf8 mark.txt", "\xEF\xBB\xBF<a&b>" + world, u"utf8 mark", u"&lt;a&amp;b&gt;" + shown},
        {"le.txt", Utf16Bytes(u"\U0001F600 \U00020B9F \uD55C\uAD6D\uC5B4 日本語かな\"q\"", false), u"le",
         shown + u"&quot;q&quot;"},
        {"be.txt", Utf16Bytes(u"中\U0001F600 \U00020B9F \uD55C\uAD6D\uC5B4 日本語かな", true), u"be", u"中" + shown},
        {"gbk.txt", "\xD6\xD0\xCE\xC4\xB2\xE2\xCA\xD4\xA3\xAC\xCB\xB5\xC3\xF7\xA1\xA3", u"gbk", u"中文测试，说明。"},
        {"gbk2.txt", "\xCB\xB5", u"gbk2", u"说"},
        {"a<script>.txt", "1", u"a&lt;script&gt;", u"1"},
        {"<!--.txt", "2", u"&lt;!--", u"2"},
        {"&.txt", "3", u"&amp;", u"3"},
        {"\".txt", "4", u"&quot;", u"4"},
        {"\xCB\xB5\xC3\xF7.txt", "gbk name", u"说明", u"gbk name"},  // the list holds such names undecoded
        {"last.txt", "last", u"last", u"last"},
    };
    for (const auto& source : sources) {
        WriteBytes(sources_ / source.fileName, source.bytes);
        frm_.list1.push_back(platform::FromUtf8((sources_ / source.fileName).native()));
    }
    frm_.titleName = u"Book \U0001F600 <&>";
    frm_.file = OutputPathForTitle(frm_.appPath, frm_.titleName);
    frm_.paperTop = u"<b>\uD55C</b>";

    const BuildOutcome outcome = Build();
    ASSERT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    EXPECT_EQ(outcome.captionStandIns, u"\U0001F600");
    EXPECT_NE(outcome.StandInNote().find(u"\U0001F600"), std::u16string::npos);

    for (const test_support::ChmReader& reader : test_support::kChmReaders) {
        std::string problem;
        fs::create_directories(root_ / reader.name);
        const auto files = reader.extract(frm_.file, root_ / reader.name, &problem);
        ASSERT_TRUE(files) << reader.name << ": " << problem;
        const auto page = [&](const std::string& name) {
            return files->count(name) ? platform::AnsiToUnicode(files->at(name)) : u"(missing)";
        };
        const std::u16string index = page("/index.htm");
        EXPECT_EQ(Between(index, u"<TITLE>", u"</TITLE>"), u"Book &#128512; &lt;&amp;&gt;") << reader.name;
        for (std::size_t i = 0; i < std::size(sources); ++i) {
            const auto& source = sources[i];
            const std::u16string content = page("/" + std::to_string(i) + ".htm");
            SCOPED_TRACE(std::string(reader.name) + " " + source.fileName);
            EXPECT_EQ(Between(content, u"</table><p>&nbsp;</p>\r\n", u"<table"), u"<p>" + source.text + u"</P>\r\n");
            EXPECT_EQ(Between(content, u"<TITLE>", u"</TITLE>"), source.title);
            EXPECT_EQ(Between(content, u"<h1>", u"</h1>"), source.title);
            EXPECT_EQ(Between(content, u"'TitleDemo'>", u"</td>"), u"<b>&#54620;</b>");
            EXPECT_EQ(Between(index, u"<a href='" + platform::FromUtf8(std::to_string(i)) + u".htm'>", u"</p></td>"),
                      source.title + u"</a></p><p class='bewrite'>&nbsp;&nbsp;&nbsp;&nbsp;" + source.text);
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
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < 3; ++round) {
        std::vector<std::optional<platform::ChildProcess>> children;
        for (int build = 0; build < 3; ++build) {
            const std::string name = std::to_string(round) + "-" + std::to_string(build);
            // The first book's sources are named with markup, in the order of their pages.
            const char* const names[] = {"a<script>", "b<style>", "c<!--", "0", "1", "2"};
            for (int page = 0; page < 3; ++page)
                WriteBytes(root_ / ("sources " + name) / (names[page + (name == "0-0" ? 0 : 3)] + std::string(".txt")),
                           "build" + name + "page" + std::to_string(page));
            std::u16string error;
            children.push_back(platform::StartProcess(
                U16(app_ / "chmbook-cli"),
                {u"--title", u"Book " + U16(std::to_string(build)), u"--delete-sources", U16(root_ / ("sources " + name))},
                U16(root_ / ("log " + name)), &error));
            EXPECT_TRUE(children.back()) << platform::ToUtf8(error);
        }
        for (int build = 0; build < 3; ++build) {
            const std::string name = std::to_string(round) + "-" + std::to_string(build);
            ASSERT_TRUE(children[build]);
            EXPECT_EQ(platform::WaitForExit(*children[build]), 0) << ReadBytes(root_ / ("log " + name));
            platform::ReleaseProcess(*children[build]);
            EXPECT_TRUE(FilesIn(root_ / ("sources " + name)).empty()) << name;

            // Each book read by another of the readers.
            const test_support::ChmReader& reader = test_support::kChmReaders[(round * 3 + build) % 4];
            const fs::path work = root_ / ("read " + name);
            fs::create_directories(work);
            std::string problem;
            const auto files = reader.extract(app_ / "Release" / ("Book " + std::to_string(build) + ".chm"), work, &problem);
            ASSERT_TRUE(files) << reader.name << ": " << problem;
            const auto page = [&](const std::string& file) { return files->count(file) ? files->at(file) : ""; };
            EXPECT_NE(page("/index.htm").find("<TITLE>Book " + std::to_string(build) + "</TITLE>"), std::string::npos);
            for (int p = 0; p < 3; ++p) {
                const std::string text = "build" + name + "page" + std::to_string(p);  // found in no other book
                EXPECT_NE(page("/" + std::to_string(p) + ".htm").find("<p>" + text + "</P>"), std::string::npos)
                    << name << " page " << p << " read by " << reader.name;
                EXPECT_NE(page("/index.htm").find(text), std::string::npos) << name;
            }
            EXPECT_FALSE(files->count("/3.htm")) << name;
        }
    }
    EXPECT_TRUE(FilesIn(app_ / "Temp").empty());
    EXPECT_EQ(FilesIn(app_ / "Release").size(), 3u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

}  // namespace
}  // namespace chmbook::testing
