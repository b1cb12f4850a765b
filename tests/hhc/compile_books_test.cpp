// Books compiled by the hhc executable and read back with CHMLib, 7-Zip,
// libmspack and pychm: every file must come back byte for byte, and the
// title, default topic and language must be what the project says.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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
using test_support::FilesBelow;
using test_support::Quote;
using test_support::ReadBytes;
using test_support::ReadWithPychm;
using test_support::RunCommand;
using test_support::ScratchFolder;
using test_support::SearchWithPychm;
using test_support::WriteBytes;

bool IsSystemFile(const std::string& name) {
    return name.starts_with("/#") || name.starts_with("/$");
}

class CompileBooksTest : public ::testing::Test {
protected:
    CommandResult Compile(const fs::path& project) {
        return RunCommand(Quote(HHC_EXECUTABLE) + " " + Quote(project), scratch_.path());
    }

    // Compiles and expects success.
    fs::path CompileOk(const fs::path& project, const fs::path& book) {
        const CommandResult run = Compile(project);
        EXPECT_EQ(run.exitCode, 0) << run.output << run.errors;
        EXPECT_TRUE(fs::is_regular_file(book)) << book;
        return book;
    }

    // Every reader must find exactly `expected` among the non-system files,
    // byte for byte.
    void ExpectEveryReaderFinds(const fs::path& book, const BookFiles& expected) {
        std::string problem;
        const fs::path readers = scratch_.path() / "readers";
        fs::create_directories(readers);
        auto check = [&](const char* reader, const std::optional<BookFiles>& found) {
            ASSERT_TRUE(found.has_value()) << reader << ": " << problem;
            std::set<std::string> userFiles;
            for (const auto& [name, bytes] : *found) {
                if (!IsSystemFile(name)) userFiles.insert(name);
            }
            std::set<std::string> wanted;
            for (const auto& [name, bytes] : expected) wanted.insert(name);
            EXPECT_EQ(userFiles, wanted) << reader;
            for (const auto& [name, bytes] : expected) {
                const auto it = found->find(name);
                if (it == found->end()) continue;
                EXPECT_TRUE(it->second == bytes) << reader << ": " << name << " differs (" << it->second.size()
                                                 << " bytes instead of " << bytes.size() << ")";
            }
            for (const char* system : {"/#SYSTEM", "/#TOPICS", "/#URLTBL", "/#URLSTR", "/#STRINGS"}) {
                EXPECT_TRUE(found->count(system)) << reader << " misses " << system;
            }
        };
        for (const test_support::ChmReader& reader : test_support::kChmReaders) {
            check(reader.name, reader.extract(book, readers, &problem));
        }
        fs::remove_all(readers);
    }

    // The files of `folder` that a book of it should hold (all but the
    // project file and books).
    static BookFiles SourcesIn(const fs::path& folder) {
        BookFiles files = FilesBelow(folder);
        for (auto it = files.begin(); it != files.end();) {
            const bool project = it->first.ends_with(".hhp") || it->first.ends_with(".chm");
            it = project ? files.erase(it) : std::next(it);
        }
        return files;
    }

    // Programs are copied into it and run from there.
    ScratchFolder scratch_{"hhc-test", test_support::ScratchUse::kPrograms};
};

std::vector<SourceText> ChineseTexts(std::size_t count, std::size_t repeat) {
    std::vector<SourceText> texts;
    for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        for (std::size_t k = 0; k < repeat; ++k) {
            text += kGbkChinese + " hello world " + std::to_string(i * 7 + k) + " <b>&</b>\r\n";
        }
        texts.push_back({kGbkChapter + std::to_string(i), text});
    }
    return texts;
}

TEST_F(CompileBooksTest, TheBuildsProjectGivesABookEveryReaderOpens) {
    const fs::path folder = scratch_.path() / "Temp";
    const std::string title = kGbkTest + " Notes";
    const fs::path project = WriteBuildProject(folder, title, ChineseTexts(3, 40));
    const CommandResult run = Compile(project);
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    EXPECT_NE(run.output.find("Compiling 2.htm"), std::string::npos) << "progress lines asked for by the project";
    EXPECT_NE(run.output.find("6 files"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("bytes in"), std::string::npos);
    EXPECT_NE(run.output.find("bytes out"), std::string::npos);

    const fs::path book = folder / "Temp.chm";
    ASSERT_TRUE(fs::is_regular_file(book));
    ExpectEveryReaderFinds(book, SourcesIn(folder));

    std::string problem;
    const auto report = ReadWithPychm(book, scratch_.path(), &problem);
    ASSERT_TRUE(report) << problem;
    EXPECT_EQ(report->title, title);  // from the window caption: the project has no Title
    EXPECT_EQ(report->home, "/index.htm");
    EXPECT_EQ(report->encoding, "cp936");
    EXPECT_EQ(report->topics, "/Temp.hhc");
    EXPECT_EQ(report->index, "/Temp.hhk");
    EXPECT_TRUE(report->searchable);

    // A search result leads through #TOPICS, #URLTBL and #URLSTR to the page
    // and its title.
    const auto hits = SearchWithPychm(book, "hello", scratch_.path(), &problem);
    ASSERT_TRUE(hits) << problem;
    const std::map<std::string, std::string> expected{{title, "index.htm"},  // the list page shows excerpts
        {kGbkChapter + "0", "0.htm"}, {kGbkChapter + "1", "1.htm"}, {kGbkChapter + "2", "2.htm"}};
    EXPECT_EQ(*hits, expected);
}

TEST_F(CompileBooksTest, TheSampleFolderCompilesLikeTheBuildRendersIt) {
    std::vector<SourceText> texts;
    std::vector<fs::path> sources;
    if (fs::is_directory(HHC_EXAMPLES_DIR)) {
        for (const auto& entry : fs::directory_iterator(HHC_EXAMPLES_DIR)) {
            if (entry.path().extension() == ".txt") sources.push_back(entry.path());
        }
    }
    if (sources.empty()) GTEST_SKIP() << "no *.txt files in " << HHC_EXAMPLES_DIR;
    std::sort(sources.begin(), sources.end());
    for (const fs::path& source : sources) {
        texts.push_back({source.stem().string(), ReadBytes(source)});
    }
    const fs::path folder = scratch_.path() / "Temp";
    const fs::path book = CompileOk(WriteBuildProject(folder, "Examples", texts), folder / "Temp.chm");
    ExpectEveryReaderFinds(book, SourcesIn(folder));
}

#ifdef HHC_CHMBOOK_CLI
// The real book build (chmbook-cli) with the real compiler on the sample
// folder. A wrapper in the compiler's place keeps a copy of the work folder,
// which the build empties afterwards, to compare the book with.
TEST_F(CompileBooksTest, TheSampleFolderThroughTheBookBuild) {
    const fs::path app = scratch_.path() / "app";
    const fs::path saved = scratch_.path() / "saved";
    fs::create_directories(app);
    fs::copy_file(HHC_CHMBOOK_CLI, app / "chmbook-cli");
    WriteBytes(app / "hhc", "#!/bin/sh\ncp -r \"$(dirname \"$1\")\" " + Quote(saved) + " && exec " +
                                    Quote(HHC_EXECUTABLE) + " \"$1\"\n");
    fs::permissions(app / "hhc", fs::perms::owner_all);
    const std::string title = "\xE6\xB5\x8B\xE8\xAF\x95 Examples";  // "测试 Examples" in UTF-8
    const CommandResult run =
        RunCommand(Quote(app / "chmbook-cli") + " --title " + Quote(title) + " " + Quote(HHC_EXAMPLES_DIR), scratch_.path());
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    const fs::path book = app / "Release" / (title + ".chm");
    ASSERT_TRUE(fs::is_regular_file(book)) << run.output;
    ASSERT_TRUE(fs::is_regular_file(saved / "Temp.hhp"));
    BookFiles sources = SourcesIn(saved);
    sources.erase("/Temp.log");  // the build's record of the compiler's output, written while it runs
    ExpectEveryReaderFinds(book, sources);

    std::string problem;
    const auto report = ReadWithPychm(book, scratch_.path(), &problem);
    ASSERT_TRUE(report) << problem;
    EXPECT_EQ(report->title, kGbkTest + " Examples");
    EXPECT_EQ(report->home, "/index.htm");
    EXPECT_EQ(report->encoding, "cp936");
    EXPECT_TRUE(report->searchable);
}
#endif

TEST_F(CompileBooksTest, ImagesAndStylesheetsInSubfoldersAreTakenInThroughLinks) {
    const fs::path folder = scratch_.path() / "site";
    WriteBytes(folder / "index.htm",
                   "<html><head><title>Start</title><link rel='stylesheet' href='css/site.css'></head><body>"
                   "<img src=\"img/logo.png\"><a href='sub/page.htm#part'>page</a>"
                   "<a href='http://example.com/'>web</a><a href='mailto:x@example.com'>mail</a>"
                   "<a href='missing.htm'>gone</a><a href='#top'>top</a><a href='INDEX.HTM'>self</a></body></html>");
    WriteBytes(folder / "css/site.css", "body { background: url(../img/paper.gif) }\n@import 'print.css';\n");
    WriteBytes(folder / "css/print.css", "h1 { color: black }\n");
    WriteBytes(folder / "img/logo.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + std::string(3000, '\x7F'));
    WriteBytes(folder / "img/paper.gif", "GIF89a" + std::string(500, '\0'));
    WriteBytes(folder / "sub/page.htm",
                   "<html><head><title>Sub page</title></head><body><img src='../img/Logo.png'>"
                   "<a href='deeper/leaf.htm?x=1'>leaf</a><a href='../../outside.htm'>out</a></body></html>");
    WriteBytes(folder / "sub/deeper/leaf.htm", "<title>Leaf</title><a href='/index.htm'>home</a>");
    WriteBytes(folder / "unlinked.htm", "<title>Not linked</title>");
    WriteBytes(folder / "site.hhp", "[OPTIONS]\nTitle=Site\nDefault topic=index.htm\n\n[FILES]\nindex.htm\n");

    const CommandResult run = Compile(folder / "site.hhp");
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    EXPECT_EQ(run.output.find("Compiling"), std::string::npos) << "no progress lines unless asked for";
    EXPECT_NE(run.output.find("Compiled"), std::string::npos) << "the summary is always printed";
    for (const char* warned : {"missing.htm", "../../outside.htm"}) {
        EXPECT_NE(run.errors.find(warned), std::string::npos) << "no warning about " << warned << ":\n" << run.errors;
    }
    EXPECT_NE(run.output.find("2 links to other sites"), std::string::npos) << run.output;

    BookFiles expected = SourcesIn(folder);
    expected.erase("/unlinked.htm");
    ExpectEveryReaderFinds(folder / "site.chm", expected);

    std::string problem;
    const auto report = ReadWithPychm(folder / "site.chm", scratch_.path(), &problem);
    ASSERT_TRUE(report) << problem;
    EXPECT_EQ(report->title, "Site");
    EXPECT_EQ(report->home, "/index.htm");
    EXPECT_EQ(report->encoding, "iso8859_1");  // pychm's name for code page 1252
    EXPECT_FALSE(report->searchable);
}

TEST_F(CompileBooksTest, ThreeThousandPages) {
    const fs::path folder = scratch_.path() / "Temp";
    const fs::path book = CompileOk(WriteBuildProject(folder, "Many", ChineseTexts(3000, 2)), folder / "Temp.chm");
    ExpectEveryReaderFinds(book, SourcesIn(folder));
}

TEST_F(CompileBooksTest, APageLargerThanTheCompressionWindowAndAnEmptyPage) {
    std::mt19937 random(5);
    std::string large;
    // Repetitive and random stretches, about 300 KB, so that matches and
    // literals both cross many 32 KiB frames.
    while (large.size() < 300'000) {
        if (random() % 2) {
            large += "<p>" + kGbkChinese + " repeated line of text " + std::to_string(random() % 50) + "</p>\r\n";
        } else {
            for (int i = 0; i < 200; ++i) large.push_back(static_cast<char>('a' + random() % 26));
        }
    }
    const fs::path folder = scratch_.path() / "big";
    WriteBytes(folder / "index.htm", "<title>Big</title><a href='large.htm'>large</a><a href='empty.htm'>e</a>");
    WriteBytes(folder / "large.htm", "<title>Large</title>" + large);
    WriteBytes(folder / "empty.htm", "");
    WriteBytes(folder / "big.hhp",
                   "[OPTIONS]\r\nLanguage=0x804\r\nFull-text search=Yes\r\n[FILES]\r\nindex.htm\r\n");
    const fs::path book = CompileOk(folder / "big.hhp", folder / "big.chm");
    ExpectEveryReaderFinds(book, SourcesIn(folder));
}

TEST_F(CompileBooksTest, CompiledFileTitleAndDefaultTopicOptions) {
    const fs::path folder = scratch_.path() / "opts";
    WriteBytes(folder / "pages/a.htm", "<title>A</title><a href='b.htm'>b</a>");
    WriteBytes(folder / "pages/b.htm", "<title>B</title>");
    WriteBytes(folder / "out/.keep", "");
    WriteBytes(folder / "p.hhp",
                   "[OPTIONS]\nCompiled file=out\\My Book.chm\nTitle=Option title\nDefault topic=pages\\b.htm\n"
                   "Full-text search=No\nLanguage=0x409\n"
                   "[WINDOWS]\nw=\"Caption\",,,,,,,,,0x20\n[FILES]\npages\\a.htm\n");
    const fs::path book = CompileOk(folder / "p.hhp", folder / "out/My Book.chm");
    EXPECT_FALSE(fs::exists(folder / "p.chm"));
    std::string problem;
    const auto report = ReadWithPychm(book, scratch_.path(), &problem);
    ASSERT_TRUE(report) << problem;
    EXPECT_EQ(report->title, "Option title");  // Title wins over the caption
    EXPECT_EQ(report->home, "/pages/b.htm");
    EXPECT_EQ(report->encoding, "iso8859_1");  // pychm's name for code page 1252
    EXPECT_FALSE(report->files.count("/$FIftiMain"));
    EXPECT_EQ(report->files.at("/pages/a.htm"), "<title>A</title><a href='b.htm'>b</a>");
}

TEST_F(CompileBooksTest, AMissingDefaultTopicIsAWarningAndAnEmptyTitleFallsBackToTheCaption) {
    const fs::path folder = scratch_.path() / "warn";
    WriteBytes(folder / "a.htm", "<title>A</title>");
    WriteBytes(folder / "w.hhp", "[OPTIONS]\r\nTitle=\r\nDefault Window=main\r\nDefault topic=gone.htm\r\n"
                                     "[WINDOWS]\r\nMain=\"Caption, with comma\",,,,,,,,,0x20\r\n[FILES]\r\na.htm");
    const CommandResult run = Compile(folder / "w.hhp");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("Default topic \"gone.htm\" not found"), std::string::npos) << run.errors;
    EXPECT_NE(run.output.find("1 warning"), std::string::npos) << run.output;
    std::string problem;
    const auto report = ReadWithPychm(folder / "w.chm", scratch_.path(), &problem);
    ASSERT_TRUE(report) << problem;
    EXPECT_EQ(report->title, "Caption, with comma");
    EXPECT_EQ(report->home, "/gone.htm");
}

TEST_F(CompileBooksTest, LinksInAnotherLetterCaseFindTheFileOnce) {
    const fs::path folder = scratch_.path() / "case";
    WriteBytes(folder / "Index.htm", "<a href='PAGE.HTM'>1</a><a href='page.htm'>2</a><a href='Sub/IMG.png'>3</a>");
    WriteBytes(folder / "page.htm", "<title>Page</title>");
    WriteBytes(folder / "sub/img.png", "png");
    WriteBytes(folder / "c.hhp", "[FILES]\r\nindex.htm\r\nINDEX.HTM\r\n");
    const fs::path book = CompileOk(folder / "c.hhp", folder / "c.chm");
    ExpectEveryReaderFinds(book, SourcesIn(folder));
}

TEST_F(CompileBooksTest, ChineseFileNamesBecomeUtf8NamesInTheBook) {
    const fs::path folder = scratch_.path() / "names";
    const std::string utf8Name = "\xE4\xB8\xAD\xE6\x96\x87.htm";  // 中文.htm as the file system spells it
    const std::string gbkName = kGbkTest + ".htm";  // 测试.htm spelled in code page 936 on disk
    WriteBytes(folder / "index.htm", "<title>x</title><a href='" + kGbkChinese + ".htm'>gbk link</a>"
                                         "<a href='sub/" + gbkName + "'>gbk name</a>");
    WriteBytes(folder / utf8Name, "<title>" + kGbkChinese + "</title>");
    WriteBytes(folder / "sub" / gbkName, "<title>" + kGbkTest + "</title>");
    WriteBytes(folder / "n.hhp", "[OPTIONS]\r\nLanguage=0x804\r\n[FILES]\r\nindex.htm\r\n");
    const fs::path book = CompileOk(folder / "n.hhp", folder / "n.chm");
    BookFiles expected = SourcesIn(folder);
    // Directory names in a book are UTF-8 whatever the file system's spelling.
    expected["/sub/\xE6\xB5\x8B\xE8\xAF\x95.htm"] = expected.at("/sub/" + gbkName);
    expected.erase("/sub/" + gbkName);
    ExpectEveryReaderFinds(book, expected);
}

}  // namespace
}  // namespace hhc::testing
