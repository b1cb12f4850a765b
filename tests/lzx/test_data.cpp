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
    std::vector<std::string> words(400);
    for (std::size_t i = 0; i < words.size(); ++i)  // one in three ASCII, the others GBK hanzi
        for (unsigned k = 0, length = 1 + random() % 4; k < length; ++k)
            words[i] += i % 3 == 0 ? std::string(1, static_cast<char>('a' + random() % 26))
                                   : std::string{static_cast<char>(0xB0 + random() % 39),
                                                 static_cast<char>(0xA1 + random() % 94)};
    std::string text = "<html><head><title>test</title></head><body>\r\n";
    while (text.size() < size) {
        text += "<p>";
        for (unsigned i = 0, count = 5 + random() % 30; i < count; ++i) {
            const unsigned r = random() % 1000;  // skewed: a few words are very common
            text += words[(r * r / 1000) % words.size()];
        }
        text += "</p>\r\n";
    }
    text.resize(size);
    return text;
}

std::string PeriodicBytes(std::size_t size, std::size_t period, std::uint32_t seed) {
    std::string bytes = RandomBytes(period, seed);
    while (bytes.size() < size) bytes += bytes.substr(0, period);
    return bytes.substr(0, size);
}

std::string EightAlignedRepeats(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes;
    while (bytes.size() < size) {
        const std::size_t distance = 8 * (1 + random() % 200);
        if (bytes.size() > distance + 12 && random() % 10 < 7) bytes += bytes.substr(bytes.size() - distance, 12);
        else
            for (int i = 0; i < 3; ++i) bytes += static_cast<char>(random() & 0xFF);
    }
    return bytes.substr(0, size);
}

std::string BitstreamLike(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes;
    std::size_t lastDistance = 1000;
    while (bytes.size() < size) {
        if (bytes.size() > 60000 && random() % 100 < 2) {
            if (random() % 3 != 0) lastDistance = 1 + random() % 60000;
            for (std::size_t k = 0, length = 4 + random() % 8; k < length; ++k)
                bytes += bytes[bytes.size() - lastDistance];
            continue;
        }
        unsigned byte = 0;
        for (int bit = 0; bit < 8; ++bit) byte = byte << 1 | (random() % 100 < 37 ? 1u : 0u);
        bytes += static_cast<char>(byte);
    }
    return bytes.substr(0, size);
}

namespace {

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

// A level-1 hanzi of GB2312: rows 0xB0 to 0xD6 (the last row, 0xD7, ends
// early), cells 0xA1 to 0xFE.
void AppendHanzi(std::string& text, Random& random) {
    text += static_cast<char>(0xB0 + random.Next(0xD6 - 0xB0 + 1));
    text += static_cast<char>(0xA1 + random.Next(0xFE - 0xA1 + 1));
}

// One to four sentences of one to three clauses each.
std::string Line(Random& random) {
    std::string line;
    for (unsigned s = 0, sentences = 1 + random.Next(4); s < sentences; ++s) {
        for (unsigned c = 0, clauses = 1 + random.Next(3); c < clauses; ++c) {
            for (unsigned i = 0, length = 4 + random.Next(12); i < length; ++i) AppendHanzi(line, random);
            line += c + 1 < clauses ? "\xA3\xAC" : "\xA1\xA3";  // ， or 。
        }
    }
    return line + "\r\n";
}

}  // namespace

std::string CorpusText(std::size_t index, std::size_t bytes) {
    Random random(index);
    std::string text = "\xB5\xDA" + std::to_string(index + 1) + "\xD5\xC2\r\n";  // 第 N 章
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
    return "chapter-" + std::string(width - std::min(width, number.size()), '0') + number + ".txt";
}

}  // namespace test_data
