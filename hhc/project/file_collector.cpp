#include "project/file_collector.h"

#include <algorithm>

#include "os/os.h"
#include "project/code_page.h"
#include "project/html_scanner.h"
#include "project/link_resolver.h"
#include "project/text_util.h"

namespace hhc::project {
namespace fs = std::filesystem;
namespace {

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

// A name from a page, in the book's code page, as UTF-8 for a message.
std::string Shown(const std::string& name, std::uint32_t codePage) {
    if (IsValidUtf8(name)) return name;
    return AnsiToUtf8(name, codePage).value_or(name);
}

bool IsRegularFile(const fs::path& path) { return os::KindOf(path) == os::FileKind::kFile; }

}  // namespace

FileCollector::FileCollector(fs::path projectFolder, std::uint32_t codePage, Notice warn)
    : folder_(std::move(projectFolder)), codePage_(codePage), warn_(std::move(warn)) {}

bool FileCollector::IsPage(std::string_view path) {
    for (std::string_view extension : {".htm", ".html", ".xhtml", ".shtml", ".hhc", ".hhk"}) {
        if (EndsWithIgnoreCase(path, extension)) return true;
    }
    return false;
}

bool FileCollector::IsTopic(std::string_view path) {
    return IsPage(path) && !EndsWithIgnoreCase(path, ".hhc") && !EndsWithIgnoreCase(path, ".hhk");
}

bool FileCollector::IsStylesheet(std::string_view path) { return EndsWithIgnoreCase(path, ".css"); }

const FileCollector::FolderIndex& FileCollector::IndexOf(const std::string& relativeFolder, const fs::path& folder) {
    auto it = folderIndexes_.find(relativeFolder);
    if (it != folderIndexes_.end()) return it->second;
    FolderIndex index;
    for (std::string& name : os::ListFolder(folder)) index[ToLowerAscii(name)].push_back(std::move(name));
    return folderIndexes_.emplace(relativeFolder, std::move(index)).first->second;
}

bool FileCollector::LocateIgnoringCase(std::string_view relativePath, Found* found) {
    fs::path current = folder_;
    std::string spelled;
    std::string_view rest = relativePath;
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        const FolderIndex& index = IndexOf(spelled, current);
        const auto names = index.find(ToLowerAscii(part));
        if (names == index.end()) return false;
        // The exact spelling when the folder has it, else the first listed.
        const std::string* match = &names->second.front();
        for (const std::string& name : names->second) {
            if (name == part) match = &name;
        }
        current /= os::PathFromUtf8(*match);
        if (!spelled.empty()) spelled.push_back('/');
        spelled += *match;
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    if (!IsRegularFile(current)) return false;
    *found = {current, spelled};
    return true;
}

bool FileCollector::InsideProject(const fs::path& diskPath) {
    if (!realFolder_) realFolder_ = os::RealPath(folder_).value_or(folder_);
    const std::optional<fs::path> real = os::RealPath(diskPath);
    if (!real) return false;
    return std::mismatch(realFolder_->begin(), realFolder_->end(), real->begin(), real->end()).first ==
           realFolder_->end();
}

bool FileCollector::Locate(std::string_view relativePath, Found* found) {
    std::vector<std::string> spellings{std::string(relativePath)};
    // Checked even when the bytes happen to be valid UTF-8 too: "目录" in code
    // page 936 is "\xC4\xBF\xC2\xBC", which reads as UTF-8 "Ŀ¼".
    if (!IsAscii(relativePath)) {
        auto utf8 = AnsiToUtf8(relativePath, codePage_);
        if (utf8 && *utf8 != relativePath) spellings.push_back(std::move(*utf8));
    }
    for (const std::string& spelling : spellings) {
        const fs::path candidate = folder_ / os::PathFromUtf8(spelling);
        if (IsRegularFile(candidate)) {
            *found = {candidate, spelling};
            return true;
        }
    }
    for (const std::string& spelling : spellings) {
        if (LocateIgnoringCase(spelling, found)) return true;
    }
    return false;
}

AddResult FileCollector::Add(std::string_view relativePath, std::size_t* index) {
    const std::string folded = ToLowerAscii(relativePath);
    if (auto it = byFoldedPath_.find(folded); it != byFoldedPath_.end()) {
        if (index) *index = it->second;
        return AddResult::kAlreadyPresent;
    }
    Found found;
    if (!Locate(relativePath, &found)) {
        return os::KindOf(folder_ / os::PathFromUtf8(relativePath)) != os::FileKind::kMissing ? AddResult::kNotAFile
                                                                                             : AddResult::kMissing;
    }
    const std::string foldedFound = ToLowerAscii(found.path);
    if (auto it = byFoldedPath_.find(foldedFound); it != byFoldedPath_.end()) {
        byFoldedPath_.emplace(folded, it->second);
        if (index) *index = it->second;
        return AddResult::kAlreadyPresent;
    }
    if (!InsideProject(found.diskPath)) return AddResult::kOutsideProject;
    SourceFile file{found.path, found.diskPath, {}};
    if (!os::ReadWholeFile(file.diskPath, file.data)) return AddResult::kUnreadable;
    bytesRead_ += file.data.size();
    const std::size_t position = files_.size();
    files_.push_back(std::move(file));
    byFoldedPath_.emplace(folded, position);
    byFoldedPath_.emplace(foldedFound, position);
    if (index) *index = position;
    return AddResult::kAdded;
}

void FileCollector::FollowLinks(const Notice& onFile) {
    // files_ grows while it is walked: every file added is scanned in turn.
    for (std::size_t i = 0; i < files_.size(); ++i) FollowLinksOf(i, onFile);
}

void FileCollector::FollowLinksOf(std::size_t fileIndex, const Notice& onFile) {
    const std::string from = files_[fileIndex].path;
    std::vector<std::string> links;
    if (IsPage(from)) {
        links = FindPageLinks(files_[fileIndex].data);
    } else if (IsStylesheet(from)) {
        links = FindStylesheetLinks(files_[fileIndex].data);
    } else {
        return;
    }
    for (const std::string& link : links) {
        const ResolvedLink target = ResolveLink(from, link, codePage_);
        if (target.kind == LinkKind::kSamePage) continue;
        if (target.kind == LinkKind::kExternal) {
            ++externalLinks_;
            continue;
        }
        if (target.kind == LinkKind::kLocal && byFoldedPath_.count(ToLowerAscii(target.path))) continue;
        const std::string key = target.kind == LinkKind::kLocal ? ToLowerAscii(target.path) : link;
        if (!linkSeen_.emplace(key, true).second) continue;  // reported or tried once already
        const std::string leavesProject =
            from + ": \"" + Shown(link, codePage_) + "\" lies outside the project folder; not compiled";
        if (target.kind == LinkKind::kOutsideProject) {
            warn_(leavesProject);
            continue;
        }
        switch (Add(target.path)) {
            case AddResult::kAdded:
                if (onFile) onFile(files_.back().path);
                break;
            case AddResult::kAlreadyPresent: break;
            case AddResult::kMissing:
                warn_(from + ": linked file \"" + Shown(target.path, codePage_) + "\" not found; link ignored");
                break;
            case AddResult::kNotAFile:
                warn_(from + ": link \"" + Shown(link, codePage_) + "\" names a folder, not a file; ignored");
                break;
            case AddResult::kUnreadable:
                warn_(from + ": linked file \"" + Shown(target.path, codePage_) + "\" cannot be read; ignored");
                break;
            case AddResult::kOutsideProject: warn_(leavesProject); break;
        }
    }
}

}  // namespace hhc::project
