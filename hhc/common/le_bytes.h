#pragma once
// Little-endian integers and fixed byte strings appended to, or overwritten
// in, a byte buffer: the layout of every binary structure in a book.
#include <cstddef>
#include <cstdint>
#include <string>

namespace hhc {

inline void PutU8(std::string& out, std::uint8_t v) { out.push_back(static_cast<char>(v)); }

inline void PutU16(std::string& out, std::uint16_t v) {
    PutU8(out, static_cast<std::uint8_t>(v));
    PutU8(out, static_cast<std::uint8_t>(v >> 8));
}

inline void PutU32(std::string& out, std::uint32_t v) {
    PutU16(out, static_cast<std::uint16_t>(v));
    PutU16(out, static_cast<std::uint16_t>(v >> 16));
}

inline void PutU64(std::string& out, std::uint64_t v) {
    PutU32(out, static_cast<std::uint32_t>(v));
    PutU32(out, static_cast<std::uint32_t>(v >> 32));
}

inline void PutBytes(std::string& out, const std::uint8_t* bytes, std::size_t n) {
    out.append(reinterpret_cast<const char*>(bytes), n);
}

// Overwrites a WORD already present in `out` at `pos`.
inline void PokeU16(std::string& out, std::size_t pos, std::uint16_t v) {
    out[pos] = static_cast<char>(v & 0xFF);
    out[pos + 1] = static_cast<char>(v >> 8);
}

inline void PokeU32(std::string& out, std::size_t pos, std::uint32_t v) {
    PokeU16(out, pos, static_cast<std::uint16_t>(v));
    PokeU16(out, pos + 2, static_cast<std::uint16_t>(v >> 16));
}

}  // namespace hhc
