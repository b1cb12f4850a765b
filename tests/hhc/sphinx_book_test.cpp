// A small Sphinx project of our own (sphinx_project/: an English and a Chinese
// page, tables, code, index entries) built with Sphinx's HTML Help builder and
// compiled with hhc, the way Sphinx users make a book on Linux. The book is
// read back with CHMLib, 7-Zip, libmspack and pychm.
#include <gtest/gtest.h>

#include <set>

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
using test_support::RunCommand;
using Hits = std::map<std::string, std::string>;

// GBK bytes.
const std::string kBookTitle = "\xCA\xBE\xC0\xFD\xCA\xD6\xB2\xE1 Demo Manual";       // 示例手册 Demo Manual
const std::string kChineseTitle = "\xD6\xD0\xCE\xC4\xD2\xB3\xC3\xE6";                // 中文页面
const std::string kPageCharacter = "\xB1\xE0";  // 编, in the Chinese page only
// "Usage — “naïve” & more": Sphinx writes ï, which GBK lacks, as "&#239;".
const std::string kUsageTitle = "Usage \xA1\xAA \xA1\xB0na" "ive\xA1\xB1 & more";

// The files the generated project names: [FILES] and the contents and index
// files, with '\' turned into '/'.
std::set<std::string> NamedFiles(const std::string& project) {
    std::set<std::string> names;
    bool inFiles = false;
    std::size_t start = 0;
    while (start < project.size()) {
        std::size_t end = project.find('\n', start);
        if (end == std::string::npos) end = project.size();
        std::string line = project.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        for (char& c : line) c = c == '\\' ? '/' : c;
        if (line.starts_with("[")) {
            inFiles = line == "[FILES]";
        } else if (inFiles && !line.empty()) {
            names.insert("/" + line);
        } else if (line.starts_with("Contents file=") || line.starts_with("Index file=")) {
            names.insert("/" + line.substr(line.find('=') + 1));
        }
    }
    return names;
}

TEST(SphinxBookTest, AnHtmlHelpBuildCompilesIntoABookEveryReaderReads) {
    test_support::ScratchFolder scratch("hhc-sphinx", test_support::ScratchUse::kPrograms);
    const fs::path out = scratch / "out";
    const CommandResult sphinx = RunCommand("sphinx-build -q -b htmlhelp -d " + Quote(scratch / "doctrees") + " " +
                                                Quote(HHC_SPHINX_PROJECT) + " " + Quote(out),
                                            scratch.path());
    ASSERT_EQ(sphinx.exitCode, 0) << "sphinx-build failed (Debian packages python3-sphinx and "
                                     "python3-sphinxcontrib.htmlhelp):\n"
                                  << sphinx.output << sphinx.errors;

    const CommandResult hhc = RunCommand(Quote(HHC_EXECUTABLE) + " " + Quote(out / "demo.hhp"), scratch.path());
    ASSERT_EQ(hhc.exitCode, 0) << hhc.output << hhc.errors;
    // Every option Sphinx writes is honoured, the stop list among them.
    EXPECT_EQ(hhc.errors.find("not supported"), std::string::npos) << hhc.errors;
    EXPECT_EQ(hhc.errors.find("demo.stp"), std::string::npos) << hhc.errors;

    const fs::path book = out / "demo.chm";
    BookFiles expected;
    for (const std::string& name : NamedFiles(test_support::ReadBytes(out / "demo.hhp"))) {
        expected[name] = test_support::ReadBytes(out / name.substr(1));
    }
    ASSERT_TRUE(expected.count("/index.html") && expected.count("/chinese.html") && expected.count("/demo.hhc") &&
                expected.count("/demo.hhk"));
    for (const test_support::ChmReader& reader : test_support::kChmReaders) {
        std::string problem;
        const fs::path folder = scratch / (std::string(reader.name) + "-work");
        fs::create_directories(folder);
        std::optional<BookFiles> files = reader.extract(book, folder, &problem);
        ASSERT_TRUE(files) << reader.name << ": " << problem;
        std::erase_if(*files, [](const auto& file) { return file.first.starts_with("/#") || file.first.starts_with("/$"); });
        EXPECT_EQ(test_support::Joined(test_support::CompareWithExpected(reader.name, *files, expected)), "");
    }

    std::string problem;
    const auto report = test_support::ReadWithPychm(book, scratch.path(), &problem);
    ASSERT_TRUE(report) << problem;
    EXPECT_EQ(report->title, kBookTitle);
    EXPECT_EQ(report->home, "/index.html");
    EXPECT_EQ(report->topics, "/demo.hhc");
    EXPECT_EQ(report->index, "/demo.hhk");
    EXPECT_EQ(report->encoding, "cp936");
    EXPECT_TRUE(report->searchable);

    // Search results carry the decoded titles; the stop list's words are not
    // indexed ("the" stands on the English pages).
    const std::pair<std::string, Hits> searches[] = {
        {"greet", {{kUsageTitle, "usage.html"}}},
        {kPageCharacter, {{kChineseTitle, "chinese.html"}}},
        {"the", {}},
    };
    for (const auto& [query, hits] : searches) {
        const auto found = test_support::SearchWithPychm(book, query, scratch.path(), &problem);
        ASSERT_TRUE(found) << problem;
        EXPECT_EQ(*found, hits) << query;
    }
}

}  // namespace
}  // namespace hhc::testing
