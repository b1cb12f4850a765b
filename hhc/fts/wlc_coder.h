#pragma once
// Word location codes: the bit-packed document and position lists of one
// index entry. Bits go most significant first; every value is written as a
// "scale 2, root r" code:
//   n = number of significant bits of v (0 for v = 0)
//   n <= r: a 0 bit, then v in r bits
//   n >  r: (n - r) 1 bits, a 0 bit, then the low n - 1 bits of v
#include <array>
#include <cstdint>
#include <string>

namespace hhc::fts {

class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}
    ~BitWriter() { FlushToByte(); }

    // The low `count` bits of `value`, highest first (count <= 32).
    void Put(std::uint32_t value, unsigned count);
    void PutOnes(unsigned count);
    // Pads with 0 bits to the next byte boundary.
    void FlushToByte();

private:
    std::string& out_;
    std::uint64_t acc_ = 0;
    unsigned bits_ = 0;
};

unsigned SignificantBits(std::uint32_t v);

void PutScaleRoot(BitWriter& bits, std::uint32_t value, unsigned root);

// Counts how many values of each bit length occur, to pick the root size that
// makes their codes shortest.
class RootChooser {
public:
    void Add(std::uint32_t value) { ++histogram_[SignificantBits(value)]; }
    // The root (0-32) with the fewest total bits; the smallest on a tie.
    unsigned Best() const;
    std::uint64_t CostBits(unsigned root) const;

private:
    std::array<std::uint64_t, 33> histogram_{};
};

}  // namespace hhc::fts
