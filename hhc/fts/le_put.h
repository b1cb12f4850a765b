#pragma once
// The variable-length integers of leaf entries, beside the fixed-size
// little-endian integers of common/le_bytes.h.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/le_bytes.h"

namespace hhc::fts {

// Counts and sizes in leaf entries: 7 bits per byte, least significant group
// first, 0x80 on every byte but the last.
inline void PutEncIntLe(std::string& out, std::uint64_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<char>((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<char>(v));
}

inline std::size_t EncIntLeSize(std::uint64_t v) {
    std::size_t n = 1;
    while (v >= 0x80) {
        v >>= 7;
        ++n;
    }
    return n;
}

}  // namespace hhc::fts
