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

namespace hhc::fts {

// Writes bits to memory the caller has sized, highest first, filling each
// byte before the next (unlike LZX's WordBitWriter, which packs 16-bit
// little-endian words). Each 32 bits collected are stored at once.
class ByteBitWriter {
public:
    explicit ByteBitWriter(char* out) : next_(out) {}

    // The low `count` bits of `value`, highest first (count <= 32).
    void Put(std::uint64_t value, unsigned count) {
        acc_ = (acc_ << count) | (value & ((std::uint64_t{1} << count) - 1));
        bits_ += count;
        if (bits_ >= 32) {
            bits_ -= 32;
            auto word = static_cast<std::uint32_t>(acc_ >> bits_);
            next_[0] = static_cast<char>(word >> 24);
            next_[1] = static_cast<char>(word >> 16);
            next_[2] = static_cast<char>(word >> 8);
            next_[3] = static_cast<char>(word);
            next_ += 4;
        }
    }
    // Writes the bits held, the last byte padded with 0 bits; returns the end
    // of what has been written.
    char* Finish() {
        while (bits_ >= 8) {
            bits_ -= 8;
            *next_++ = static_cast<char>(acc_ >> bits_);
        }
        if (bits_ > 0) *next_++ = static_cast<char>(acc_ << (8 - bits_));
        bits_ = 0;
        return next_;
    }

private:
    char* next_;
    std::uint64_t acc_ = 0;
    unsigned bits_ = 0;  // bits in acc_ not yet written, always below 32
};

inline unsigned SignificantBits(std::uint32_t v) { return static_cast<unsigned>(std::bit_width(v)); }

// The length in bits of the code of `value`.
inline unsigned ScaleRootBits(std::uint32_t value, unsigned root) {
    unsigned n = SignificantBits(value);
    return n <= root ? root + 1 : 2 * n - root;
}

inline void PutScaleRoot(ByteBitWriter& bits, std::uint32_t value, unsigned root) {
    unsigned n = SignificantBits(value);
    if (n <= root) {  // a 0 bit, then r bits: value < 2^r
        if (root < 32) {
            bits.Put(value, root + 1);
        } else {
            bits.Put(0, 1);
            bits.Put(value, 32);
        }
        return;
    }
    unsigned ones = n - root;
    std::uint64_t onesBits = (std::uint64_t{1} << ones) - 1;
    std::uint64_t mantissa = value & ((std::uint64_t{1} << (n - 1)) - 1);
    if (ones + n <= 32) {  // ones, a 0 bit and n - 1 bits in one go
        bits.Put(onesBits << n | mantissa, ones + n);
        return;
    }
    bits.Put(onesBits, ones);
    bits.Put(mantissa, n);  // the 0 bit is the top bit of n bits
}

// Counts how many values of each bit length occur, to pick the root size that
// makes their codes shortest.
class RootChooser {
public:
    void Add(std::uint32_t value) { ++histogram_[SignificantBits(value)]; }
    void Add(const RootChooser& other) {
        for (std::size_t n = 0; n < histogram_.size(); ++n) histogram_[n] += other.histogram_[n];
    }
    // The root (0-32) with the fewest total bits; the smallest on a tie.
    unsigned Best() const;
    std::uint64_t CostBits(unsigned root) const;

private:
    std::array<std::uint64_t, 33> histogram_{};
};

}  // namespace hhc::fts
