#pragma once
// Length-limited canonical Huffman codes as LZX transmits them.
#include <cstdint>
#include <span>

namespace hhc::lzx {

// Sets `lengths` (same size as `freqs`) to the code lengths of a complete
// prefix code no longer than `maxLength` bits. Unused symbols get 0. A single
// used symbol is paired with a second symbol so that the code stays complete;
// with no used symbol every length is 0.
void BuildCodeLengths(std::span<const std::uint32_t> freqs, unsigned maxLength,
                      std::span<std::uint8_t> lengths);

// Canonical codes for the given lengths: shorter codes first, ties by symbol.
void AssignCanonicalCodes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes);

}  // namespace hhc::lzx
