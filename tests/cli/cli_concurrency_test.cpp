// chmbook-cli runs with our own help compiler that can lose data: several
// builds at once from one program folder, one of them from sources whose
// names hold markup. Every book is read back page by page with CHM readers
// we did not write; a source is gone only when its page is in its own book.
#include <gtest/gtest.h>

#include <chrono>

#include "book_fixture.h"
#include "platform/platform.h"
#include "test_support/chm_readers.h"

namespace chmbook::testing {
namespace {

constexpr int kRounds = 3;
constexpr int kBuildsPerRound = 3;
constexpr int kPagesPerBook = 3;
#ifdef _WIN32
constexpr bool kMarkupNames = false;  // Windows names cannot hold '<'
#else
constexpr bool kMarkupNames = true;
#endif

class CliConcurrencyTest : public BookTest {
protected:
    void SetUp() override {
        BookTest::SetUp();
        fs::copy_file(CHMBOOK_CLI, app_ / "chmbook-cli");
        fs::copy_file(CHMBOOK_HHC, app_ / "hhc", fs::copy_options::overwrite_existing);
    }

    std::optional<platform::ChildProcess> Start(const std::u16string& title, const fs::path& folder,
                                                const fs::path& log) {
        std::u16string error;
        auto child = platform::StartProcess(U16(app_ / "chmbook-cli"),
                                            {u"--title", title, u"--delete-sources", U16(folder)}, U16(log), &error);
        EXPECT_TRUE(child) << platform::ToUtf8(error);
        return child;
    }

    // The files of the book, as the reader sees them.
    test_support::BookFiles Read(const fs::path& book, int reader) {
        const test_support::ChmReader& chosen = test_support::kChmReaders[reader % 4];
        const fs::path work = root_ / ("read " + std::to_string(reader));
        fs::remove_all(work);
        fs::create_directories(work);
        std::string problem;
        auto files = chosen.extract(book, work, &problem);
        EXPECT_TRUE(files) << chosen.name << ": " << problem;
        return files ? *files : test_support::BookFiles{};
    }
};

// The text of page `page` of build `build` in round `round`: found in no other book.
std::string PageText(int round, int build, int page) {
    return "round" + std::to_string(round) + "build" + std::to_string(build) + "page" + std::to_string(page);
}

TEST_F(CliConcurrencyTest, ConcurrentBuildsFromOneProgramFolderEachMakeTheirOwnBook) {
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::optional<platform::ChildProcess>> children;
        for (int build = 0; build < kBuildsPerRound; ++build) {
            const fs::path folder = root_ / ("sources " + std::to_string(round) + "-" + std::to_string(build));
            // The first book's sources are named with markup, in the order of their pages.
            const char* const markup[kPagesPerBook] = {"a<script>", "b<style>", "c<!--"};
            for (int page = 0; page < kPagesPerBook; ++page)
                WriteBytes(folder / ((kMarkupNames && round + build == 0 ? markup[page] : std::to_string(page)) + std::string(".txt")),
                           PageText(round, build, page));
            children.push_back(Start(u"Book " + U16(std::to_string(build)), folder,
                                     root_ / ("log " + std::to_string(round) + "-" + std::to_string(build))));
        }
        for (int build = 0; build < kBuildsPerRound; ++build) {
            const std::string name = std::to_string(round) + "-" + std::to_string(build);
            ASSERT_TRUE(children[build]);
            const int status = platform::WaitForExit(*children[build]);
            platform::ReleaseProcess(*children[build]);
            EXPECT_EQ(status, 0) << ReadBytes(root_ / ("log " + name));
            EXPECT_TRUE(FilesIn(root_ / ("sources " + name)).empty()) << name;

            const test_support::BookFiles files =
                Read(app_ / "Release" / ("Book " + std::to_string(build) + ".chm"), round * kBuildsPerRound + build);
            const auto page = [&](const std::string& file) { return files.count(file) ? files.at(file) : ""; };
            EXPECT_NE(page("/index.htm").find("<TITLE>Book " + std::to_string(build) + "</TITLE>"), std::string::npos);
            for (int p = 0; p < kPagesPerBook; ++p) {
                EXPECT_NE(page("/" + std::to_string(p) + ".htm").find("<p>" + PageText(round, build, p) + "</P>"),
                          std::string::npos)
                    << name << " page " << p;
                EXPECT_NE(page("/index.htm").find(PageText(round, build, p)), std::string::npos) << name;
            }
            EXPECT_FALSE(files.count("/" + std::to_string(kPagesPerBook) + ".htm")) << name;
        }
    }
    EXPECT_TRUE(FilesIn(app_ / "Temp").empty());
    EXPECT_EQ(FilesIn(app_ / "Release").size(), static_cast<std::size_t>(kBuildsPerRound));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

}  // namespace
}  // namespace chmbook::testing
