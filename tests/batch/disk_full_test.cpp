// A full disk is reported as such at whichever step it strikes. Each case
// mounts a tiny memory file system (this needs root, as on the CI machines;
// elsewhere the test is skipped).
#include <gtest/gtest.h>

#include <cstdlib>

#include "batch/book_inputs.h"
#include "book_fixture.h"
#include "platform/platform.h"
#include "test_support/run_command.h"

namespace chmbook::testing {
namespace {

// A memory file system of one page mounted at `folder` while it lives.
class SmallDisk {
public:
    SmallDisk(const fs::path& folder, const std::string& options) : folder_(folder) {
        fs::create_directories(folder);
        mounted_ = std::system(("mount -t tmpfs -o " + options + " tmpfs " + test_support::Quote(folder) +
                                " 2>/dev/null").c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) std::system(("umount -l " + test_support::Quote(folder_)).c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }

private:
    fs::path folder_;
    bool mounted_ = false;
};

class DiskFullTest : public BookTest {};

TEST_F(DiskFullTest, FullDiskIsNamedAtEveryStep) {
    struct Case {
        const char* where;
        MessageId step;
        bool sourcesUntouched;  // stopped before anything was written
    };
    const Case cases[] = {
        {"output", MessageId::kStepCopyBook, false},
        {"work folder", MessageId::kStepWritePage, false},
        {"program folder", MessageId::kStepCreateWorkFolder, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        frm_.list1.clear();
        AddSource("a.txt", std::string(3000, 'a'));
        AddSource("b.txt", "B");
        frm_.check1 = 1;
        const fs::path disk = root_ / c.where;
        std::optional<SmallDisk> small;
        if (c.step == MessageId::kStepCopyBook) {
            small.emplace(disk, "size=4k");
            frm_.file = U16(disk / "Notes.chm");
        } else if (c.step == MessageId::kStepWritePage) {
            small.emplace(app_ / "Temp", "size=4k");
            WriteBytes(app_ / "Temp" / "kept" / "filler", std::string(4096, 'f'));  // subfolders survive the clearing
        } else {
            small.emplace(disk, "size=4k,nr_inodes=2");  // its root and the lock file
            frm_.appPath = U16(disk);
        }
        if (!small->mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (not root?)";

        const BuildOutcome outcome = Build();
        EXPECT_FALSE(outcome.produced);
        EXPECT_EQ(outcome.failedStep, c.step);
        const std::string en = platform::ToUtf8(outcome.Message(Language::kEnglish));
        const std::string zh = platform::ToUtf8(outcome.Message(Language::kChinese));
        EXPECT_NE(en.find("The disk is full"), std::string::npos) << en;
        EXPECT_NE(en.find("Free some space"), std::string::npos) << en;
        EXPECT_EQ(en.find("open in a reader"), std::string::npos) << en;
        EXPECT_NE(zh.find("磁盘已满"), std::string::npos) << zh;
        EXPECT_EQ(en.find("the source files were kept") != std::string::npos, c.sourcesUntouched) << en;
        EXPECT_EQ(FilesIn(sources_).size(), 2u);

        small.reset();
        frm_.appPath = U16(app_);
        frm_.file = OutputPathForTitle(frm_.appPath, frm_.titleName);
    }
}

}  // namespace
}  // namespace chmbook::testing
