#pragma once
// A scratch program folder for the tests of the book build: each test gets a
// folder of its own (with blanks in its name), a source folder, and the
// stand-in compiler installed as the program's compiler.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch/make_chm.h"
#include "common/memory_window_state.h"
#include "test_support/scratch_folder.h"
#include "test_support/test_files.h"

namespace chmbook::testing {

namespace fs = std::filesystem;

using test_support::ReadBytes;
using test_support::U16;
using test_support::WriteBytes;

// The names of the files (not folders) directly in `folder`.
std::vector<std::string> FilesIn(const fs::path& folder);

// Installs the stand-in compiler as the compiler of the program's folder `app`.
void InstallStandInCompiler(const fs::path& app);
// Steers it: "ok", "fail", "sleep" (20 s), "crash", optionally followed by "drop=<page>";
// it copies the pages it is given into `seen/` in the program's folder, and
// its book ends in "FAKE-CHM " and the project's path.
void SetCompilerMode(const fs::path& app, const std::string& mode);

class BookTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Writes a source file and appends it to the file list.
    fs::path AddSource(const std::string& name, const std::string& bytes);

    // Everything of this test; programs are installed and run below it.
    test_support::ScratchFolder scratch_{"chmbook test", test_support::ScratchUse::kPrograms};
    fs::path root_ = scratch_.path();
    fs::path app_ = root_ / "program folder with blanks";
    fs::path sources_ = root_ / "sources";
    MemoryWindowState frm_;
    BuildOptions options_;
    std::vector<std::u16string> opened_;  // books handed to the desktop
};

}  // namespace chmbook::testing
