#pragma once
// Words left out of the search index ("Full text search stop list file=").
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "fts/code_page.h"

namespace hhc::fts {

class StopList {
public:
    StopList() = default;

    // One word per line, in the book's code page (UTF-8 when the text starts
    // with a byte order mark). Each line is cut into words the way pages are,
    // so "The" stops "the" and "isn't" stops "isnt"; blank lines are skipped.
    static StopList Parse(std::string_view text, CodePage& codePage);

    // nullopt when the file cannot be read.
    static std::optional<StopList> ReadFile(const std::filesystem::path& file, CodePage& codePage);

    // `word` as the word breaker gives it (already folded).
    bool Contains(std::string_view word) const { return !words_.empty() && words_.count(std::string(word)) != 0; }
    bool empty() const { return words_.empty(); }
    std::size_t size() const { return words_.size(); }

private:
    std::unordered_set<std::string> words_;
};

}  // namespace hhc::fts
