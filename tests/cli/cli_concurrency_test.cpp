// chmbook-cli runs with our own help compiler that can lose data: several
// builds at once from one program folder, one of them from sources whose
// names hold markup. Every book is read back page by page with CHM readers
// we did not write; a source is gone only when its page is in its own book.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "book_fixture.h"
#include "platform/platform.h"
#include "test_support/chm_readers.h"

namespace chmbook::testing {
namespace {

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
