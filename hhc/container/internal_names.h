#pragma once
// Rules for the names of internal files, and the folder entries they imply.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hhc::container {

// CHMLib refuses longer names.
inline constexpr std::size_t kMaxNameLength = 512;

// The name in double quotes for messages, control bytes shown as \xNN.
std::string Quoted(std::string_view name);

// Throws std::invalid_argument when `name` cannot be stored as a file's name:
// empty, not starting with "/", too long, or containing a NUL byte.
void CheckFileName(std::string_view name);

// Throws std::invalid_argument naming two of `names` that readers, which
// ignore letter case, would take for one another. Folder names ("/a/", "/A/")
// may repeat.
void CheckNamesDistinct(std::vector<std::string_view> names);

inline bool IsFolderName(std::string_view name) { return !name.empty() && name.back() == '/'; }

// "/" and every folder above a name in `names` ("/a/" and "/a/b/" for
// "/a/b/c.htm"), each once (byte-exact duplicates removed; case variants kept).
std::vector<std::string> FoldersOf(const std::vector<std::string_view>& names);

}  // namespace hhc::container
