// Where a portable and an installed copy keep their books, and whether the
// desktop could open a book.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "batch/book_inputs.h"
#include "platform/platform.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace chmbook {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;
using test_support::U16;

// /proc takes no new files even from the administrator, as an installed
// program's folder takes none from its users; tests run as root, where a
// folder's mode bits would not stop a write.
constexpr char kReadOnlyFolder[] = "/proc";

TEST(BookFolders, BesideAWritableProgramElseInTheUsersDataFolder) {
    ScratchFolder dir;
    fs::create_directory(dir / "portable");
    ::setenv("HOME", (dir / "home").c_str(), 1);
    const std::string data = (dir / "data").string();
    const struct {
        const char* name;
        fs::path programFolder;
        std::string xdgDataHome;
        fs::path expectedBase;
    } cases[] = {
        {"portable copy", dir / "portable", data, dir / "portable"},
        {"installed, XDG_DATA_HOME set", kReadOnlyFolder, data + "/", dir / "data/chmbook"},
        {"installed, XDG_DATA_HOME relative", kReadOnlyFolder, "rel/data", dir / "home/.local/share/chmbook"},
        // A folder that does not exist is not taken for an installed copy.
        {"missing program folder", dir / "gone", data, dir / "gone"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::setenv("XDG_DATA_HOME", c.xdgDataHome.c_str(), 1);
        const BookFolders folders = BookFoldersFor(U16(c.programFolder));
        EXPECT_EQ(folders.work, U16(c.expectedBase / "Temp"));
        EXPECT_EQ(folders.output, U16(c.expectedBase / "Release"));
    }
    // Unset, the data folder is the one below home. The output folder of an
    // installed copy is made with the folders above it.
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(EnsureOutputFolder(platform::FromUtf8(kReadOnlyFolder)));
    EXPECT_TRUE(fs::is_directory(dir / "home/.local/share/chmbook/Release"));
    EXPECT_TRUE(fs::is_empty(dir / "portable")) << "the probe leaves nothing behind";
}

// OpenDocument goes through xdg-mime and xdg-open; stand-ins, with only the
// shell's tools beside them on PATH, play the desktop. Each test runs in its
// own process, so PATH changes here touch no other test.
TEST(OpenDocument, ReportsWhetherTheDesktopCouldOpenTheBook) {
    ScratchFolder dir("chmbook-test", test_support::ScratchUse::kPrograms);
    const fs::path tools = dir / "tools";
    fs::create_directories(tools);
    for (const std::string tool : {"sh", "sleep", "printf", "kill"})
        fs::create_symlink(fs::exists("/bin/" + tool) ? "/bin/" + tool : "/usr/bin/" + tool, tools / tool);
    const struct {
        const char* name;
        const char* xdgMime;  // script body, or nullptr for none on PATH
        const char* xdgOpen;  // script body, or nullptr for none on PATH
        bool expected;  // and xdg-open got the path
    } cases[] = {
        {"viewer registered, opens", "echo xchm.desktop", "exit 0", true},
        {"no viewer registered", "[ \"$2\" = default ] || echo application/vnd.ms-htmlhelp", "exit 0", false},
        {"xdg-open fails", "echo xchm.desktop", "exit 4", false},
        {"xdg-open waits for the viewer", "echo xchm.desktop", "sleep 4", true},
        {"no xdg-mime, xdg-open works", nullptr, "exit 0", true},
        {"no xdg-open at all", "echo xchm.desktop", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path bin = dir / c.name;
        // Each stand-in keeps its first argument beside it.
        for (const auto& [name, body] : {std::pair{"xdg-mime", c.xdgMime}, std::pair{"xdg-open", c.xdgOpen}}) {
            if (!body) continue;
            test_support::WriteBytes(bin / name, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.arg\"\n" + std::string(body));
            fs::permissions(bin / name, fs::perms::owner_all);
        }
        ::setenv("PATH", (bin.string() + ":" + tools.string()).c_str(), 1);
        const std::u16string document = dir.u16("my book \u4E2D.chm");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(platform::OpenDocument(document), c.expected);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        if (c.expected) {
            EXPECT_EQ(platform::FromUtf8(test_support::ReadBytes(bin / "xdg-open.arg")), document);
        }
    }
}

}  // namespace
}  // namespace chmbook
