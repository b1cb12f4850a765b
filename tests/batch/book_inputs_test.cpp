// The output path that follows the title (the file list and the output folder
// are checked through the window's commands).
#include <gtest/gtest.h>

#include "batch/book_inputs.h"
#include "platform/platform.h"

namespace chmbook {
namespace {

TEST(OutputPath, FollowsTheTitleInTheReleaseFolder) {
    const std::u16string sep(1, platform::kPathSeparator);
    const std::u16string app = sep + u"opt" + sep + u"book", release = app + sep + u"Release" + sep;
    EXPECT_EQ(DefaultOutputPath(app), release + u"test.chm");
    EXPECT_EQ(OutputPathForTitle(app, u" My Book "), release + u" My Book .chm");
    EXPECT_EQ(DefaultOutputPath(sep), sep + u"Release" + sep + u"test.chm");  // no doubled separator at the root
}

}  // namespace
}  // namespace chmbook
