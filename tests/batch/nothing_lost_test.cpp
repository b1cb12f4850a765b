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

}  // namespace
}  // namespace chmbook::testing
