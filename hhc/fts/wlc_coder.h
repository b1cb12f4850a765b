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

// Appends bits to a string. Each 32 bits collected in the accumulator go to
// a small buffer, which goes to the string when full and at the end: the
// string grows once per flush, not once per byte.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : out_(out) {}
    ~BitWriter() { FlushToByte(); out_.append(buffer_, used_); }
    BitWriter(const BitWriter&) = delete;
    BitWriter& operator=(const BitWriter&) = delete;

    // The low `count` bits of `value`, highest first (count <= 32).
    void Put(std::uint64_t value, unsigned count) {
        acc_ = (acc_ << count) | (value & ((std::uint64_t{1} << count) - 1));
        bits_ += count;
        if (bits_ >= 32) {
            bits_ -= 32;
            if (used_ + 4 > sizeof buffer_) Drain();
            auto word = static_cast<std::uint32_t>(acc_ >> bits_);
            buffer_[used_] = static_cast<char>(word >> 24);
            buffer_[used_ + 1] = static_cast<char>(word >> 16);
            buffer_[used_ + 2] = static_cast<char>(word >> 8);
            buffer_[used_ + 3] = static_cast<char>(word);
            used_ += 4;
        }
    }
    // Writes the whole bytes held and pads the last one with 0 bits.
    void FlushToByte() {
        if (used_ + 4 > sizeof buffer_) Drain();
        while (bits_ >= 8) {
            bits_ -= 8;
            buffer_[used_++] = static_cast<char>(acc_ >> bits_);
        }
        if (bits_ > 0) buffer_[used_++] = static_cast<char>(acc_ << (8 - bits_));
        bits_ = 0;
    }

private:
    void Drain() {
        out_.append(buffer_, used_);
        used_ = 0;
    }

    std::string& out_;
    std::uint64_t acc_ = 0;
    unsigned bits_ = 0;  // bits in acc_ not yet written, always below 32
    std::size_t used_ = 0;
    char buffer_[64];
};

inline unsigned SignificantBits(std::uint32_t v) { return static_cast<unsigned>(std::bit_width(v)); }

[[gnu::always_inline]] inline void PutScaleRoot(BitWriter& bits, std::uint32_t value, unsigned root) {
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
