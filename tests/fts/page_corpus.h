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

struct CorpusOptions {
    std::size_t pages = 60;
    std::size_t paragraphs = 4;
    std::size_t paragraphWords = 80;
    // Include characters whose lead byte is 0x81-0xA0 and whose trail byte is an
    // ASCII letter code (readers of the chmlib family confuse those).
    bool letterTrailBytes = true;
    std::uint32_t seed = 1;
};

class PageCorpus {
public:
    explicit PageCorpus(const CorpusOptions& options);

    const std::vector<GeneratedPage>& pages() const { return pages_; }
    const std::vector<std::string>& alphabet() const { return alphabet_; }
    const std::vector<std::string>& latinWords() const { return latin_; }

    // Indices of the pages that show `phrase` (consecutive words of one block).
    std::set<std::uint32_t> PagesHolding(const Block& phrase) const;

    // Phrases of 1-4 words taken from the pages (many across line breaks),
    // pairs that straddle two paragraphs, and random ones.
    std::vector<Block> SamplePhrases(std::size_t perPage, std::uint32_t seed) const;

private:
    std::vector<std::string> alphabet_, latin_;
    std::vector<GeneratedPage> pages_;
};

}  // namespace fts_test
