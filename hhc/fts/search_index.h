#pragma once
// The full-text search index of a book: "/$FIftiMain" and "/$OBJINST".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fts/stop_list.h"

namespace hhc::fts {

struct SearchTopic {
    std::uint32_t topicNumber = 0;  // index of the topic in "/#TOPICS"
    std::string_view html;          // the page's bytes as stored in the book
};

struct SearchFiles {
    std::string fiftiMain;  // "/$FIftiMain"
    std::string objInst;    // "/$OBJINST"
};

// Builds the index over the text of every page (markup, scripts and styles
// stripped, entities decoded). `codePage` is the book's ANSI code page (936
// for a Simplified Chinese book), `lcid` its language. Pages are indexed on
// up to `threads` threads (0: one per core); the index is the same for any
// number of threads. Words of `stopList` are not indexed.
SearchFiles BuildSearchIndex(const std::vector<SearchTopic>& topics, std::uint32_t codePage,
                             std::uint32_t lcid, unsigned threads = 0, const StopList& stopList = {});

}  // namespace hhc::fts
