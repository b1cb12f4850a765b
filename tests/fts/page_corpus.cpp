#include "page_corpus.h"

#include <algorithm>

namespace fts_test {
namespace {

std::string Dbcs(unsigned lead, unsigned trail) {
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

std::string Join(const Block& words) {
    std::string s;
    for (const std::string& w : words) s += w;
    return s;
}

bool IsLatin(const std::string& w) { return static_cast<unsigned char>(w[0]) < 0x80; }

}  // namespace

PageCorpus::PageCorpus(const CorpusOptions& options) : options_(options) {
    // Level-1 hanzi of GB2312 (rows 0xB0-0xD6, trail 0xA1-0xFE), a small set so
    // that phrases repeat across pages.
    std::mt19937 rng(options.seed);
    std::set<std::string> chosen = {kZhong};
    while (chosen.size() < 28) chosen.insert(Dbcs(0xB0 + rng() % 0x27, 0xA1 + rng() % 0x5E));
    alphabet_.assign(chosen.begin(), chosen.end());
    // Characters of the GBK extension (lead bytes 0x81-0xA0).
    alphabet_.push_back(Dbcs(0x81, 0x80));
    alphabet_.push_back(Dbcs(0x95, 0xE8));
    if (options.letterTrailBytes) {
        alphabet_.push_back(Dbcs(0x81, 0x41));  // trail "A"
        alphabet_.push_back(Dbcs(0x81, 0x61));  // trail "a"
        alphabet_.push_back(Dbcs(0x9A, 0x5A));
        alphabet_.push_back(Dbcs(0x9A, 0x7A));
    }
    latin_ = {"alpha", "beta", "gamma", "delta", "zeta_2", "kappa", "omega", "isnt", "3.14", "search"};
    for (std::size_t i = 0; i < options.pages; ++i) pages_.push_back(MakePage(i, rng));
}

GeneratedPage PageCorpus::MakePage(std::size_t index, std::mt19937& rng) const {
    GeneratedPage page;
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const std::string fullStop = Dbcs(0xA1, 0xA3);
    const std::string comma = Dbcs(0xA3, 0xAC);

    // Title: two characters and the page number (a Latin word).
    Block titleWords = {alphabet_[pick(alphabet_.size())], alphabet_[pick(alphabet_.size())],
                        "p" + std::to_string(index)};
    page.title = titleWords[0] + titleWords[1] + " P" + std::to_string(index);
    Block notice = {alphabet_[0], alphabet_[1], alphabet_[2]};

    std::string html = "<HTML>\r\n<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n";
    html += "<TITLE>" + page.title + "</TITLE>\r\n";
    html += "body { font-size: 9pt } " + alphabet_[3] + alphabet_[4] + "\r\n";  // stylesheet text, not shown
    html += "</HEAD>\r\n<BODY>\r\n<p class='ad'><font color='#FF0000'>" + Join(notice) +
            "</font></p><p>&nbsp;</p><p><h1>" + page.title + "</h1></p><p>&nbsp;</p>\r\n";
    page.blocks.push_back(titleWords);
    page.blocks.push_back(notice);
    page.blocks.push_back(titleWords);

    for (std::size_t p = 0; p < options_.paragraphs; ++p) {
        Block block;
        std::string text;
        std::size_t words = options_.paragraphWords / 2 + pick(options_.paragraphWords);
        for (std::size_t w = 0; w < words; ++w) {
            std::size_t kind = pick(100);
            if (kind < 8 && !block.empty()) {  // a line break inside the paragraph
                const char* breaks[] = {"\n", "\r", "<br>", "\n  "};
                text += breaks[pick(4)];
                page.lineBreaks.push_back({page.blocks.size(), block.size()});
            } else if (kind < 11) {
                text += " ";
            } else if (kind < 13) {
                text += "<!-- " + alphabet_[pick(alphabet_.size())] + " -->";
            } else if (kind < 15) {
                text += "<script>var s = '" + alphabet_[pick(alphabet_.size())] + "';</script>";
            } else if (kind < 17) {
                text += "&nbsp;";
            } else if (kind < 19) {
                text += "<b>";
            } else if (kind < 21) {
                text += "</b>";
            }
            if (kind < 21) continue;
            if (kind < 25) {
                const std::string& word = latin_[pick(latin_.size())];
                std::string shown = word == "isnt" ? "isn't" : word;
                if (pick(2) && shown[0] >= 'a' && shown[0] <= 'z') shown[0] = static_cast<char>(shown[0] - 32);
                text += " " + shown + (pick(3) == 0 ? " &amp; " : " ");
                block.push_back(word);
            } else if (kind < 29) {
                std::string punctuation = pick(2) ? fullStop : comma;
                text += punctuation;
                block.push_back(punctuation);
            } else {
                const std::string& c = alphabet_[pick(alphabet_.size())];
                if (c == kZhong && pick(2)) {
                    text += pick(2) ? "&#20013;" : "&#x4E2D;";
                } else {
                    text += c;
                }
                block.push_back(c);
            }
        }
        html += "<p>" + text + "</P>\r\n";
        page.blocks.push_back(block);
    }
    html += "</body>\r\n</html>\r\n";
    page.html = html;
    return page;
}

std::set<std::uint32_t> PageCorpus::PagesHolding(const Block& phrase) const {
    std::set<std::uint32_t> out;
    for (std::uint32_t i = 0; i < pages_.size(); ++i) {
        for (const Block& b : pages_[i].blocks) {
            if (std::search(b.begin(), b.end(), phrase.begin(), phrase.end()) != b.end()) {
                out.insert(i);
                break;
            }
        }
    }
    return out;
}

std::vector<Block> PageCorpus::SamplePhrases(std::size_t perPage, std::uint32_t seed) const {
    std::mt19937 rng(seed);
    std::vector<Block> phrases;
    auto take = [&](const Block& b, std::size_t start, std::size_t length) {
        if (start + length > b.size()) return;
        Block phrase(b.begin() + static_cast<std::ptrdiff_t>(start), b.begin() + static_cast<std::ptrdiff_t>(start + length));
        if (length > 1 && std::any_of(phrase.begin(), phrase.end(), IsLatin)) return;
        phrases.push_back(phrase);
    };
    for (const GeneratedPage& page : pages_) {
        for (std::size_t n = 0; n < perPage; ++n) {
            const Block& b = page.blocks[rng() % page.blocks.size()];
            if (b.empty()) continue;
            take(b, rng() % b.size(), 1 + rng() % 4);
        }
        // Across the end of a paragraph: no page holds these unless elsewhere.
        for (std::size_t b = 0; b + 1 < page.blocks.size(); ++b) {
            const Block& left = page.blocks[b];
            const Block& right = page.blocks[b + 1];
            if (left.empty() || right.empty()) continue;
            Block phrase = {left.back(), right.front()};
            if (!std::any_of(phrase.begin(), phrase.end(), IsLatin)) phrases.push_back(phrase);
        }
        for (auto [block, word] : page.lineBreaks) {
            const Block& b = page.blocks[block];
            for (std::size_t length = 2; length <= 4; ++length)
                for (std::size_t before = 1; before < length; ++before)
                    if (word >= before) take(b, word - before, length);
        }
    }
    for (std::size_t n = 0; n < 200; ++n) {
        Block phrase;
        std::size_t length = 2 + rng() % 3;
        for (std::size_t i = 0; i < length; ++i) phrase.push_back(alphabet_[rng() % alphabet_.size()]);
        phrases.push_back(phrase);
    }
    return phrases;
}

}  // namespace fts_test
