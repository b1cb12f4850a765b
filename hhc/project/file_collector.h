#pragma once
// Gathers the files of a book: those the project lists, then every local
// file that they link to or embed, recursively, each read once.
//
// Names on a case-sensitive file system: a name is looked up exactly first
// and, when that fails, letter case is ignored (ASCII letters only), the way
// the names resolve on Windows. Each folder is then listed once and indexed
// by its names in lower case. Two spellings of one name are one file; the
// book keeps the spelling found on disk. Names in pages are in the book's code
// page; when the file system spells a non-ASCII name in UTF-8 instead, the
// UTF-8 form is tried as well.
//
// A file whose real location (links resolved) lies outside the project
// folder is never taken in. Links to other sites and programs (any
// "scheme:" URL) are counted, not warned one by one.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hhc::project {

struct SourceFile {
    std::string path;  // relative to the project folder, "/"-separated, as spelled on disk
    std::filesystem::path diskPath;
    std::string data;
};

enum class AddResult { kAdded, kAlreadyPresent, kMissing, kNotAFile, kUnreadable, kOutsideProject };

class FileCollector {
public:
    using Notice = std::function<void(const std::string&)>;

    FileCollector(std::filesystem::path projectFolder, std::uint32_t codePage, Notice warn);

    // Adds one file given by its project-relative path ("/"-separated).
    // `*added` receives the index of the file (also when it was present).
    AddResult Add(std::string_view relativePath, std::size_t* index = nullptr);

    // Follows the links of every file added so far, and of every file that
    // this adds, until no new file turns up. Problems become warnings.
    // `onFile` is told about each file taken in through a link.
    void FollowLinks(const Notice& onFile = {});

    std::vector<SourceFile>& files() { return files_; }
    std::uint64_t bytesRead() const { return bytesRead_; }
    // Links to other sites and programs met while following links.
    std::size_t externalLinks() const { return externalLinks_; }

    // Pages are scanned for links; topics are the pages other than contents
    // and index files.
    static bool IsPage(std::string_view path);
    static bool IsTopic(std::string_view path);
    static bool IsStylesheet(std::string_view path);

private:
    struct Found {
        std::filesystem::path diskPath;
        std::string path;
    };
    bool Locate(std::string_view relativePath, Found* found);
    bool LocateIgnoringCase(std::string_view relativePath, Found* found);
    // A folder's names by their lower-case spelling, in the order listed.
    using FolderIndex = std::unordered_map<std::string, std::vector<std::string>>;
    const FolderIndex& IndexOf(const std::string& relativeFolder, const std::filesystem::path& folder);
    bool InsideProject(const std::filesystem::path& diskPath);
    void FollowLinksOf(std::size_t fileIndex, const Notice& onFile);

    std::filesystem::path folder_;
    std::uint32_t codePage_;
    Notice warn_;
    std::vector<SourceFile> files_;
    std::unordered_map<std::string, std::size_t> byFoldedPath_;    // lower-case path -> file
    std::unordered_map<std::string, bool> linkSeen_;               // lower-case link target -> was present
    std::unordered_map<std::string, FolderIndex> folderIndexes_;  // by the folder's path as spelled on disk
    std::optional<std::filesystem::path> realFolder_;
    std::uint64_t bytesRead_ = 0;
    std::size_t externalLinks_ = 0;
};

}  // namespace hhc::project
