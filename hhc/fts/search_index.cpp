#include "fts/search_index.h"

namespace hhc::fts {

SearchFiles BuildSearchIndex(const std::vector<SearchTopic>& /*topics*/, std::uint32_t /*codePage*/,
                             std::uint32_t /*lcid*/) {
    return {};
}

}  // namespace hhc::fts
