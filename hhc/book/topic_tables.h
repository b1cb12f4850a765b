#pragma once
// "/#TOPICS", "/#URLTBL" and "/#URLSTR": one topic per compiled page, giving
// its title and its path. Search results and topic lists reach a page through
// them: topic number -> #TOPICS record -> #URLTBL record -> #URLSTR path.
#include <cstdint>
#include <string>
#include <vector>

#include "book/string_pool.h"

namespace hhc::book {

struct Topic {
    std::string title;  // ANSI bytes; empty when the page has none
    std::string path;   // ANSI bytes, relative, no leading "/"
};

struct TopicTables {
    std::string topics;  // #TOPICS
    std::string urlTable;  // #URLTBL
    std::string urlStrings;  // #URLSTR
};

inline constexpr std::uint16_t kTopicFlagPage = 2;  // a compiled page that is not a contents entry

TopicTables BuildTopicTables(const std::vector<Topic>& topics, StringPool& strings);

}  // namespace hhc::book
