#pragma once
// Generated pages in code page 936 with a known answer for every search: each
// page is kept both as HTML (as the book build writes it, with notice,
// heading, paragraphs, line breaks inside paragraphs, entities, markup,
// scripts and comments) and as the text blocks a reader sees, each block a
// sequence of words (one double-byte character, or one lower-case Latin word).
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace fts_test {

using Block = std::vector<std::string>;

struct GeneratedPage {
    std::string title;  // code-page bytes
    std::string html;
    std::vector<Block> blocks;  // the title, the notice, the heading, the paragraphs
};

struct PageCorpus {
    PageCorpus(std::size_t pageCount, std::size_t paragraphs);

    // Indices of the pages that show `phrase` (consecutive words of one block).
    std::set<std::uint32_t> PagesHolding(const Block& phrase) const;
    // Phrases of 1-4 words taken from the pages, and pairs that straddle two
    // blocks (found only where they also show inside one).
    std::vector<Block> SamplePhrases(std::size_t perPage) const;

    // Hanzi, and characters whose trail byte is an ASCII letter code (readers
    // of the chmlib family confuse those).
    std::vector<std::string> alphabet;
    std::vector<std::string> latinWords = {"alpha", "beta", "zeta_2", "omega", "isnt", "3.14", "search"};
    std::vector<GeneratedPage> pages;
};

}  // namespace fts_test
