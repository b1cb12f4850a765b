#pragma once
// The 0x400-byte header at the start of "/$FIftiMain".
#include <cstdint>
#include <string>

namespace hhc::fts {

inline constexpr std::size_t kHeaderSize = 0x400;

struct HeaderFields {
    std::uint32_t documentCount = 0;
    std::uint32_t rootOffset = 0;
    std::uint32_t leafCount = 0;
    std::uint16_t depth = 1;
    std::uint8_t documentRoot = 0;  // root sizes of the three location codes
    std::uint8_t countRoot = 0;
    std::uint8_t locationRoot = 0;
    std::uint32_t longestWord = 0;
    std::uint64_t occurrences = 0;
    std::uint32_t distinctWords = 0;
    std::uint64_t occurrenceBytes = 0;
    std::uint64_t entryWordBytes = 0;
    std::uint64_t freeBytes = 0;
    std::uint32_t highestDocument = 0;
    std::uint32_t codePage = 0;
    std::uint32_t lcid = 0;
};

// Writes the header over the first kHeaderSize bytes of `file`.
void WriteHeader(const HeaderFields& fields, std::string& file);

}  // namespace hhc::fts
