// Where a portable and an installed copy keep their books, and what the
// desktop says when a book cannot be opened.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "batch/book_inputs.h"
#include "platform/platform.h"
#include "test_support/scratch_folder.h"

namespace chmbook {
namespace {

namespace fs = std::filesystem;
using test_support::ScratchFolder;
using test_support::U16;

void SetOrUnset(const char* name, const std::string& value) {
    if (value.empty())
        ::unsetenv(name);
    else
        ::setenv(name, value.c_str(), 1);
}

// /proc takes no new files even from the administrator, as an installed
// program's folder takes none from its users; tests run as root, where a
// folder's mode bits would not stop a write.
constexpr char kReadOnlyFolder[] = "/proc";

TEST(BookFolders, BesideAWritableProgramElseInTheUsersDataFolder) {
    ScratchFolder dir;
    const fs::path program = dir / "portable";
    fs::create_directory(program);
    const std::string data = (dir / "data").string();
    const std::string home = (dir / "home").string();
    struct Case {
        const char* name;
        std::string programFolder, xdgDataHome, home;
        fs::path expectedBase;
    };
    const Case cases[] = {
        {"portable copy", program.string(), data, home, program},
        {"installed, XDG_DATA_HOME set", kReadOnlyFolder, data, home, dir / "data" / "chmbook"},
        {"installed, XDG_DATA_HOME trailing slash", kReadOnlyFolder, data + "/", home, dir / "data" / "chmbook"},
        {"installed, XDG_DATA_HOME unset", kReadOnlyFolder, "", home, dir / "home" / ".local/share/chmbook"},
        {"installed, XDG_DATA_HOME relative", kReadOnlyFolder, "rel/data", home,
         dir / "home" / ".local/share/chmbook"},
        // A folder that does not exist is not taken for an installed copy.
        {"missing program folder", (dir / "gone").string(), data, home, dir / "gone"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetOrUnset("XDG_DATA_HOME", c.xdgDataHome);
        SetOrUnset("HOME", c.home);
        const std::u16string app = platform::FromUtf8(c.programFolder);
        const BookFolders folders = BookFoldersFor(app);
        EXPECT_EQ(folders.work, U16(c.expectedBase / "Temp"));
        EXPECT_EQ(folders.output, U16(c.expectedBase / "Release"));
        EXPECT_EQ(OutputPathForTitle(app, u"书"), U16(c.expectedBase / "Release" / u8"书.chm"));
    }
    // The output folder of an installed copy is made with the folders above it.
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(EnsureOutputFolder(platform::FromUtf8(kReadOnlyFolder)));
    EXPECT_TRUE(fs::is_directory(dir / "home" / ".local/share/chmbook/Release"));
    EXPECT_TRUE(fs::is_empty(program));  // the probe leaves nothing behind
}

TEST(BookFolders, WritableFolderProbe) {
    ScratchFolder dir;
    dir.Write("file", "x");
    fs::create_directory(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    struct Case {
        const char* name;
        fs::path folder;
        bool writable;
    } const cases[] = {
        {"scratch folder", dir.path(), true},
        {"missing folder", dir / "missing", false},
        {"a file", dir / "file", false},
        {"read-only file system", kReadOnlyFolder, false},
        {"no write permission", dir / "locked", ::geteuid() == 0},  // the administrator may write anyway
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::IsWritableFolder(U16(c.folder)), c.writable);
    }
    fs::permissions(dir / "locked", fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(dir / "locked"));
}

// OpenDocument goes through xdg-mime and xdg-open; stand-ins found first on
// PATH play the desktop. Each test runs in its own process, so PATH changes
// here touch no other test.
TEST(OpenDocument, ReportsWhetherTheDesktopCouldOpenTheBook) {
    ScratchFolder dir("chmbook-test", test_support::ScratchUse::kPrograms);
    const fs::path opened = dir / "opened";
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    struct Case {
        const char* name;
        const char* xdgMime;  // script body, or nullptr for none on PATH
        const char* xdgOpen;  // script body, or nullptr for none on PATH
        bool expected;
        bool handedOver;      // xdg-open got the path
    } const cases[] = {
        {"viewer registered, opens", "echo xchm.desktop", "exit 0", true, true},
        {"no viewer registered", "[ \"$2\" = default ] || echo application/vnd.ms-htmlhelp", "exit 0", false,
         false},
        {"xdg-open fails", "echo xchm.desktop", "exit 4", false, true},
        {"xdg-open waits for the viewer", "echo xchm.desktop", "sleep 4", true, true},
        {"no xdg-mime, xdg-open works", nullptr, "exit 0", true, true},
        {"no xdg-open at all", "echo xchm.desktop", nullptr, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path bin = dir / c.name;
        fs::create_directories(bin);
        fs::remove(opened);
        const auto script = [&](const char* name, const std::string& body) {
            ASSERT_TRUE(platform::WriteWholeFile(U16(bin / name), "#!/bin/sh\n" + body + "\n"));
            fs::permissions(bin / name, fs::perms::owner_all);
        };
        if (c.xdgMime) script("xdg-mime", c.xdgMime);
        if (c.xdgOpen)
            script("xdg-open", "printf '%s' \"$1\" > '" + opened.string() + "'\n" + c.xdgOpen);
        // Without the system's folders, the real xdg tools stay out of sight.
        const std::string tools = (dir / "tools").string();
        fs::create_directories(tools);
        for (const char* tool : {"sh", "sleep", "printf", "kill"})
            if (!fs::exists(fs::path(tools) / tool))
                for (const char* where : {"/bin/", "/usr/bin/"})
                    if (fs::exists(std::string(where) + tool)) {
                        fs::create_symlink(std::string(where) + tool, fs::path(tools) / tool);
                        break;
                    }
        ::setenv("PATH", (bin.string() + ":" + tools).c_str(), 1);

        const std::u16string document = dir.u16("my book \u4E2D.chm");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(platform::OpenDocument(document), c.expected);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        std::string handedTo;
        EXPECT_EQ(platform::ReadWholeFile(U16(opened), handedTo), c.handedOver);
        if (c.handedOver) {
            EXPECT_EQ(platform::FromUtf8(handedTo), document);
        }
    }
    ::setenv("PATH", path.c_str(), 1);
}

}  // namespace
}  // namespace chmbook
