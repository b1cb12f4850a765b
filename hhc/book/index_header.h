#pragma once
// "/#IDXHDR" (also stored as "#SYSTEM" record 13): 4096 bytes describing the
// contents and index: topic count and the "text/site properties" of the
// contents file.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "book/string_pool.h"

namespace hhc::book {

// The whole "/#IDXHDR" file (not a header of the container's index chunks).
inline constexpr std::size_t kIdxhdrFileSize = 4096;

std::string BuildIndexHeader(std::uint32_t topicCount,
                             const std::vector<std::pair<std::string, std::string>>& siteProperties,
                             std::uint32_t timestamp, StringPool& strings);

}  // namespace hhc::book
