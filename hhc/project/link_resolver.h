#pragma once
// Turns a link found in a page into a path relative to the project folder.
#include <cstdint>
#include <string>
#include <string_view>

namespace hhc::project {

enum class LinkKind {
    kLocal,           // a file of the project: `path` names it
    kSamePage,        // "#anchor", "?query" or empty: nothing to take in
    kExternal,        // http:, mailto:, javascript:, ms-its:, C:\..., //host/...
    kOutsideProject,  // climbs above the project folder with ".."
};

struct ResolvedLink {
    LinkKind kind = LinkKind::kSamePage;
    std::string path;  // "/"-separated, no leading "/", no "." or ".." parts
};

// `fromPage` is the linking file's project-relative path ("sub/page.htm");
// `link` the attribute value. Anchors and queries are dropped, %XX escapes
// decoded, "\" taken as "/", and a leading "/" means the project folder.
ResolvedLink ResolveLink(std::string_view fromPage, std::string_view link, std::uint32_t codePage);

// A path named by the project itself ([FILES], contents file, ...): "\" taken
// as "/", "." and ".." parts resolved, leading "/" dropped; kOutsideProject
// when it climbs above the project folder, kSamePage when it names nothing.
ResolvedLink NormalizeProjectPath(std::string_view path, std::uint32_t codePage);

}  // namespace hhc::project
