#pragma once
// Whole-file reads and writes for tests.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace test_support {

// The bytes of a file; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

// Writes (or replaces) a file, creating the folders on its way; throws
// std::runtime_error when that fails.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// "/relative/name" (generic separators) -> bytes, for every regular file below `folder`.
using BookFiles = std::map<std::string, std::string>;
BookFiles FilesBelow(const std::filesystem::path& folder);

}  // namespace test_support
