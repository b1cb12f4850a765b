// Books compiled by the hhc executable and read back with CHMLib, 7-Zip,
// libmspack and pychm: every file must come back byte for byte, and the
// title, default topic and language must be what the project says.
#include <gtest/gtest.h>

#include <set>

#include "sample_projects.h"
#include "test_support/chm_readers.h"
#include "test_support/pychm.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"

namespace hhc::testing {
namespace {
namespace fs = std::filesystem;
using test_support::BookFiles;
using test_support::CommandResult;
using test_support::Quote;
using test_support::WriteBytes;

class CompileBooksTest : public ::testing::Test {
protected:
    CommandResult Compile(const fs::path& project) {
        return test_support::RunCommand(Quote(HHC_EXECUTABLE) + " " + Quote(project), scratch_.path());
    }
    fs::path CompileOk(const fs::path& project, const fs::path& book) {
        const CommandResult run = Compile(project);
        EXPECT_EQ(run.exitCode, 0) << run.output << run.errors;
        return book;
    }
    test_support::PychmReport Pychm(const fs::path& book) {
        std::string problem;
        const auto report = test_support::ReadWithPychm(book, scratch_.path(), &problem);
        EXPECT_TRUE(report) << problem;
        return report.value_or(test_support::PychmReport{});
    }

    // Every reader must find exactly the files of `folder` (but the project
    // and books, and as renamed by `names`), byte for byte, and the system files.
    void ExpectEveryReaderFinds(const fs::path& book, const fs::path& folder,
                                const std::map<std::string, std::string>& names = {}) {
        BookFiles expected;
        for (auto& [name, bytes] : test_support::FilesBelow(folder))
            if (!name.ends_with(".hhp") && !name.ends_with(".chm") && !names.count(name) && !name.ends_with(".log"))
                expected[name] = bytes;
            else if (names.count(name) && !names.at(name).empty())
                expected[names.at(name)] = bytes;
        std::string problem;
        const fs::path readers = scratch_.path() / "readers";
        for (const test_support::ChmReader& reader : test_support::kChmReaders) {
            SCOPED_TRACE(reader.name);
            fs::create_directories(readers);
            const auto found = reader.extract(book, readers, &problem);
            ASSERT_TRUE(found.has_value()) << problem;
            BookFiles userFiles;
            for (const auto& [name, bytes] : *found)
                if (!name.starts_with("/#") && !name.starts_with("/$")) userFiles[name] = bytes;
            EXPECT_TRUE(userFiles == expected) << userFiles.size() << " files instead of " << expected.size();
            for (const char* system : {"/#SYSTEM", "/#TOPICS", "/#URLTBL", "/#URLSTR", "/#STRINGS"})
                EXPECT_TRUE(found->count(system)) << system;
            fs::remove_all(readers);
        }
    }

    // Programs are copied into it and run from there.
    test_support::ScratchFolder scratch_{"hhc-test", test_support::ScratchUse::kPrograms};
};

std::vector<SourceText> ChineseTexts(std::size_t count, std::size_t repeat) {
    std::vector<SourceText> texts;
    for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        for (std::size_t k = 0; k < repeat; ++k)
            text += "<p>" + kGbkChinese + " hello world " + std::to_string(i * 7 + k) + " &lt;b&gt;&amp;</P>\r\n";
        texts.push_back({kGbkChapter + std::to_string(i), text});
    }
    return texts;
}

TEST_F(CompileBooksTest, TheBuildsProjectGivesABookEveryReaderOpensAndSearches) {
    const fs::path folder = scratch_.path() / "Temp";
    const std::string title = kGbkTest + " Notes";
    const CommandResult run = Compile(WriteBuildProject(folder, title, ChineseTexts(3, 40)));
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    EXPECT_NE(run.output.find("2.htm"), std::string::npos) << "progress lines asked for by the project";
    ExpectEveryReaderFinds(folder / "Temp.chm", folder);

    const auto report = Pychm(folder / "Temp.chm");
    EXPECT_EQ(report.title, title);  // from the window caption: the project has no Title
    EXPECT_EQ(report.home, "/index.htm");
    EXPECT_EQ(report.encoding, "cp936");
    EXPECT_EQ(report.topics, "/Temp.hhc");
    EXPECT_EQ(report.index, "/Temp.hhk");
    EXPECT_TRUE(report.searchable);
    // A search result leads through #TOPICS, #URLTBL and #URLSTR to the page and its title.
    std::string problem;
    const auto hits = test_support::SearchWithPychm(folder / "Temp.chm", "hello", scratch_.path(), &problem);
    ASSERT_TRUE(hits) << problem;
    EXPECT_EQ(*hits, (std::map<std::string, std::string>{{title, "index.htm"}, {kGbkChapter + "0", "0.htm"},
                                                         {kGbkChapter + "1", "1.htm"}, {kGbkChapter + "2", "2.htm"}}));
}

#ifdef HHC_CHMBOOK_CLI
// The real book build (chmbook-cli) with the real compiler on the sample
// folder. A wrapper in the compiler's place keeps a copy of the work folder,
// which the build empties afterwards, to compare the book with.
TEST_F(CompileBooksTest, TheSampleFolderThroughTheBookBuild) {
    const fs::path app = scratch_.path() / "app", saved = scratch_.path() / "saved";
    fs::create_directories(app);
    fs::copy_file(HHC_CHMBOOK_CLI, app / "chmbook-cli");
    WriteBytes(app / "hhc", "#!/bin/sh\ncp -r \"$(dirname \"$1\")\" " + Quote(saved) + " && exec " +
                                Quote(HHC_EXECUTABLE) + " \"$1\"\n");
    fs::permissions(app / "hhc", fs::perms::owner_all);
    const std::string title = "\xE6\xB5\x8B\xE8\xAF\x95 Examples";  // "测试 Examples" in UTF-8
    const CommandResult run = test_support::RunCommand(
        Quote(app / "chmbook-cli") + " --title " + Quote(title) + " " + Quote(HHC_EXAMPLES_DIR), scratch_.path());
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    const fs::path book = app / "Release" / (title + ".chm");
    ASSERT_TRUE(fs::is_regular_file(saved / "Temp.hhp"));
    ExpectEveryReaderFinds(book, saved);
    const auto report = Pychm(book);
    EXPECT_EQ(report.title, kGbkTest + " Examples");
    EXPECT_EQ(report.encoding, "cp936");
    EXPECT_TRUE(report.searchable);
}
#endif

TEST_F(CompileBooksTest, FilesInSubfoldersAreTakenInThroughLinksInAnyLetterCase) {
    const fs::path folder = scratch_.path() / "site";
    WriteBytes(folder / "index.htm",
               "<html><head><title>Start</title><link rel='stylesheet' href='css/site.css'></head><body>"
               "<img src=\"IMG/logo.png\"><a href='sub/page.htm#part'>page</a><a href='http://example.com/'>web</a>"
               "<a href='mailto:x@example.com'>mail</a><a href='missing.htm'>gone</a><a href='#top'>top</a>"
               "<a href='INDEX.HTM'>self</a><a href='" + kGbkChinese + ".htm'>gbk</a></body></html>");
    WriteBytes(folder / "css/site.css", "body { background: url(../img/paper.gif) }\n@import 'print.css';\n");
    WriteBytes(folder / "css/print.css", "h1 { color: black }\n");
    WriteBytes(folder / "img/logo.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + std::string(3000, '\x7F'));
    WriteBytes(folder / "img/paper.gif", "GIF89a" + std::string(500, '\0'));
    WriteBytes(folder / "sub/page.htm", "<title>Sub</title><img src='../img/Logo.png'><a href='deeper/leaf.htm?x=1'>"
                                        "leaf</a><a href='../../outside.htm'>out</a><a href='" + kGbkTest + ".htm'>t</a>");
    WriteBytes(folder / "sub/deeper/leaf.htm", "<title>Leaf</title><a href='/index.htm'>home</a>");
    WriteBytes(folder / "\xE4\xB8\xAD\xE6\x96\x87.htm", "<title>utf-8 name</title>");  // 中文.htm, linked in GBK
    WriteBytes(folder / "sub" / (kGbkTest + ".htm"), "<title>gbk name</title>");       // 测试.htm in GBK on disk
    WriteBytes(folder / "unlinked.htm", "<title>Not linked</title>");
    WriteBytes(folder / "site.hhp", "[OPTIONS]\nTitle=Site\nLanguage=0x804\nDefault topic=index.htm\n\n"
                                    "[FILES]\nindex.htm\nIndex.htm\n");

    const CommandResult run = Compile(folder / "site.hhp");
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    EXPECT_EQ(run.output.find("Compiling"), std::string::npos) << "no progress lines unless asked for";
    for (const char* warned : {"missing.htm", "../../outside.htm"})
        EXPECT_NE(run.errors.find(warned), std::string::npos) << warned << ":\n" << run.errors;
    EXPECT_EQ(run.errors.find("example.com"), std::string::npos) << "links to other sites are counted, not warned";
    EXPECT_NE(run.output.find("2 links to other sites"), std::string::npos) << run.output;
    // Names in a book are UTF-8 whatever the file system's spelling.
    ExpectEveryReaderFinds(folder / "site.chm", folder,
                           {{"/unlinked.htm", ""}, {"/sub/" + kGbkTest + ".htm", "/sub/\xE6\xB5\x8B\xE8\xAF\x95.htm"}});
    const auto report = Pychm(folder / "site.chm");
    EXPECT_EQ(report.title, "Site");
    EXPECT_EQ(report.home, "/index.htm");
    EXPECT_FALSE(report.searchable);
}

TEST_F(CompileBooksTest, ProjectOptionsAndWarnings) {
    const fs::path folder = scratch_.path() / "opts";
    WriteBytes(folder / "pages/a.htm", "<title>A</title><a href='b.htm'>b</a>");
    WriteBytes(folder / "pages/b.htm", "<title>B</title>");
    WriteBytes(folder / "out/.keep", "");
    WriteBytes(folder / "p.hhp", "[OPTIONS]\nCompiled file=out\\My Book.chm\nTitle=Option title\n"
                                 "Default topic=pages\\b.htm\nFull-text search=No\nLanguage=0x409\n"
                                 "[WINDOWS]\nw=\"Caption\",,,,,,,,,0x20\n[FILES]\npages\\a.htm\n");
    const auto report = Pychm(CompileOk(folder / "p.hhp", folder / "out/My Book.chm"));
    EXPECT_FALSE(fs::exists(folder / "p.chm"));
    EXPECT_EQ(report.title, "Option title");  // Title wins over the caption
    EXPECT_EQ(report.home, "/pages/b.htm");
    EXPECT_EQ(report.encoding, "iso8859_1");  // pychm's name for code page 1252
    EXPECT_FALSE(report.files.count("/$FIftiMain"));

    // A missing default topic is a warning; an empty title falls back to the caption.
    WriteBytes(folder / "w.hhp", "[OPTIONS]\r\nTitle=\r\nDefault Window=main\r\nDefault topic=gone.htm\r\n"
                                 "[WINDOWS]\r\nMain=\"Caption, with comma\",,,,,,,,,0x20\r\n[FILES]\r\npages\\a.htm");
    const CommandResult run = Compile(folder / "w.hhp");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("gone.htm"), std::string::npos) << run.errors;
    const auto warned = Pychm(folder / "w.chm");
    EXPECT_EQ(warned.title, "Caption, with comma");
    EXPECT_EQ(warned.home, "/gone.htm");
}

}  // namespace
}  // namespace hhc::testing
