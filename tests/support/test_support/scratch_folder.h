#pragma once
// A fresh, empty folder for one test, removed with everything in it when the
// test ends. Set CHMBOOK_KEEP_SCRATCH to keep it for looking at a failure.
//
// The folder lies in $TMPDIR when that is set, otherwise in /dev/shm when it
// is writable and has room (reader checks extract thousands of small files,
// and a memory-backed folder keeps that fast when the disk is busy),
// otherwise in the system's temporary folder. Its name carries the running
// test's name.
#include <filesystem>
#include <string>
#include <string_view>

namespace test_support {

// What the folder is for: a folder that will hold programs to run avoids a
// memory-backed folder mounted noexec.
enum class ScratchUse { kFiles, kPrograms };

class ScratchFolder {
public:
    explicit ScratchFolder(std::string_view prefix = "chmbook-test", ScratchUse use = ScratchUse::kFiles);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    // The folder (or a name below it) as UTF-16, no trailing separator.
    std::u16string u16() const { return path_.u16string(); }
    std::u16string u16(std::string_view name) const { return (path_ / name).u16string(); }

    // Writes a file below the folder, creating the folders on its way.
    std::filesystem::path Write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// A path as UTF-16, the way the program's own code takes paths.
inline std::u16string U16(const std::filesystem::path& path) { return path.u16string(); }

}  // namespace test_support
