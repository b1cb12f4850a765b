#include "fts/wlc_coder.h"

#include <bit>

namespace hhc::fts {

void BitWriter::Put(std::uint32_t value, unsigned count) {
    if (count == 0) return;
    if (count < 32) value &= (std::uint32_t{1} << count) - 1;
    acc_ = (acc_ << count) | value;
    bits_ += count;
    while (bits_ >= 8) {
        bits_ -= 8;
        out_.push_back(static_cast<char>((acc_ >> bits_) & 0xFF));
    }
}

void BitWriter::PutOnes(unsigned count) {
    while (count > 0) {
        unsigned n = count > 24 ? 24 : count;
        Put((std::uint32_t{1} << n) - 1, n);
        count -= n;
    }
}

void BitWriter::FlushToByte() {
    if (bits_ > 0) Put(0, 8 - bits_);
}

unsigned SignificantBits(std::uint32_t v) { return static_cast<unsigned>(std::bit_width(v)); }

void PutScaleRoot(BitWriter& bits, std::uint32_t value, unsigned root) {
    unsigned n = SignificantBits(value);
    if (n <= root) {
        bits.Put(0, 1);
        bits.Put(value, root);
        return;
    }
    bits.PutOnes(n - root);
    bits.Put(0, 1);
    bits.Put(value, n - 1);
}

std::uint64_t RootChooser::CostBits(unsigned root) const {
    std::uint64_t total = 0;
    for (unsigned n = 0; n < histogram_.size(); ++n) {
        std::uint64_t each = n <= root ? root + 1 : 2 * n - root;
        total += histogram_[n] * each;
    }
    return total;
}

unsigned RootChooser::Best() const {
    unsigned best = 0;
    std::uint64_t bestCost = CostBits(0);
    for (unsigned r = 1; r <= 32; ++r) {
        std::uint64_t cost = CostBits(r);
        if (cost < bestCost) {
            best = r;
            bestCost = cost;
        }
    }
    return best;
}

}  // namespace hhc::fts
