#include "book/string_pool.h"

#include "project/code_page.h"

namespace hhc::book {

StringPool::StringPool(std::uint32_t codePage) : codePage_(codePage), bytes_(1, '\0') {}

std::uint32_t StringPool::Add(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    text = project::TruncateText(text, kBlockSize - 1, codePage_);
    if (text.empty()) return 0;
    const std::string key(text);
    if (auto it = offsets_.find(key); it != offsets_.end()) return it->second;
    const std::size_t used = bytes_.size() % kBlockSize;
    if (used + text.size() + 1 > kBlockSize) bytes_.append(kBlockSize - used, '\0');
    const auto offset = static_cast<std::uint32_t>(bytes_.size());
    bytes_.append(text);
    bytes_.push_back('\0');
    offsets_.emplace(key, offset);
    return offset;
}

}  // namespace hhc::book
