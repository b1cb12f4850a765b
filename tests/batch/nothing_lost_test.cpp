// The build never deletes a source whose page is not in the book, and never
// puts an incomplete book in place.
#include <gtest/gtest.h>

#include "book_fixture.h"
#include "platform/platform.h"

namespace chmbook::testing {
namespace {

class NothingLostTest : public BookTest {};

TEST_F(NothingLostTest, BookLackingAPageIsNotPlacedAndTheSourcesStay) {
    for (const std::string dropped : {"index.htm", "1.htm"}) {
        frm_.list1.clear();
        AddSource("a.txt", "A");
        AddSource("b.txt", "B");
        frm_.check1 = 1;
        SetCompilerMode(app_, "ok drop=" + dropped);

        const BuildOutcome outcome = Build();
        EXPECT_FALSE(outcome.produced) << dropped;
        EXPECT_EQ(outcome.missingPages, std::vector<std::u16string>{U16(dropped)});
        const std::string message = platform::ToUtf8(outcome.Message());
        EXPECT_NE(message.find(dropped == "1.htm" ? "1.htm (b.txt)" : "index.htm"), std::string::npos) << message;
        EXPECT_TRUE(outcome.sourcesKept);
        EXPECT_EQ(FilesIn(sources_).size(), 2u) << dropped;
        EXPECT_FALSE(fs::exists(frm_.file)) << dropped;
        EXPECT_TRUE(opened_.empty());
    }
}

// Another build holds the work folder: this one says that it waits, and goes
// on once the other lets go (here, as soon as the wait is announced).
TEST_F(NothingLostTest, BuildWaitsForAnotherBuildOfTheSameProgramFolder) {
    AddSource("a.txt", "A");
    platform::FileLock other;
    ASSERT_EQ(platform::LockFile(U16(app_ / "Temp.lock"), false, other, nullptr), platform::LockResult::kLocked);
    const std::u16string waiting = Text(MessageId::kStageWaiting, Language::kEnglish);
    options_.progress = [&](std::u16string_view stage, std::size_t) {
        stages_.emplace_back(std::u16string(stage), 0);
        if (stage == waiting) platform::UnlockFile(other);
    };
    const BuildOutcome outcome = Build();
    EXPECT_TRUE(outcome.produced) << platform::ToUtf8(outcome.Message());
    ASSERT_GE(stages_.size(), 2u);
    EXPECT_EQ(stages_[1].first, waiting);
    platform::FileLock after;
    EXPECT_EQ(platform::LockFile(U16(app_ / "Temp.lock"), false, after, nullptr), platform::LockResult::kLocked)
        << "the build let go of the work folder";
    platform::UnlockFile(after);
}

}  // namespace
}  // namespace chmbook::testing
