#include "test_data.h"

#include <algorithm>
#include <random>
#include <vector>

namespace test_data {

std::string RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string RepetitiveText(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::string> words;
    for (int i = 0; i < 400; ++i) {
        std::string word;
        const unsigned length = 1 + random() % 4;
        for (unsigned k = 0; k < length; ++k) {
            if (i % 3 == 0) {
                word += static_cast<char>('a' + random() % 26);
            } else {
                word += static_cast<char>(0xB0 + random() % 39);
                word += static_cast<char>(0xA1 + random() % 94);
            }
        }
        words.push_back(word);
    }
    std::string text = "<html><head><title>test</title></head><body>\r\n";
    while (text.size() < size) {
        text += "<p>";
        const unsigned count = 5 + random() % 30;
        for (unsigned i = 0; i < count; ++i) {
            // Skewed choice: a few words are very common.
            const unsigned r = random() % 1000;
            text += words[(r * r / 1000) % words.size()];
        }
        text += "</p>\r\n";
    }
    text.resize(size);
    return text;
}

std::string PeriodicBytes(std::size_t size, std::size_t period, std::uint32_t seed) {
    const std::string block = RandomBytes(period, seed);
    std::string bytes;
    bytes.reserve(size);
    while (bytes.size() < size) bytes += block;
    bytes.resize(size);
    return bytes;
}

std::string EightAlignedRepeats(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes;
    while (bytes.size() < size) {
        const std::size_t distance = 8 * (1 + random() % 200);
        if (bytes.size() > distance + 12 && random() % 10 < 7) {
            const std::string copy = bytes.substr(bytes.size() - distance, 12);
            bytes += copy;
        } else {
            for (int i = 0; i < 3; ++i) bytes += static_cast<char>(random() & 0xFF);
        }
    }
    bytes.resize(size);
    return bytes;
}

std::string BitstreamLike(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes;
    bytes.reserve(size + 16);
    std::size_t lastDistance = 1000;
    while (bytes.size() < size) {
        if (bytes.size() > 60000 && random() % 100 < 2) {
            if (random() % 3 != 0) lastDistance = 1 + random() % 60000;
            const std::size_t length = 4 + random() % 8;
            for (std::size_t k = 0; k < length; ++k) bytes += bytes[bytes.size() - lastDistance];
            continue;
        }
        unsigned byte = 0;
        for (int bit = 0; bit < 8; ++bit) byte = byte << 1 | (random() % 100 < 37 ? 1u : 0u);
        bytes += static_cast<char>(byte);
    }
    bytes.resize(size);
    return bytes;
}

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

}  // namespace test_data
