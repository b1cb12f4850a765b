#include "page_corpus.h"

#include <algorithm>
#include <random>

namespace fts_test {
namespace {

std::string Dbcs(unsigned lead, unsigned trail) { return {static_cast<char>(lead), static_cast<char>(trail)}; }

const std::string kZhong = "\xD6\xD0";  // 中, also written as a character reference

}  // namespace

PageCorpus::PageCorpus(std::size_t pageCount, std::size_t paragraphs) {
    // Level-1 hanzi of GB2312 (rows 0xB0-0xD6, trail 0xA1-0xFE), a small set so
    // that phrases repeat across pages, and characters of the GBK extension.
    std::mt19937 rng(1);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    std::set<std::string> chosen = {kZhong};
    while (chosen.size() < 28) chosen.insert(Dbcs(0xB0 + pick(0x27), 0xA1 + pick(0x5E)));
    alphabet.assign(chosen.begin(), chosen.end());
    for (auto [lead, trail] : {std::pair{0x81, 0x80}, {0x95, 0xE8}, {0x81, 'A'}, {0x81, 'a'}, {0x9A, 'Z'}, {0x9A, 'z'}})
        alphabet.push_back(Dbcs(lead, trail));
    const auto anyChar = [&] { return alphabet[pick(alphabet.size())]; };
    // What a paragraph may hold between words, none of it shown as a word:
    // line breaks, blanks, markup, comments, scripts.
    const std::string comment = "<!-- " + anyChar() + " -->", script = "<script>var s = '" + anyChar() + "';</script>";
    const std::string hidden[] = {"\n", "\r", "\n  ", "<br>", " ", "&nbsp;", "<b>", comment, script};
    const std::string punctuation[] = {"\xA1\xA3", "\xA3\xAC"};

    for (std::size_t index = 0; index < pageCount; ++index) {
        GeneratedPage page;
        const Block title = {anyChar(), anyChar(), "p" + std::to_string(index)};
        const Block notice = {alphabet[0], alphabet[1], alphabet[2]};
        page.title = title[0] + title[1] + " P" + std::to_string(index);
        page.html = "<HTML>\r\n<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n<TITLE>" +
                    page.title + "</TITLE>\r\nbody { font-size: 9pt } " + alphabet[3] + alphabet[4] +  // not shown
                    "\r\n</HEAD>\r\n<BODY>\r\n<p class='ad'><font color='#FF0000'>" + notice[0] + notice[1] +
                    notice[2] + "</font></p><p>&nbsp;</p><p><h1>" + page.title + "</h1></p><p>&nbsp;</p>\r\n";
        page.blocks = {title, notice, title};
        for (std::size_t p = 0; p < paragraphs; ++p) {
            Block block;
            std::string text;
            for (std::size_t w = 40 + pick(80); w > 0; --w) {
                const std::size_t kind = pick(100);
                if (kind < 21 && !block.empty()) {
                    text += hidden[pick(std::size(hidden))];
                } else if (kind < 25) {  // in either case, "isnt" written "isn't"
                    const std::string& word = latinWords[pick(latinWords.size())];
                    std::string shown = word == "isnt" ? "isn't" : word;
                    if (pick(2) && std::isalpha(shown[0])) shown[0] = static_cast<char>(std::toupper(shown[0]));
                    text += " " + shown + (pick(3) == 0 ? " &amp; " : " ");
                    block.push_back(word);
                } else {
                    const std::string& c = kind < 29 ? punctuation[pick(2)] : anyChar();
                    text += c != kZhong || pick(2) ? c : pick(2) ? "&#20013;" : "&#x4E2D;";
                    block.push_back(c);
                }
            }
            page.html += "<p>" + text + "</P>\r\n";
            page.blocks.push_back(block);
        }
        pages.push_back(page);
        pages.back().html += "</body>\r\n</html>\r\n";
    }
}

std::set<std::uint32_t> PageCorpus::PagesHolding(const Block& phrase) const {
    std::set<std::uint32_t> out;
    for (std::uint32_t i = 0; i < pages.size(); ++i)
        for (const Block& b : pages[i].blocks)
            if (std::search(b.begin(), b.end(), phrase.begin(), phrase.end()) != b.end()) out.insert(i);
    return out;
}

std::vector<Block> PageCorpus::SamplePhrases(std::size_t perPage) const {
    std::mt19937 rng(7);
    std::vector<Block> phrases;
    // Latin words are looked up as single words only.
    auto take = [&](const Block& b, std::size_t start, std::size_t length) {
        if (start + length > b.size()) return;
        const Block phrase(b.begin() + start, b.begin() + start + length);
        if (length == 1 || std::all_of(phrase.begin(), phrase.end(), [](auto& w) { return w[0] & 0x80; }))
            phrases.push_back(phrase);
    };
    for (const GeneratedPage& page : pages) {
        for (std::size_t n = 0; n < perPage; ++n) {
            const Block& b = page.blocks[rng() % page.blocks.size()];
            if (!b.empty()) take(b, rng() % b.size(), 1 + rng() % 4);
        }
        // Across the end of a block: no page holds these unless elsewhere.
        for (std::size_t b = 0; b + 1 < page.blocks.size(); ++b)
            if (!page.blocks[b].empty() && !page.blocks[b + 1].empty())
                take({page.blocks[b].back(), page.blocks[b + 1].front()}, 0, 2);
    }
    return phrases;
}

}  // namespace fts_test
