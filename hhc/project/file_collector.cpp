#include "project/file_collector.h"

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

const std::vector<std::string>& FileCollector::ListFolder(const fs::path& folder) {
    const std::string key = os::Utf8FromPath(folder);
    auto it = folderListings_.find(key);
    if (it != folderListings_.end()) return it->second;
    return folderListings_.emplace(key, os::ListFolder(folder)).first->second;
}

bool FileCollector::LocateIgnoringCase(std::string_view relativePath, Found* found) {
    fs::path current = folder_;
    std::string spelled;
    std::string_view rest = relativePath;
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        const std::string* match = nullptr;
        for (const std::string& name : ListFolder(current)) {
            if (EqualsIgnoreCase(name, part)) {
                match = &name;
                if (name == part) break;
            }
        }
        if (!match) return false;
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

bool FileCollector::Locate(std::string_view relativePath, Found* found) {
    std::vector<std::string> spellings{std::string(relativePath)};
    if (!IsAscii(relativePath) && !IsValidUtf8(relativePath)) {
        if (auto utf8 = AnsiToUtf8(relativePath, codePage_)) spellings.push_back(*utf8);
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
        if (target.kind == LinkKind::kLocal && byFoldedPath_.count(ToLowerAscii(target.path))) continue;
        const std::string key = target.kind == LinkKind::kLocal ? ToLowerAscii(target.path) : link;
        if (!linkSeen_.emplace(key, true).second) continue;  // reported or tried once already
        switch (target.kind) {
            case LinkKind::kExternal:
                warn_(from + ": \"" + link + "\" is not a file of the project; not compiled");
                continue;
            case LinkKind::kOutsideProject:
                warn_(from + ": \"" + link + "\" lies outside the project folder; not compiled");
                continue;
            default: break;
        }
        switch (Add(target.path)) {
            case AddResult::kAdded:
                if (onFile) onFile(files_.back().path);
                break;
            case AddResult::kAlreadyPresent: break;
            case AddResult::kMissing:
                warn_(from + ": linked file \"" + target.path + "\" not found; link ignored");
                break;
            case AddResult::kNotAFile:
                warn_(from + ": link \"" + link + "\" names a folder, not a file; ignored");
                break;
            case AddResult::kUnreadable:
                warn_(from + ": linked file \"" + target.path + "\" cannot be read; ignored");
                break;
        }
    }
}

}  // namespace hhc::project
