#include "container/internal_names.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>

#include "container/name_order.h"

namespace hhc::container {

std::string Quoted(std::string_view name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void CheckFileName(std::string_view name) {
    if (name.empty()) throw std::invalid_argument("internal file with an empty name");
    if (name.front() != '/')
        throw std::invalid_argument("internal file name " + Quoted(name) + " does not start with \"/\"");
    if (name.size() > kMaxNameLength)
        throw std::invalid_argument("internal file name " + Quoted(name.substr(0, 64)) + "... is " +
                                    std::to_string(name.size()) + " bytes long; CHM readers accept at most " +
                                    std::to_string(kMaxNameLength));
    if (name.find('\0') != std::string_view::npos)
        throw std::invalid_argument("internal file name " + Quoted(name) + " contains a NUL byte");
}

void CheckNamesDistinct(std::vector<std::string_view> names) {
    std::sort(names.begin(), names.end(), NameLess);
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (CompareNames(names[i - 1], names[i]) != 0) continue;
        if (IsFolderName(names[i])) continue;  // both are folders: one entry will stand for them
        throw std::invalid_argument(
            names[i - 1] == names[i]
                ? "internal file name " + Quoted(names[i]) + " appears twice"
                : "internal files " + Quoted(names[i - 1]) + " and " + Quoted(names[i]) +
                      " have the same name when letter case is ignored");
    }
}

std::vector<std::string> FoldersOf(const std::vector<std::string_view>& names) {
    std::unordered_set<std::string_view> seen;
    std::vector<std::string> folders;
    auto add = [&](std::string_view folder) {
        if (seen.insert(folder).second) folders.emplace_back(folder);
    };
    add("/");
    for (std::string_view name : names) {
        for (std::size_t slash = name.find('/', 1); slash != std::string_view::npos && slash + 1 < name.size();
             slash = name.find('/', slash + 1))
            add(name.substr(0, slash + 1));
    }
    return folders;
}

}  // namespace hhc::container
