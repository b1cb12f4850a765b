#include "project/link_resolver.h"

#include <vector>

#include "project/code_page.h"
#include "project/text_util.h"

namespace hhc::project {
namespace {

bool HasScheme(std::string_view link) {
    if (link.empty() || !((link[0] >= 'a' && link[0] <= 'z') || (link[0] >= 'A' && link[0] <= 'Z'))) return false;
    for (std::size_t i = 1; i < link.size(); ++i) {
        const char c = link[i];
        if (c == ':') return true;
        const bool schemeChar = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                c == '+' || c == '-' || c == '.';
        if (!schemeChar) return false;
    }
    return false;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string DecodePercentEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string_view FolderOf(std::string_view page) {
    const std::size_t slash = page.rfind('/');
    return slash == std::string_view::npos ? std::string_view{} : page.substr(0, slash + 1);
}

// Resolves "." and ".." in a "/"-separated path relative to the project folder.
ResolvedLink JoinParts(std::string_view joined) {
    std::vector<std::string_view> parts;
    std::string_view rest = joined;
    while (true) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        if (part == "..") {
            if (parts.empty()) return {LinkKind::kOutsideProject, {}};
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    if (parts.empty()) return {LinkKind::kSamePage, {}};

    ResolvedLink result{LinkKind::kLocal, {}};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) result.path.push_back('/');
        result.path.append(parts[i]);
    }
    return result;
}

}  // namespace

ResolvedLink ResolveLink(std::string_view fromPage, std::string_view link, std::uint32_t codePage) {
    link = Trim(link);
    // '#' and '?' are never the second byte of a double-byte character.
    link = link.substr(0, link.find_first_of("#?"));
    if (link.empty()) return {LinkKind::kSamePage, {}};

    const std::string separated = NormalizeSeparators(link, codePage);
    if (HasScheme(separated) || separated.starts_with("//")) return {LinkKind::kExternal, {}};

    const std::string decoded = DecodePercentEscapes(separated);
    if (decoded.find('\0') != std::string::npos) return {LinkKind::kExternal, {}};
    std::string joined = decoded.starts_with("/") ? decoded : std::string(FolderOf(fromPage)) + decoded;

    return JoinParts(joined);
}

ResolvedLink NormalizeProjectPath(std::string_view path, std::uint32_t codePage) {
    return JoinParts(NormalizeSeparators(Trim(path), codePage));
}

}  // namespace hhc::project
