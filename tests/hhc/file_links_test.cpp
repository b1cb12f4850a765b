// Which files the collector takes into a book through links, and what it
// says about the links it leaves alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "project/file_collector.h"
#include "test_support/scratch_folder.h"

namespace hhc::testing {
namespace {
namespace fs = std::filesystem;
using project::AddResult;
using project::FileCollector;
using test_support::ScratchFolder;

std::size_t CountContaining(const std::vector<std::string>& lines, const std::string& text) {
    std::size_t count = 0;
    for (const std::string& line : lines) count += line.find(text) != std::string::npos;
    return count;
}

TEST(FileLinksTest, FilesReachedThroughSymbolicLinksOutsideTheProjectAreNotStored) {
    ScratchFolder scratch;
    const fs::path project = scratch / "project";
    scratch.Write("outside/secret.htm", "secret");
    scratch.Write("project/real.htm", "real");
    scratch.Write("project/page.htm",
                  "<a href='dirlnk/etc/passwd'>1</a><a href='DIRLNK/etc/passwd'>2</a>"
                  "<a href='filelnk.htm'>3</a><a href='inner.htm'>4</a><a href='up/outside/secret.htm'>5</a>");
    scratch.Write("project/page2.htm", "<a href='dirlnk/etc/passwd'>again</a>");
    fs::create_directory_symlink("/", project / "dirlnk");
    fs::create_directory_symlink(scratch.path(), project / "up");
    fs::create_symlink(scratch / "outside/secret.htm", project / "filelnk.htm");
    fs::create_symlink(project / "real.htm", project / "inner.htm");

    std::vector<std::string> warnings;
    FileCollector collector(project, 1252, [&](const std::string& message) { warnings.push_back(message); });
    EXPECT_EQ(collector.Add("page.htm"), AddResult::kAdded);
    EXPECT_EQ(collector.Add("page2.htm"), AddResult::kAdded);
    EXPECT_EQ(collector.Add("dirlnk/etc/passwd"), AddResult::kOutsideProject);
    EXPECT_EQ(collector.Add("filelnk.htm"), AddResult::kOutsideProject);
    collector.FollowLinks();

    std::vector<std::string> stored;
    for (const project::SourceFile& file : collector.files()) stored.push_back(file.path);
    EXPECT_EQ(stored, (std::vector<std::string>{"page.htm", "page2.htm", "inner.htm"}));
    // One warning per link that leads out, however often it is written.
    for (const char* link : {"dirlnk/etc/passwd", "filelnk.htm", "up/outside/secret.htm"}) {
        EXPECT_EQ(CountContaining(warnings, link), 1u) << link << " in\n" << ::testing::PrintToString(warnings);
    }
    EXPECT_EQ(warnings.size(), 3u) << ::testing::PrintToString(warnings);
}

TEST(FileLinksTest, OnlyMissingLocalFilesAreWarnedOnceEach) {
    ScratchFolder scratch;
    const std::vector<std::string> otherSchemes = {
        "http://example.com/a.htm", "https://example.com/", "ftp://example.com/f", "mailto:a@example.com",
        "javascript:void(0)",       "file:///etc/passwd",   "news:comp.lang.c++",  "ms-its:other.chm::/x.htm",
        "C:\\help\\x.htm",          "//host/share/x.htm",   "git+ssh://h/r"};
    std::string page = "<a href='missing.htm'>m</a><a href='MISSING.HTM'>m</a><a href='sub/gone.css'>g</a>";
    for (const std::string& link : otherSchemes) page += "<a href='" + link + "'>x</a><img src='" + link + "'>";
    scratch.Write("a.htm", page);
    scratch.Write("b.htm", "<a href='missing.htm'>m</a><a href='http://example.com/a.htm'>x</a>");

    std::vector<std::string> warnings;
    FileCollector collector(scratch.path(), 1252, [&](const std::string& message) { warnings.push_back(message); });
    collector.Add("a.htm");
    collector.Add("b.htm");
    collector.FollowLinks();

    ASSERT_EQ(warnings.size(), 2u) << ::testing::PrintToString(warnings);
    EXPECT_EQ(CountContaining(warnings, "a.htm: linked file \"missing.htm\" not found"), 1u) << warnings[0];
    EXPECT_EQ(CountContaining(warnings, "a.htm: linked file \"sub/gone.css\" not found"), 1u) << warnings[1];
    EXPECT_EQ(collector.externalLinks(), 2 * otherSchemes.size() + 1);
}

}  // namespace
}  // namespace hhc::testing
