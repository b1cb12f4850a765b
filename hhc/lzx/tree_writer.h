#pragma once
// Transmission of main and length tree code lengths: each section is coded
// as differences from the lengths sent before, through a pretree of 20 symbols.
#include <cstdint>
#include <span>
#include <vector>

#include "lzx/word_bit_writer.h"

namespace hhc::lzx {

// Exact number of bits `WriteTreeSection` will write.
std::uint64_t TreeSectionCost(std::span<const std::uint8_t> previous, std::span<const std::uint8_t> next);

// Writes the pretree and then the lengths `next`, as deltas against `previous`.
void WriteTreeSection(WordBitWriter& bits, std::span<const std::uint8_t> previous, std::span<const std::uint8_t> next);

}  // namespace hhc::lzx
