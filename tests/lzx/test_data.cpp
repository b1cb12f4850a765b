#include "test_data.h"

#include <random>
#include <vector>

namespace lzx_test {

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

}  // namespace lzx_test
