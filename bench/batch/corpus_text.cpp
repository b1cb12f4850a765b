#include "corpus_text.h"

#include <cstdint>

namespace chmbook::bench {
namespace {

// Level-1 hanzi of GB2312 lie in rows 0xB0 to 0xD7, cells 0xA1 to 0xFE; the
// last row ends at cell 0xF9. Staying in rows 0xB0 to 0xD6 keeps every pick valid.
constexpr unsigned kFirstRow = 0xB0, kRows = 0xD6 - 0xB0 + 1;
constexpr unsigned kFirstCell = 0xA1, kCells = 0xFE - 0xA1 + 1;
constexpr char kComma[] = "\xA3\xAC";      // ，
constexpr char kFullStop[] = "\xA1\xA3";   // 。
constexpr char kChapter[] = "\xB5\xDA";    // 第
constexpr char kChapterEnd[] = "\xD5\xC2"; // 章

// A small linear congruential generator: enough variety for prose, and the
// same numbers on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    unsigned Next(unsigned bound) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>((state_ >> 33) % bound);
    }

private:
    std::uint64_t state_;
};

void AppendHanzi(std::string& text, Random& random) {
    text += static_cast<char>(kFirstRow + random.Next(kRows));
    text += static_cast<char>(kFirstCell + random.Next(kCells));
}

std::string Sentence(Random& random) {
    std::string sentence;
    const unsigned clauses = 1 + random.Next(3);
    for (unsigned c = 0; c < clauses; ++c) {
        const unsigned length = 4 + random.Next(12);
        for (unsigned i = 0; i < length; ++i) AppendHanzi(sentence, random);
        sentence += c + 1 < clauses ? kComma : kFullStop;
    }
    return sentence;
}

std::string Line(Random& random) {
    std::string line;
    const unsigned sentences = 1 + random.Next(4);
    for (unsigned i = 0; i < sentences; ++i) line += Sentence(random);
    return line + "\r\n";
}

}  // namespace

std::string CorpusText(std::size_t index, std::size_t bytes) {
    Random random(index);
    std::string text = std::string(kChapter) + std::to_string(index + 1) + kChapterEnd + "\r\n";
    for (;;) {
        std::string line = Line(random);
        if (random.Next(5) == 0) line += "\r\n";  // now and then an empty line between paragraphs
        if (text.size() + line.size() + 2 > bytes) break;
        text += line;
    }
    // Fill up to the exact size with one last line.
    if (text.size() + 2 > bytes) text.assign(bytes >= 2 ? bytes - 2 : 0, '.');  // no room for the heading
    std::string last;
    while (text.size() + last.size() + 2 + 2 <= bytes) AppendHanzi(last, random);
    if (text.size() + last.size() + 2 < bytes) last += '.';
    return text + last + "\r\n";
}

std::string CorpusFileName(std::size_t index, std::size_t count) {
    std::string number = std::to_string(index + 1);
    const std::size_t width = std::max<std::size_t>(4, std::to_string(count).size());
    if (number.size() < width) number.insert(0, width - number.size(), '0');
    return "chapter-" + number + ".txt";
}

}  // namespace chmbook::bench
