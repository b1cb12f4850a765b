#pragma once
// Word location codes: the bit-packed document and position lists of one
// index entry. Bits go most significant first; every value is written as a
// "scale 2, root r" code:
//   n = number of significant bits of v (0 for v = 0)
//   n <= r: a 0 bit, then v in r bits
//   n >  r: (n - r) 1 bits, a 0 bit, then the low n - 1 bits of v
#include <array>
#include <bit>
#include <cstdint>
#include <string>

namespace hhc::fts {

class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}
    ~BitWriter() { FlushToByte(); }

    // The low `count` bits of `value`, highest first (count <= 56).
    void Put(std::uint64_t value, unsigned count) {
        if (count == 0) return;
        value &= (std::uint64_t{1} << count) - 1;
        acc_ = (acc_ << count) | value;
        bits_ += count;
        while (bits_ >= 8) {
            bits_ -= 8;
            out_.push_back(static_cast<char>((acc_ >> bits_) & 0xFF));
        }
    }
    void PutOnes(unsigned count) {
        while (count > 0) {
            unsigned n = count > 32 ? 32 : count;
            Put((std::uint64_t{1} << n) - 1, n);
            count -= n;
        }
    }
    // Pads with 0 bits to the next byte boundary.
    void FlushToByte() {
        if (bits_ > 0) Put(0, 8 - bits_);
    }

private:
    std::string& out_;
    std::uint64_t acc_ = 0;
    unsigned bits_ = 0;
};

inline unsigned SignificantBits(std::uint32_t v) { return static_cast<unsigned>(std::bit_width(v)); }

inline void PutScaleRoot(BitWriter& bits, std::uint32_t value, unsigned root) {
    unsigned n = SignificantBits(value);
    if (n <= root) {
        bits.Put(value, root + 1);  // a 0 bit, then r bits: value < 2^r
        return;
    }
    unsigned ones = n - root;
    std::uint64_t mantissa = value & ((std::uint64_t{1} << (n - 1)) - 1);
    if (ones + n <= 56) {  // ones, a 0 bit and n - 1 bits in one go
        bits.Put(((std::uint64_t{1} << ones) - 1) << n | mantissa, ones + n);
        return;
    }
    bits.PutOnes(ones);
    bits.Put(mantissa, n);  // the 0 bit is the top bit of n bits
}

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
