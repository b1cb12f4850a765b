// Books compiled by the hhc executable and read back with CHMLib, 7-Zip,
// libmspack and pychm: every file must come back byte for byte, and the
// title, default topic, language and search hits must be what the project
// says. When no book can be made: a non-zero exit status, an error naming the
// file, and the folder left as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "batch/project_files.h"
#include "platform/platform.h"
#include "test_support/chm_readers.h"
#include "test_support/pychm.h"
#include "test_support/run_command.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace hhc::testing {
namespace {
namespace fs = std::filesystem;
using test_support::BookFiles;
using test_support::CommandResult;
using test_support::Quote;
using test_support::ReadBytes;
using test_support::WriteBytes;
using Hits = std::map<std::string, std::string>;

const std::string kGbkTest = "\xB2\xE2\xCA\xD4";     // 测试
const std::string kGbkChinese = "\xD6\xD0\xCE\xC4";  // 中文
const std::string kGbkChapter = "\xB5\xDA";          // 第

std::size_t CountLines(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; at = text.find('\n', at)) ++count;
    return count;
}

class CompileBooksTest : public ::testing::Test {
protected:
    CommandResult Compile(const fs::path& project, const std::string& prefix = "") {
        return test_support::RunCommand(prefix + Quote(HHC_EXECUTABLE) + " " + Quote(project), scratch_.path());
    }
    test_support::PychmReport Pychm(const fs::path& book) {
        std::string problem;
        const auto report = test_support::ReadWithPychm(book, scratch_.path(), &problem);
        EXPECT_TRUE(report) << problem;
        return report.value_or(test_support::PychmReport{});
    }
    Hits Search(const fs::path& book, const std::string& word) {
        std::string problem;
        const auto hits = test_support::SearchWithPychm(book, word, scratch_.path(), &problem);
        EXPECT_TRUE(hits) << problem;
        return hits.value_or(Hits{});
    }
    // Every reader finds exactly the files of `folder` but the projects and
    // books (and as renamed or left out by `names`), byte for byte, beside the
    // system files.
    void ExpectEveryReaderFinds(const fs::path& book, const fs::path& folder,
                                const std::map<std::string, std::string>& names = {}) {
        BookFiles expected;
        for (auto& [name, bytes] : test_support::FilesBelow(folder)) {
            const std::string stored = names.count(name) ? names.at(name) : name;
            if (!stored.empty() && !name.ends_with(".hhp") && !name.ends_with(".chm")) expected[stored] = bytes;
        }
        for (const test_support::ChmReader& reader : test_support::kChmReaders)
            EXPECT_EQ(test_support::Joined(test_support::CheckWithReader(reader, book, expected, scratch_.path(),
                                                                         test_support::Compared::kAllButSystemFiles)),
                      "");
    }

    // Programs are copied into it and run from there.
    test_support::ScratchFolder scratch_{"hhc-test", test_support::ScratchUse::kPrograms};
};

// The project the book build writes (its own project, contents and index
// files, in code page 936) with a list page linking the chapters. The chapters
// make a book of several LZX reset intervals.
TEST_F(CompileBooksTest, TheBuildsProjectGivesABookEveryReaderOpensAndSearches) {
    const fs::path folder = scratch_ / "Temp";
    const std::string title = kGbkTest + " Notes";
    std::string list = "<HTML>\r\n<HEAD><TITLE>" + title + "</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
    for (int i = 0; i < 3; ++i) {
        const std::string page = std::to_string(i) + ".htm", name = kGbkChapter + std::to_string(i);
        std::string text;
        for (int k = 0; k < 2000; ++k)
            text += "<p>" + kGbkChinese + " hello world " + std::to_string(i * 7919 + k * k) + "</P>\r\n";
        list += "<p><a href='" + page + "'>" + name + "</a></p><p>hello</p>\r\n";
        WriteBytes(folder / page, "<HTML>\r\n<HEAD><TITLE>" + name + "</TITLE>\r\n</HEAD>\r\n<BODY>\r\n" + text +
                                      "</body>\r\n</html>\r\n");
    }
    WriteBytes(folder / "index.htm", list + "</body>\r\n</html>\r\n");
    for (const auto& [name, text] : {std::pair{"Temp.hhc", chmbook::HhcText()},
                                     {"Temp.hhk", chmbook::HhkText()},
                                     {"Temp.hhp", chmbook::HhpText(u"\u6D4B\u8BD5 Notes")}})  // 测试 Notes
        WriteBytes(folder / name, chmbook::platform::UnicodeToAnsi(text));
    const CommandResult run = Compile(folder / "Temp.hhp");
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    EXPECT_NE(run.output.find("Compiling 2.htm"), std::string::npos) << "progress lines asked for by the project";
    ExpectEveryReaderFinds(folder / "Temp.chm", folder);

    const auto report = Pychm(folder / "Temp.chm");
    EXPECT_EQ(report.title, title);  // from the window caption: the project has no Title
    EXPECT_EQ(std::vector<std::string>({report.home, report.encoding, report.topics, report.index}),
              std::vector<std::string>({"/index.htm", "cp936", "/Temp.hhc", "/Temp.hhk"}));
    // A search result leads through #TOPICS, #URLTBL and #URLSTR to the page and its title.
    EXPECT_EQ(Search(folder / "Temp.chm", "hello"), (Hits{{title, "index.htm"},
                                                          {kGbkChapter + "0", "0.htm"},
                                                          {kGbkChapter + "1", "1.htm"},
                                                          {kGbkChapter + "2", "2.htm"}}));
}

// Names in a book are UTF-8 whatever the file system's spelling; links to
// missing files and out of the project are warned, others counted.
TEST_F(CompileBooksTest, FilesInSubfoldersAreTakenInThroughLinksInAnyLetterCase) {
    const fs::path folder = scratch_ / "site";
    WriteBytes(folder / "index.htm",
               "<html><head><title>Start</title><link rel='stylesheet' href='css/site.css'></head><body>"
               "<img src=\"IMG/logo.png\"><a href='sub/page.htm#part'>page</a><a href='http://example.com/'>web</a>"
               "<a href='mailto:x@example.com'>mail</a><a href='missing.htm'>gone</a><a href='MISSING.HTM'>gone</a><a "
               "href='#top'>top</a>"
               "<a href='INDEX.HTM'>self</a><a href='" +
                   kGbkChinese + ".htm'>gbk</a></body></html>");
    WriteBytes(folder / "css/site.css", "body { background: url(../img/paper.gif) }\n@import 'print.css';\n");
    WriteBytes(folder / "css/print.css", "h1 { color: black }\n");
    WriteBytes(folder / "img/logo.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) + std::string(3000, '\x7F'));
    WriteBytes(folder / "img/paper.gif", "GIF89a" + std::string(500, '\0'));
    WriteBytes(folder / "sub/page.htm",
               "<title>Sub</title><img src='../img/Logo.png'><a href='deeper/leaf.htm?x=1'>"
               "leaf</a><a href='../../outside.htm'>out</a><a href='../missing.htm'>again</a><a href='" +
                   kGbkTest + ".htm'>t</a>");
    WriteBytes(folder / "sub/deeper/leaf.htm", "<title>Leaf</title><a href='/index.htm'>home</a>");
    WriteBytes(folder / "\xE4\xB8\xAD\xE6\x96\x87.htm", "<title>utf-8 name</title>");  // 中文.htm, linked in GBK
    WriteBytes(folder / "sub" / (kGbkTest + ".htm"), "<title>gbk name</title>");       // 测试.htm in GBK on disk
    WriteBytes(folder / "unlinked.htm", "<title>Not linked</title>");
    WriteBytes(folder / "site.hhp",
               "[OPTIONS]\nTitle=Site\nLanguage=0x804\nDefault topic=index.htm\n\n"
               "[FILES]\nindex.htm\nIndex.htm\n");

    const CommandResult run = Compile(folder / "site.hhp");
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    // One warning for each missing or outside file, however often and in whatever case it is linked.
    for (const auto& [warned, count] : {std::pair{"missing.htm", 1u}, {"MISSING.HTM", 0u}, {"../../outside.htm", 1u}})
        EXPECT_EQ(CountLines(run.errors, warned), count) << warned << ":\n" << run.errors;
    EXPECT_EQ(run.errors.find("example.com"), std::string::npos) << "links to other sites are counted, not warned";
    EXPECT_NE(run.output.find("2 links to other sites"), std::string::npos) << run.output;
    ExpectEveryReaderFinds(folder / "site.chm", folder,
                           {{"/unlinked.htm", ""}, {"/sub/" + kGbkTest + ".htm", "/sub/\xE6\xB5\x8B\xE8\xAF\x95.htm"}});
    EXPECT_FALSE(Pychm(folder / "site.chm").searchable) << "no search index unless the project asks for one";
}

// Projects as help authors write them: options the compiler does not honour
// named once each, a stop list, a UTF-8 title in a code page 1252 book, the
// book's name and home from the options; a missing default topic and stop
// list are named, and an empty title falls back to the caption.
TEST_F(CompileBooksTest, AuthoredProjectOptionsWarningsAndStopList) {
    const fs::path folder = scratch_ / "book";
    WriteBytes(folder / "pages/A&B.htm",
               "<HTML><HEAD><TITLE>A&amp;B</TITLE></HEAD><BODY>Common, the rare.</BODY></HTML>");
    WriteBytes(folder / "pages/utf8.htm",
               "<html><head><meta charset=\"utf-8\"><title>What\xE2\x80\x99s New &#8212; 3.12"
               "</title></head><body>Common words and THE others</body></html>");
    WriteBytes(folder / "out/book.stp", "The\r\nand\r\n\r\n");
    WriteBytes(folder / "book.hhp",
               "[OPTIONS]\r\nCompiled file=out\\My Book.chm\r\nDefault topic=pages\\A&B.htm\r\n"
               "Full-text search=Yes\r\nFull text search stop list file=out\\book.stp\r\nLanguage=0x409\r\n"
               "Title=Titles\r\nBinary TOC=Yes\r\nBinary Index=No\r\nbinary toc=Yes\r\nError log file=log.txt\r\n"
               "Frobnicate=1\r\n\r\n[WINDOWS]\r\nw=\"Caption\",,,,,,,,,0x20\r\n[MAP]\r\n#define IDH_A 1\r\n\r\n"
               "[FILES]\r\npages\\A&B.htm\r\npages\\utf8.htm\r\n");
    const CommandResult run = Compile(folder / "book.hhp");
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    // Binary TOC (once), Error log file, Frobnicate and [MAP]; Binary Index=No asks for nothing.
    EXPECT_EQ(CountLines(run.errors, "warning"), 4u) << run.errors;
    EXPECT_EQ(CountLines(run.errors, "\"Frobnicate=1\""), 1u) << run.errors;
    const fs::path book = folder / "out/My Book.chm";
    ExpectEveryReaderFinds(book, folder, {{"/out/book.stp", ""}});  // the stop list is read, not compiled
    const auto report = Pychm(book);  // Title wins over the caption; pychm's name for code page 1252
    EXPECT_EQ(std::vector<std::string>({report.title, report.home, report.encoding}),
              std::vector<std::string>({"Titles", "/pages/A&B.htm", "iso8859_1"}));
    const std::string utf8Title = "What\x92s New \x97 3.12";
    EXPECT_EQ(Search(book, "common"), (Hits{{"A&B", "pages/A&B.htm"}, {utf8Title, "pages/utf8.htm"}}));
    EXPECT_EQ(Search(book, "the"), Hits{});

    WriteBytes(folder / "w.hhp",  // CR alone ends its lines
               "[OPTIONS]\rTitle=\rDefault Window=main\rDefault topic=gone.htm\rFull-text search=Yes\r"
               "Full text search stop list file=missing.stp\r[WINDOWS]\rMain=\"Caption, with comma\",,,,,,,,,0x20\r"
               "[FILES]\rpages\\utf8.htm");
    const CommandResult warned = Compile(folder / "w.hhp");
    ASSERT_EQ(warned.exitCode, 0) << warned.errors;
    for (const char* named : {"gone.htm", "missing.stp"})
        EXPECT_EQ(CountLines(warned.errors, named), 1u) << warned.errors;
    EXPECT_EQ(Pychm(folder / "w.chm").title, "Caption, with comma");
    EXPECT_EQ(Search(folder / "w.chm", "the"), (Hits{{utf8Title, "pages/utf8.htm"}}));
}

// A small Sphinx project of our own (sphinx_project/: an English and a Chinese
// page, tables, code, index entries) built with Sphinx's HTML Help builder, the
// way Sphinx users make a book on Linux.
TEST_F(CompileBooksTest, ASphinxHtmlHelpBuildGivesABookEveryReaderReads) {
    const fs::path out = scratch_ / "sphinx";
    const CommandResult sphinx =
        test_support::RunCommand("sphinx-build -q -b htmlhelp -d " + Quote(scratch_ / "doctrees") + " " +
                                     Quote(HHC_SPHINX_PROJECT) + " " + Quote(out),
                                 scratch_.path());
    ASSERT_EQ(sphinx.exitCode, 0) << "sphinx-build failed (Debian: python3-sphinx, python3-sphinxcontrib.htmlhelp)\n"
                                  << sphinx.output << sphinx.errors;
    const CommandResult run = Compile(out / "demo.hhp");
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    // Every option Sphinx writes is honoured, the stop list among them.
    EXPECT_EQ(run.errors.find("not supported"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("demo.stp"), std::string::npos) << run.errors;

    // The book holds what the project names ([FILES], contents and index
    // files) and nothing else of what Sphinx wrote.
    std::string project = ReadBytes(out / "demo.hhp");
    project += "\n";
    std::erase(project, '\r');
    std::replace(project.begin(), project.end(), '\\', '/');
    const auto named = [&](const std::string& line) { return project.find("\n" + line + "\n") != std::string::npos; };
    std::map<std::string, std::string> names;
    for (const auto& file : test_support::FilesBelow(out)) {
        const std::string name = file.first.substr(1);
        if (!named(name) && !named("Contents file=" + name) && !named("Index file=" + name)) names[file.first] = "";
    }
    ExpectEveryReaderFinds(out / "demo.chm", out, names);

    const auto report = Pychm(out / "demo.chm");
    EXPECT_EQ(report.title, "\xCA\xBE\xC0\xFD\xCA\xD6\xB2\xE1 Demo Manual");  // 示例手册
    EXPECT_EQ(std::vector<std::string>({report.home, report.encoding, report.topics, report.index}),
              std::vector<std::string>({"/index.html", "cp936", "/demo.hhc", "/demo.hhk"}));
    // Search results carry the decoded titles ("“naïve”": GBK lacks ï, which
    // Sphinx writes as "&#239;"); the stop list's "the" is not indexed.
    EXPECT_EQ(Search(out / "demo.chm", "greet"), (Hits{{"Usage \xA1\xAA \xA1\xB0naive\xA1\xB1 & more", "usage.html"}}));
    EXPECT_EQ(Search(out / "demo.chm", "\xB1\xE0"), (Hits{{"\xD6\xD0\xCE\xC4\xD2\xB3\xC3\xE6", "chinese.html"}}));
    EXPECT_EQ(Search(out / "demo.chm", "the"), Hits{});
}

TEST_F(CompileBooksTest, WrongUsageExplainsItself) {
    for (const auto& [arguments, status] : {std::pair{"", 2}, {"a.hhp b.hhp", 2}, {"--help", 0}}) {
        const CommandResult run = test_support::RunCommand(Quote(HHC_EXECUTABLE) + " " + arguments, scratch_.path());
        EXPECT_EQ(run.exitCode, status) << arguments;
        EXPECT_NE((run.output + run.errors).find("hhc"), std::string::npos) << arguments << ": " << run.errors;
    }
}

// Each failure names the file concerned and leaves the folder as it was: no
// book, no temporary file, an older book or a folder in its place kept.
TEST_F(CompileBooksTest, AFailedCompileLeavesTheFolderAsItWas) {
    const struct {
        const char* name;
        std::function<void(const fs::path&)> arrange;
        std::string mention;
        bool readOnly = false;
    } cases[] = {
        {"missing project", [](const fs::path& f) { fs::remove(f / "Temp.hhp"); }, "Temp.hhp"},
        {"missing [FILES] entry", [](const fs::path& f) { fs::remove(f / "index.htm"); }, "index.htm"},
        {"missing contents file", [](const fs::path& f) { fs::remove(f / "Temp.hhc"); }, "Temp.hhc"},
        {"no files", [](const fs::path& f) { WriteBytes(f / "Temp.hhp", "[OPTIONS]\nTitle=Nothing\n"); }, "Temp.hhp"},
        {"output folder blocked by a file",
         [](const fs::path& f) {
             WriteBytes(f / "blocker", "a file where the output folder should be");
             WriteBytes(f / "Temp.hhp", "[OPTIONS]\nCompiled file=blocker\\Book.chm\n[FILES]\nindex.htm\n");
         },
         "Book.chm"},
        {"folder in the book's place",
         [](const fs::path& f) {
             fs::remove(f / "Temp.chm");
             WriteBytes(f / "Temp.chm" / "inside.txt", "kept");
         },
         "Temp.chm"},
        {"read-only folder",
         [](const fs::path& f) {
             fs::permissions(f, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                             fs::perm_options::remove);
         },
         "Temp.chm", true},
    };
    // The superuser writes anywhere: the compiler runs as "nobody" in the read-only folder then.
    std::string asUser;
    if (geteuid() == 0) {
        if (access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "running as root without setpriv";
        asUser = "/usr/bin/setpriv --reuid=nobody --regid=nogroup --clear-groups ";
        fs::permissions(scratch_.path(), fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path folder = scratch_ / c.name;
        WriteBytes(folder / "index.htm", "<title>a</title>");
        WriteBytes(folder / "Temp.hhc", "<ul></ul>");
        WriteBytes(folder / "Temp.hhp", "[OPTIONS]\nContents file=Temp.hhc\n[FILES]\nindex.htm\n");
        ASSERT_EQ(Compile(folder / "Temp.hhp").exitCode, 0);
        c.arrange(folder);
        const BookFiles before = test_support::FilesBelow(folder);
        const CommandResult run = Compile(folder / "Temp.hhp", c.readOnly ? asUser : "");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.errors.find(c.mention), std::string::npos) << run.errors;
        EXPECT_EQ(run.output.find("Compiled "), std::string::npos) << "no summary of a book that was not written";
        EXPECT_TRUE(test_support::FilesBelow(folder) == before);
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
    }
}

}  // namespace
}  // namespace hhc::testing
